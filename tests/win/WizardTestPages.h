// Pages and a host for the wizard tests: a text page that shows itself, a finish page, a page whose worker
// runs until it is cancelled, and a host with the setup context (its log kept in memory) and the services.
// The tests drive the wizard from a second thread, so the log and the pages' records are guarded.
#pragma once

#include "FakeUnpacker.h"
#include "MemoryLog.h"

#include "PassingTestPage.h"
#include "launcher/SetupContext.h"
#include "launcher/StringTable_win.h"
#include "support/Format.h"
#include "wizard/WizardDialog_win.h"

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <vector>

// The setup context of a wizard test and the services the pages ask, as the test sets them up.
class TestWizardHost : public WizardServicesIF {
public:
    explicit TestWizardHost(HMODULE strings) : context(log_, ResourceStringSource(strings)) {
        context.languages.SelectByLanguageId(1033);
        context.multiLanguage = true;
        context.mainProductName = L"Halvora Server";
    }

    // The mode from the command line and the main package as the test left them, as the package-list
    // builder decides it; the wizard reads it from its start.
    void DecideMode() {
        context.mode = ModeOf(commandLine);
        context.mode.mainProductInstalled = packages.Main() && packages.Main()->Installed();
    }
    std::wstring WizardTitle() const { return context.WizardTitle(); }

    void ReportResult() override {
        if (!result.NeedsReport())
            return;
        ++reports;
        result.reported = true;
    }
    // The installed products the welcome page asks about, as the test sets them up.
    bool UpgradeRelation(const PackageInfo&, InstalledProducts::UpgradeFacts& facts,
                         std::vector<ProductRecord>& installed) override {
        if (!related)
            return false;
        facts = upgradeFacts;
        installed.push_back(*related);
        return true;
    }
    std::optional<ProductRecord> FindInstalledRecord(const ProductRecord&) override { return related; }
    bool IsVersionInstalled(const ProductRecord& record) override {
        for (const std::wstring& name : installedVersions)
            if (name == record.DisplayName())
                return true;
        return false;
    }
    bool HasCustomInstallFolder(const ProductRecord&) override { return customFolders; }
    // The conflicts the test sets up: a package's own when it has some, otherwise the same for every check.
    bool CheckConflicts(const PackageInfo& package, std::vector<ConflictRecord>& records) override {
        ++checks;
        const auto own = conflictsOf.find(package.ProductName());
        records = own != conflictsOf.end() ? own->second : conflicts;
        return blocking;
    }
    // Removals succeed unless the test names a display name that fails with a result.
    SetupResult RemoveInstalledProduct(ProductRecord& installation, int32_t uiLevel) override {
        std::lock_guard lock(mutex_);
        removed.push_back(installation.DisplayName());
        removalLevels.push_back(uiLevel);
        if (installation.DisplayName() == failingRemoval)
            return failingResult;
        return {};
    }
    std::wstring ResultText(const SetupResult& result) override {
        return Format(L"result %d/%d", result.code, result.installerError);
    }
    void ShowErrorMessage(const std::wstring& text) override {
        std::lock_guard lock(mutex_);
        messages.push_back(text);
    }
    std::vector<std::wstring> Removed() const {
        std::lock_guard lock(mutex_);
        return removed;
    }

    std::vector<std::wstring> Log() const { return log_.Lines(); }
    void ClearLog() { log_.Clear(); }
    // Runs `hook` on the writing thread after every logged line.
    void WhenLogged(std::function<void(const std::wstring&)> hook) { log_.SetHook(std::move(hook)); }
    bool Logged(const std::wstring& line) const {
        for (const std::wstring& entry : Log())
            if (entry == line)
                return true;
        return false;
    }
    int CountLogged(const std::wstring& line) const {
        int count = 0;
        for (const std::wstring& entry : Log())
            count += entry == line;
        return count;
    }

