#include "prerequisites/WebView2WizardPage_win.h"

#include "StringIds.h"
#include "extraction/CabinetExtractor_win.h"
#include "launcher/Workload.h"
#include "prerequisites/CarriedInstaller_win.h"
#include "prerequisites/WebView2LicenceDialog_win.h"
#include "support/FileUtilities_win.h"
#include "support/ICBSString.h"
#include "wizard/ICBSStackLayout.h"
#include "wizard/Widgets_win.h"

#include <knownfolders.h>
#include <shellapi.h>

#include <algorithm>

using namespace WebView2;

namespace {

constexpr int kRadioIndent = 25;
constexpr int kDescriptionId = 1400;
// The worker's progress, and the bar's own notification taken out at once on the user-interface thread.
constexpr UINT kProgressMessage = WM_APP + 42;
constexpr UINT kBarMessage = WM_APP + 43;
// A test bundle's replacement for the maker's download server (an address as text); production launchers
// never carry it.
constexpr wchar_t kTestDownloadServerResource[] = L"WEBVIEW2_DOWNLOAD_SERVER";

class UnpackProgressPoster final : public ICBSCabinetProgressCallbacks {
public:
    explicit UnpackProgressPoster(HWND page) : page_(page) {}
    void ReportPercent(int percent) override {
        PostMessageW(page_, kProgressMessage, static_cast<WPARAM>(UnpackProgress(percent)), 0);
    }
    void ReportBytes(uint32_t) override {}
    int ProgressRange() override { return 100; }
    void FileStarted(const std::wstring&) override {}

private:
    HWND page_;
};

} // namespace

WebView2WizardPage::WebView2WizardPage(PageFrame& frame, RuntimeLoaderIF& loader, std::wstring downloadServer)
    : WizardPageBase(frame, L"WebView2"), loader_(loader), downloadServer_(std::move(downloadServer)),
      statusMessage_(RegisterWindowMessageW(std::wstring(kStatusMessageName).c_str())) {}

WebView2WizardPage::~WebView2WizardPage() {
    cancel_ = true;
    download_.cancel = true;
    if (worker_.joinable())
        worker_.join();
}

void WebView2WizardPage::CreateControls(HWND parent, int, int) {
    const HFONT normal = Frame().Font(PageFont::Normal);
    heading_ =
        root_.AddChild(MakeTextWidget(parent, L"", true, kAlignLeft, Frame().Font(PageFont::LargeBold)));
    requirement_ = root_.AddChild(MakeTextWidget(parent, L"", true, kAlignLeft, normal));
    auto radios = std::make_unique<ICBSVerticalLayout>(5);
    radios->SetLeftMargin(kRadioIndent);
    newest_ = radios->AddChild(
        MakeRadioButtonWidget(parent, L"", true, true, static_cast<int>(Choice::Newest), normal));
    fixed_ = radios->AddChild(
        MakeRadioButtonWidget(parent, L"", true, false, static_cast<int>(Choice::Fixed), normal));
    later_ = radios->AddChild(
        MakeRadioButtonWidget(parent, L"", true, false, static_cast<int>(Choice::Later), normal));
    root_.AddChild(std::move(radios));
    auto panels = std::make_unique<ICBSStackLayout>();
    description_ = static_cast<ICBSTextWithHyperlinksWidget*>(
        panels->AddPage(MakeLinkTextWidget(parent, L"", kDescriptionId, true, kAlignLeft, normal)));
    progress_ =
        static_cast<ICBSProgressWidget*>(panels->AddPage(MakeProgressWidget(parent, kBarMessage, 100)));
    panels_ = root_.AddChild(std::move(panels));
    panels_->SetCurrent(description_);
}

PageStep WebView2WizardPage::Prepare() {
    const bool is64 = Frame().Is64BitSystem();
    PrepareFacts facts;
    facts.state = State();
    facts.is64BitProcessor = is64;
    if (facts.state == PageState::Choosing) {
        cancel_ = false;
        facts.fixedFolderExists = ICBSFileUtilities::IsFolder(std::wstring(FixedRuntimeFolder(is64)));
        if (!facts.fixedFolderExists)
            facts.runtime = runtime_ = FindSystemRuntime(loader_, Frame().WindowsMajor());
    }
    facts.interactive = Frame().IsInteractive();
    facts.quickInstallListEmpty = Frame().Choices().quickInstallList.empty();
    const PrepareDecision decision = DecideOnPrepare(facts);
    switch (decision.action) {
    case PrepareAction::ShowProgress:
        ShowProgress();
        return PageStep::Stay;
    case PrepareAction::PassWithFixedFolder:
        runtimeFolder_ = decision.runtimeFolder;
        decided_ = true;
        SetState(decision.state);
        return PageStep::Next;
    case PrepareAction::PassWithSystemRuntime:
        runtimeFolder_.clear();
        decided_ = true;
        SetState(decision.state);
        return PageStep::Next;
    case PrepareAction::ShowChoices:
        ShowChoices();
        return PageStep::Stay;
    case PrepareAction::PassOn:
        return PageStep::Next;
    case PrepareAction::Nothing:
        break;
    }
    ShowWindow(Handle(), SW_SHOW);
    return PageStep::Stay;
}

