#include "wizard/SystemIntegrityWizardPage_win.h"

#include "launcher/SetupLog.h"
#include "support/Format.h"
#include "wizard/ControlWindow_win.h"
#include "wizard/ICBSBoxLayout.h"
#include "wizard/ICBSHorizontalLayout.h"
#include "wizard/SystemIntegrityRules.h"
#include "wizard/Widgets_win.h"
#include "wizard/WizardDialog_win.h"

#include <algorithm>

namespace {

constexpr wchar_t kWarningIconName[] = L"IDB_WARNING_IMAGE";
constexpr wchar_t kErrorIconName[] = L"IDB_ERROR_IMAGE";

constexpr unsigned kStringCannotContinue = 1367;
constexpr unsigned kStringIntro = 1368;
constexpr unsigned kStringRemovalList = 1369;
constexpr unsigned kStringRemovalHint = 1370;
constexpr unsigned kStringTitle = 1371;
constexpr unsigned kStringResourcesMissing = 1378;
constexpr unsigned kStringRemove = 1379;
constexpr unsigned kStringRetry = 1380;
constexpr unsigned kStringNext = 54;
constexpr unsigned kStringBack = 56;

// The removal's result code when the installation's resources were not found.
constexpr int32_t kResultResourcesMissing = 9;

} // namespace

SystemIntegrityWizardPage::SystemIntegrityWizardPage(CWizardDialog& wizard)
    : WizardPageBase(wizard, L"SystemIntegrity") {}

void SystemIntegrityWizardPage::CreateControls(HWND parent, int, int) {
    warningIcon_ = LoadPageIcon(Wizard().Resources(), kWarningIconName);
    errorIcon_ = LoadPageIcon(Wizard().Resources(), kErrorIconName);

    auto header = std::make_unique<ICBSHorizontalLayout>(10);
    icon_ = header->AddChild(MakeImageWidget(parent, warningIcon_.Get()), kAlignLeft, kAlignCentre);
    title_ = header->AddChild(MakeTextWidget(parent, L"", true, kAlignLeft, Wizard().LargeBoldFont()),
                              kAlignLeft, kAlignCentre);

    auto abort = std::make_unique<ICBSVerticalLayout>(5);
    conflictText_ = abort->AddChild(MakeTextWidget(parent, L"", true, kAlignLeft, Wizard().NormalFont()));
    cannotContinueText_ =
        abort->AddChild(MakeTextWidget(parent, L"", true, kAlignLeft, Wizard().NormalFont()));

    auto removal = std::make_unique<ICBSVerticalLayout>(5);
    introText_ = removal->AddChild(MakeTextWidget(parent, L"", true, kAlignLeft, Wizard().NormalFont()));
    listText_ = removal->AddChild(MakeTextWidget(parent, L"", true, kAlignLeft, Wizard().NormalFont()));
    auto hint = MakeTextWidget(parent, L"", true, kAlignLeft, Wizard().NormalFont());
    hintText_ = hint.get();
    removal->AddChild(std::make_unique<ICBSBoxLayout>(std::move(hint), kAlignLeft, kAlignBottom));

    auto panels = std::make_unique<ICBSStackLayout>();
    abortPanel_ = panels->AddPage(std::move(abort));
    removalPanel_ = panels->AddPage(std::move(removal));
    panels_ = panels.get();

    root_.AddChild(std::move(header));
    root_.AddChild(std::move(panels));
}

bool SystemIntegrityWizardPage::ShowsBlockingConflict() const {
    return panels_ && panels_->Current() == abortPanel_;
}

void SystemIntegrityWizardPage::Prepare() {
    WizardHostIF& host = Wizard().Host();
    const auto& packages = host.Packages();
    const size_t mainProducts = packages.empty() ? 0 : packages.front()->Products().size();
    if (!SystemIntegrity::RunsCheck(Wizard().Mode(), mainProducts)) {
        Wizard().GoNext();
        return;
    }

    std::vector<ConflictRecord> records;
    const bool blocking = !packages.empty() && host.CheckConflicts(*packages.front(), records);
    removalList_.clear();
    if (records.empty()) {
        Wizard().GoNext();
        return;
    }
    if (blocking)
        ShowBlocking(records);
    else
        ShowRemovals(records);
}