    // The package unpacking, faked over the packages and the choices of the context.
    UnpackerIF& Unpacker() override { return unpacker; }
    // The install sequence is only counted; the tests of the real one run real packages.
    void RunInstallSequence(const InstallSequenceFlags&) override { ++installSequences; }
    std::atomic<int> installSequences{0};

    // The finish page's view of the machine: installed products by name, one application path, a shared
    // folder of the test's choice; programs are only recorded, never started.
    bool IsPackageInstalled(const PackageInfo& package) override {
        return IsListed(installedProducts, package.ProductName());
    }
    std::wstring InstalledApplicationPath(const PackageInfo& package) override {
        return IsListed(installedProducts, package.ProductName()) ? applicationPath : std::wstring();
    }
    std::wstring CommonAppDataFolder() override { return commonAppData; }
    SetupAsyncInstallProcessIF* NonMSIInstaller() override { return nonMsiInstaller; }
    bool StartProgram(const std::wstring& path) override {
        std::lock_guard lock(mutex_);
        started.push_back(path);
        return true;
    }
    bool StartProgramElevated(const std::wstring& path) override {
        std::lock_guard lock(mutex_);
        startedElevated.push_back(path);
        return true;
    }

private:
    MemoryLog log_;
    mutable std::mutex mutex_;

public:
    SetupContext context;
    // Parts of the context the tests set up directly.
    SetupResult& result = context.result;
    CSetupAppCommandLineInfo& commandLine = context.commandLine;
    PackageList& packages = context.packages;
    SetupChoices& choices = context.choices;
    std::vector<ProductRecord>& quickInstallList = context.choices.quickInstallList;

    std::atomic<int> reports{0};
    std::optional<ProductRecord> related; // the installation an upgrade relation finds
    InstalledProducts::UpgradeFacts upgradeFacts;
    std::vector<std::wstring> installedVersions; // display names of installed products
    bool customFolders = false;
    std::vector<ConflictRecord> conflicts;
    std::map<std::wstring, std::vector<ConflictRecord>> conflictsOf; // by product name
    bool blocking = false;
    std::atomic<int> checks{0};
    std::wstring failingRemoval;
    SetupResult failingResult;
    std::vector<std::wstring> removed, messages;
    std::vector<int32_t> removalLevels;
    FakeUnpacker unpacker{packages, choices};
    std::vector<std::wstring> installedProducts; // product names whose product is installed
    std::wstring applicationPath, commonAppData;
    SetupAsyncInstallProcessIF* nonMsiInstaller = nullptr;
    std::vector<std::wstring> started, startedElevated;

private:
    static bool IsListed(const std::vector<std::wstring>& names, const std::wstring& name) {
        for (const std::wstring& entry : names)
            if (entry == name)
                return true;
        return false;
    }
};

// A page with a heading, a wrapped text and a check box, loaded from the string tables on every Relayout.
class TextTestPage : public WizardPageBase {
public:
    TextTestPage(PageFrame& frame, std::wstring name, unsigned headingId, unsigned bodyId, bool languageBox)
        : WizardPageBase(frame, std::move(name)), headingId_(headingId), bodyId_(bodyId),
          languageBox_(languageBox) {}

    static constexpr int kHeadingId = 100;
    static constexpr int kBodyId = 101;
    static constexpr int kCheckId = 102;