void WebView2WizardPage::ShowChoices() {
    const bool fixedOffered = FixedChoiceOffered(Frame().WindowsMajor());
    if (!shownBefore_) {
        shownBefore_ = true;
        SetChecked(newest_, true);
        SetChecked(fixed_, false);
        SetChecked(later_, false);
    }
    if (!fixedOffered)
        SetChecked(fixed_, false);
    for (ICBSRadioButtonWidget* radio : {newest_, fixed_, later_})
        EnableWindow(ControlOf(radio), radio != fixed_ || fixedOffered);
    panels_->SetCurrent(description_);
    Frame().EnableButton(WizardButton::Next, true);
    Frame().EnableButton(WizardButton::Back, true);
    ShowWindow(Handle(), SW_SHOW);
    Relayout();
}

void WebView2WizardPage::ShowProgress() {
    for (ICBSRadioButtonWidget* radio : {newest_, fixed_, later_})
        EnableWindow(ControlOf(radio), FALSE);
    panels_->SetCurrent(progress_);
    progress_->SetPosition(0);
    progress_->PumpProgress();
    Frame().EnableButton(WizardButton::Next, false);
    Frame().EnableButton(WizardButton::Back, false);
    Frame().EnableButton(WizardButton::Cancel, true);
    ShowWindow(Handle(), SW_SHOW);
    Relayout();
}

Choice WebView2WizardPage::Selected() const {
    if (IsChecked(fixed_))
        return Choice::Fixed;
    return IsChecked(later_) ? Choice::Later : Choice::Newest;
}

bool WebView2WizardPage::OnCommand(int id, int code) {
    const std::optional<Choice> choice = ChoiceOfCommand(id);
    if (!choice || code != BN_CLICKED)
        return false;
    Relayout(); // the chosen radio button is ticked already: its texts follow
    return true;
}