void SystemIntegrityWizardPage::ShowBlocking(const std::vector<ConflictRecord>& records) {
    const SystemIntegrity::BlockingMessages messages = SystemIntegrity::CollectBlockingMessages(records);
    WriteLog(kLogLevelFailure, L"SIC - Conflicts have been detected. Installation will abort.\r\n");
    WriteLog(kLogLevelFailure, Format(L"VNT (c): %s\r\n", messages.text));
    conflictText_->SetText(
        Format(LoadString(SystemIntegrity::BlockingTextStringId(messages.count)), messages.text));
    cannotContinueText_->SetText(LoadString(kStringCannotContinue));
    panels_->SetCurrent(abortPanel_);
    SetIcon(errorIcon_.Get());
    Wizard().EnableButton(WizardControl::Next, false);
    FocusWizardControl(WizardControl::Cancel);
    if (!Wizard().IsInteractive()) {
        Wizard().CancelWizard();
        return;
    }
    ShowWindow(Handle(), SW_SHOW);
}

void SystemIntegrityWizardPage::ShowRemovals(const std::vector<ConflictRecord>& records) {
    introText_->SetText(Format(LoadString(kStringIntro),
                               records.size() == 1 ? records.front().message : LoadString(kStringTitle)));
    removalList_ = SystemIntegrity::RemovalList(records);
    WriteLog(kLogLevelProgress, L"SIC - Conflicts have been detected. Auto-removal is proposed.\r\n");
    listText_->SetText(Format(LoadString(kStringRemovalList), SystemIntegrity::RemovalNames(removalList_)));
    hintText_->SetText(LoadString(kStringRemovalHint));
    panels_->SetCurrent(removalPanel_);
    // A check that blocked before and no longer does shows the warning again.
    SetIcon(warningIcon_.Get());
    if (Wizard().Host().QuickInstallList().empty())
        ShowWindow(Handle(), SW_SHOW);
    else
        Wizard().GoNext();
}

void SystemIntegrityWizardPage::SetIcon(HICON icon) {
    if (icon_)
        SendMessageW(static_cast<const ControlWindow&>(icon_->Window()).Handle(), STM_SETICON,
                     reinterpret_cast<WPARAM>(icon), 0);
}

void SystemIntegrityWizardPage::Relayout() {
    title_->SetText(LoadString(kStringTitle));
    HWND wizard = Wizard().Handle();
    const bool removing = !removalList_.empty();
    SetDlgItemTextW(wizard, WizardControl::Next, LoadString(removing ? kStringRemove : kStringNext).c_str());
    SetDlgItemTextW(wizard, WizardControl::Back, LoadString(removing ? kStringRetry : kStringBack).c_str());
    RECT client{};
    GetClientRect(Handle(), &client);
    root_.SetGeometry({0, 0, std::max<int>(0, client.right), std::max<int>(0, client.bottom)});
}

void SystemIntegrityWizardPage::EnableWizard(bool enable) {
    Wizard().EnableButton(WizardControl::Next, enable);
    Wizard().EnableButton(WizardControl::Cancel, enable);
    Wizard().EnableButton(WizardControl::Back, enable);
    EnableWindow(Wizard().Handle(), enable);
}

bool SystemIntegrityWizardPage::QueryNext() {
    if (!removalList_.empty()) {
        WizardHostIF& host = Wizard().Host();
        const int32_t level = SystemIntegrity::RemovalUiLevel(host.CommandLine().uiLevel);
        EnableWizard(false);
        for (ProductRecord& installation : removalList_) {
            const std::wstring name = installation.DisplayName();
            WriteLog(kLogLevelProgress, Format(L"SIC - Automatic uninstallation of product %s.\r\n", name));
            const SetupResult removal = host.RemoveInstalledProduct(installation, level);
            if (removal.code == 0)
                continue;
            if (removal.code == kResultResourcesMissing)
                host.ShowErrorMessage(Format(LoadString(kStringResourcesMissing), name));
            host.Result() = removal;
            WriteLog(kLogLevelProgress,
                     Format(L"SIC - Uninstall failed - (%d) %s\r\n", removal.code, host.ResultText(removal)));
            cancellingAfterFailure_ = true;
            Wizard().CancelWizard();
            cancellingAfterFailure_ = false;
            EnableWindow(Wizard().Handle(), TRUE);
            return false;
        }
        EnableWizard(true);
    }
    SetDlgItemTextW(Wizard().Handle(), WizardControl::Next, LoadString(kStringNext).c_str());
    return true;
}

bool SystemIntegrityWizardPage::QueryCancel() {
    // A failed removal has recorded its own result; the cancellation that follows must not replace it.
    if (cancellingAfterFailure_)
        return true;
    return WizardPageBase::QueryCancel();
}