    void CreateControls(HWND parent, int width, int) override {
        heading_ = Make(parent, L"Static", SS_LEFT, kHeadingId, 0, width);
        body_ = Make(parent, L"Static", SS_LEFT, kBodyId, 30, width);
        check_ = Make(parent, L"Button", BS_AUTOCHECKBOX | WS_TABSTOP, kCheckId, 100, width);
        SendMessageW(heading_, WM_SETFONT, reinterpret_cast<WPARAM>(Frame().Font(PageFont::LargeBold)), TRUE);
        SendMessageW(body_, WM_SETFONT, reinterpret_cast<WPARAM>(Frame().Font(PageFont::Normal)), TRUE);
        SendMessageW(check_, WM_SETFONT, reinterpret_cast<WPARAM>(Frame().Font(PageFont::Normal)), TRUE);
    }
    PageStep Prepare() override {
        if (languageBox_ && Frame().OffersLanguageChoice())
            Frame().ShowLanguageBox(true);
        ShowWindow(Handle(), SW_SHOW);
        return PageStep::Stay;
    }
    void Relayout() override {
        SetWindowTextW(heading_, (LoadString(headingId_) + L"Halvora Server").c_str());
        SetWindowTextW(body_, LoadString(bodyId_).c_str());
        SetWindowTextW(check_, LoadString(32).c_str());
        const int grown = FitHeightToText(body_);
        MoveControl(check_, 0, grown);
        bodyGrowth += grown;
        ++relayouts; // last: the tests read the texts once they see the count change
    }

    std::atomic<int> relayouts{0};
    int bodyGrowth = 0;

private:
    static HWND Make(HWND parent, const wchar_t* windowClass, DWORD style, int id, int top, int width) {
        return CreateWindowExW(0, windowClass, L"", WS_CHILD | WS_VISIBLE | style, 0, top, width, 20, parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                               nullptr);
    }

    unsigned headingId_, bodyId_;
    bool languageBox_;
    HWND heading_ = nullptr, body_ = nullptr, check_ = nullptr;
};

// The finish page as far as the tests need it: shown, Next reads "Finish", Cancel agrees silently.
class FinishTestPage : public TextTestPage {
public:
    explicit FinishTestPage(PageFrame& frame) : TextTestPage(frame, L"Finish", 28, 33, false) {}
    PageStep Activate() override {
        const PageStep step = WizardPageBase::Activate();
        Frame().EnableButton(WizardButton::Back, false);
        Frame().SetButtonText(WizardButton::Next, LoadString(55));
        return step;
    }
    bool QueryCancel() override { return true; }
};

// Runs a worker that posts progress and then waits until it is cancelled (or a time limit passes).
class WorkerTestPage : public TextTestPage {
public:
    static constexpr UINT kProgressMessage = WM_USER + 1;

    explicit WorkerTestPage(PageFrame& frame) : TextTestPage(frame, L"UnpackMSIFromEXE", 4, 3, false) {}

    PageStep Activate() override {
        WriteLog(3, Format(L"VNT (c): Activating dialog %s\r\n", Name()));
        Frame().EnableButton(WizardButton::Back, false);
        Frame().EnableButton(WizardButton::Next, false);
        Frame().RefreshTexts();
        ShowWindow(Handle(), SW_SHOW);
        WorkerOptions options;
        options.createdLogLine = L"VNT (c): Created TestWorkerThread\r\n";
        options.progressMessage = kProgressMessage;
        options.onProgress = [this](WPARAM position) {
            lastProgress = static_cast<int>(position);
            ++progressCount;
        };
        HWND page = Handle();
        const WorkerOutcome outcome = RunWorker(
            [this, page] {
                for (int position = 1; position <= 5; ++position)
                    PostMessageW(page, kProgressMessage, static_cast<WPARAM>(position), 0);
                for (int waited = 0; !CancelRequested() && waited < 20'000; waited += 10)
                    Sleep(10);
            },
            options);
        if (outcome != WorkerOutcome::Finished)
            return PageStep::Stay;
        EnableAfterWorker();
        return PageStep::Next;
    }
    bool QueryCancel() override {
        const bool agreed = TextTestPage::QueryCancel();
        std::lock_guard lock(mutex_);
        cancelAnswers.push_back(agreed);
        return agreed;
    }
    std::vector<bool> CancelAnswers() {
        std::lock_guard lock(mutex_);
        return cancelAnswers;
    }

    std::atomic<int> progressCount{0};
    std::atomic<int> lastProgress{0};

private:
    std::mutex mutex_;
    std::vector<bool> cancelAnswers;
};