bool WebView2WizardPage::OnLinkClicked(int, int, const std::wstring& url) {
    ShellExecuteW(Handle(), L"open", url.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return true;
}

void WebView2WizardPage::Relayout() {
    heading_->SetText(LoadString(StringId::WebViewTitle));
    requirement_->SetText(
        RequirementText(Frame().WindowsMajor(), [this](unsigned id) { return LoadString(id); }));
    newest_->SetText(LoadString(NewestChoiceTextId(runtime_)));
    fixed_->SetText(LoadString(StringId::WebViewInstallFixed));
    later_->SetText(LoadString(StringId::WebViewInstallLater));
    description_->SetText(LoadString(TextsOf(Selected()).descriptionId));
    Frame().SetButtonText(WizardButton::Back, LoadString(kBackCaptionId));
    Frame().SetButtonText(WizardButton::Next, LoadString(TextsOf(Selected()).nextCaptionId));
    RECT client{};
    GetClientRect(Handle(), &client);
    root_.SetGeometry({0, 0, std::max<int>(0, client.right), std::max<int>(0, client.bottom)});
}

void WebView2WizardPage::ShowMessage(unsigned id) {
    MessageBoxW(GetAncestor(Handle(), GA_ROOT), LoadString(id).c_str(), Frame().WizardTitle().c_str(),
                MB_OK | MB_ICONEXCLAMATION);
}

bool WebView2WizardPage::LicenceAccepted() {
    CWebView2EULADlg licence(Frame().Resources());
    return licence.Accepted(GetAncestor(Handle(), GA_ROOT), Frame().Languages().CurrentLanguageId());
}

PageStep WebView2WizardPage::QueryNext() {
    const bool is64 = Frame().Is64BitSystem();
    NextDecision decision = DecideOnNext(State(), Selected());
    switch (decision.action) {
    case NextAction::Proceed:
        return PageStep::Next;
    case NextAction::ProceedTakingFixedFolder:
        if (ICBSFileUtilities::IsFolder(std::wstring(FixedRuntimeFolder(is64)))) {
            runtimeFolder_ = FixedRuntimeFolder(is64);
            decided_ = true;
        }
        return PageStep::Next;
    case NextAction::LicenceThenBootstrapper:
        if (!LicenceAccepted())
            return PageStep::Stay;
        RunBootstrapper();
        decision = AfterBootstrapper(State());
        if (decision.action == NextAction::Proceed)
            return PageStep::Next;
        break;
    case NextAction::LicenceThenDownload:
        if (LicenceAccepted()) {
            SetState(PageState::Downloading32);
            cancel_ = false;
            ShowProgress();
            StartDownload();
        }
        return PageStep::Stay;
    case NextAction::ShowMessageAndReset:
        break;
    }
    if (decision.deleteVersionFolder)
        ICBSFileUtilities::DeleteTree(std::wstring(kVersionFolder));
    ShowMessage(decision.messageId);
    SetState(PageState::Choosing);
    ShowChoices(); // the user may choose again
    return PageStep::Stay;
}

bool WebView2WizardPage::QueryCancel() {
    const CancelDecision decision = DecideOnCancel(State());
    if (decision.stopDownload)
        download_.cancel = true;
    if (decision.waitForWorker) {
        Frame().EnableButton(WizardButton::Cancel, false);
        cancel_ = true;
        return false;
    }
    return WizardPageBase::QueryCancel();
}

void WebView2WizardPage::RunBootstrapper() {
    const std::wstring created = ICBSFileUtilities::CreateUniqueFile(
        ICBSFileUtilities::TempFolder(), std::wstring(kBootstrapperNamePattern), kBootstrapperNameTries);
    SetState(PageState::PreparingBootstrapper);
    std::wstring program = Frame().NamedValue(kEvergreenDownloaderName);
    bool written = !program.empty();
    if (!written && !created.empty()) {
        written = WriteCarriedInstaller(kEvergreenDownloaderName, created);
        program = created;
    }
    std::optional<uint32_t> exitCode;
    if (written) {
        SetState(PageState::BootstrapperWritten);
        exitCode = static_cast<uint32_t>(
            ICBSFileUtilities::Wait(L"\"" + program + L"\"", true, L"", nullptr, INFINITE, true, nullptr));
    }
    if (!created.empty())
        DeleteFileW(created.c_str()); // the launcher's own copy; a workload's file stays
    SetState(StateAfterBootstrapper(written, exitCode));
    if (State() == PageState::SystemRuntime) {
        runtimeFolder_.clear();
        decided_ = true;
    }
}

std::wstring WebView2WizardPage::DownloadServer() const {
    if (!downloadServer_.empty())
        return downloadServer_;
    const std::optional<std::string> replacement = CarriedResourceText(kTestDownloadServerResource);
    if (!replacement)
        return std::wstring(kDownloadServer);
    std::wstring server = ICBSString::FromUtf8(*replacement);
    server.erase(server.find_last_not_of(L" \t\r\n") + 1); // a text file's line end
    return server;
}

void WebView2WizardPage::StartDownload() {
    if (worker_.joinable())
        worker_.join();
    worker_ = std::thread([this] { DownloadAndUnpack(); });
}

void WebView2WizardPage::Post(PageState state) {
    PostMessageW(Handle(), statusMessage_, static_cast<WPARAM>(state), 0);
}

void WebView2WizardPage::DownloadAndUnpack() {
    const bool is64 = Frame().Is64BitSystem();
    SetState(DownloadingState(is64));
    Post(State());
    const std::wstring target = CabinetDownloadPath(ICBSFileUtilities::KnownFolderPath(FOLDERID_Downloads));
    ICBSFileUtilities::EnsureParentFolder(target);
    std::wstring written = target;
    int result = -1;
    Download(
        download_, CabinetUrl(DownloadServer(), is64), target,
        [this](int percent, int) {
            PostMessageW(Handle(), kProgressMessage, static_cast<WPARAM>(DownloadProgress(percent)), 0);
        },
        [&](const std::wstring& path, int outcome) {
            written = path;
            result = outcome;
        });
    const WorkerStep downloaded = AfterDownload(State(), result, cancel_);
    if (downloaded.deleteVersionFolder)
        ICBSFileUtilities::DeleteTree(std::wstring(kVersionFolder));
    SetState(downloaded.state);
    Post(downloaded.state);
    if (!downloaded.unpack)
        return;
    // The cabinet's top folder is the runtime folder: it is unpacked into that folder's parent.
    UnpackProgressPoster poster(Handle());
    CabinetExtractor extractor = CabinetExtractor::FromFile(written, std::wstring(kVersionFolder));
    const bool unpacked = extractor.ExtractAll(&poster) == ExtractionOutcome::Extracted;
    const WorkerStep done = AfterUnpack(State(), unpacked, cancel_);
    if (done.deleteVersionFolder)
        ICBSFileUtilities::DeleteTree(std::wstring(kVersionFolder));
    SetState(done.state);
    Post(done.state);
}

LRESULT WebView2WizardPage::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kProgressMessage) {
        progress_->SetPosition(static_cast<int>(wParam));
        progress_->PumpProgress();
        return 0;
    }
    if (message == statusMessage_ && statusMessage_ != 0) {
        if (StatusMovesOn(static_cast<PageState>(wParam)))
            Frame().PostNext();
        return 0;
    }
    return WizardPageBase::HandleMessage(message, wParam, lParam);
}
