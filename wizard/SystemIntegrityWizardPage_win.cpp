#include "wizard/SystemIntegrityWizardPage_win.h"

#include "StringIds.h"
#include "launcher/SetupLog.h"
#include "support/Format.h"
#include "wizard/ControlWindow_win.h"
#include "wizard/ICBSBoxLayout.h"
#include "wizard/ICBSHorizontalLayout.h"
#include "wizard/InstallationRemoval_win.h"
#include "wizard/SystemIntegrityRules.h"
#include "wizard/Widgets_win.h"

#include <algorithm>

namespace {

constexpr wchar_t kWarningIconName[] = L"IDB_WARNING_IMAGE";
constexpr wchar_t kErrorIconName[] = L"IDB_ERROR_IMAGE";

} // namespace

SystemIntegrityWizardPage::SystemIntegrityWizardPage(PageFrame& frame)
    : WizardPageBase(frame, L"SystemIntegrity") {}

void SystemIntegrityWizardPage::CreateControls(HWND parent, int, int) {
    warningIcon_ = LoadPageIcon(Frame().Resources(), kWarningIconName);
    errorIcon_ = LoadPageIcon(Frame().Resources(), kErrorIconName);
    const HFONT normal = Frame().Font(PageFont::Normal);

    auto header = std::make_unique<ICBSHorizontalLayout>(10);
    icon_ = header->AddChild(MakeImageWidget(parent, warningIcon_.Get()), kAlignLeft, kAlignCentre);
    title_ =
        header->AddChild(MakeTextWidget(parent, L"", true, kAlignLeft, Frame().Font(PageFont::LargeBold)),
                         kAlignLeft, kAlignCentre);

    auto abort = std::make_unique<ICBSVerticalLayout>(5);
    conflictText_ = abort->AddChild(MakeTextWidget(parent, L"", true, kAlignLeft, normal));
    cannotContinueText_ = abort->AddChild(MakeTextWidget(parent, L"", true, kAlignLeft, normal));

    auto removal = std::make_unique<ICBSVerticalLayout>(5);
    introText_ = removal->AddChild(MakeTextWidget(parent, L"", true, kAlignLeft, normal));
    listText_ = removal->AddChild(MakeTextWidget(parent, L"", true, kAlignLeft, normal));
    auto hint = MakeTextWidget(parent, L"", true, kAlignLeft, normal);
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

PageStep SystemIntegrityWizardPage::Prepare() {
    const PackageInfo* main = Frame().Packages().Main();
    if (!SystemIntegrity::RunsCheck(Frame().Mode(), main ? main->Products().size() : 0))
        return PageStep::Next;

    std::vector<ConflictRecord> records;
    const bool blocking = main && Frame().Services().CheckConflicts(*main, records);
    removalList_.clear();
    if (records.empty())
        return PageStep::Next;
    return blocking ? ShowBlocking(records) : ShowRemovals(records);
}

PageStep SystemIntegrityWizardPage::ShowBlocking(const std::vector<ConflictRecord>& records) {
    const SystemIntegrity::BlockingMessages messages = SystemIntegrity::CollectBlockingMessages(records);
    WriteLog(kLogLevelFailure, L"SIC - Conflicts have been detected. Installation will abort.\r\n");
    WriteLog(kLogLevelFailure, Format(L"VNT (c): %s\r\n", messages.text));
    conflictText_->SetText(
        Format(LoadString(SystemIntegrity::BlockingTextStringId(messages.count)), messages.text));
    cannotContinueText_->SetText(LoadString(StringId::CannotContinue));
    panels_->SetCurrent(abortPanel_);
    SetIcon(errorIcon_.Get());
    Frame().EnableButton(WizardButton::Next, false);
    Frame().FocusButton(WizardButton::Cancel);
    if (!Frame().IsInteractive())
        return PageStep::Cancel;
    ShowWindow(Handle(), SW_SHOW);
    return PageStep::Stay;
}

PageStep SystemIntegrityWizardPage::ShowRemovals(const std::vector<ConflictRecord>& records) {
    introText_->SetText(
        Format(LoadString(StringId::SystemIntegrityIntro),
               records.size() == 1 ? records.front().message : LoadString(StringId::SystemIntegrityTitle)));
    removalList_ = SystemIntegrity::RemovalList(records);
    WriteLog(kLogLevelProgress, L"SIC - Conflicts have been detected. Auto-removal is proposed.\r\n");
    listText_->SetText(
        Format(LoadString(StringId::RemovalList), SystemIntegrity::RemovalNames(removalList_)));
    hintText_->SetText(LoadString(StringId::RemovalHint));
    panels_->SetCurrent(removalPanel_);
    // A check that blocked before and no longer does shows the warning again.
    SetIcon(warningIcon_.Get());
    if (!Frame().Choices().quickInstallList.empty())
        return PageStep::Next;
    ShowWindow(Handle(), SW_SHOW);
    return PageStep::Stay;
}

void SystemIntegrityWizardPage::SetIcon(HICON icon) {
    if (icon_)
        SendMessageW(static_cast<const ControlWindow&>(icon_->Window()).Handle(), STM_SETICON,
                     reinterpret_cast<WPARAM>(icon), 0);
}

void SystemIntegrityWizardPage::Relayout() {
    title_->SetText(LoadString(StringId::SystemIntegrityTitle));
    const bool removing = !removalList_.empty();
    Frame().SetButtonText(WizardButton::Next, LoadString(removing ? StringId::Remove : StringId::Next));
    Frame().SetButtonText(WizardButton::Back, LoadString(removing ? StringId::Retry : StringId::Back));
    RECT client{};
    GetClientRect(Handle(), &client);
    root_.SetGeometry({0, 0, std::max<int>(0, client.right), std::max<int>(0, client.bottom)});
}

PageStep SystemIntegrityWizardPage::QueryNext() {
    std::vector<ProductRecord*> installations;
    for (ProductRecord& installation : removalList_)
        installations.push_back(&installation);
    // A failed removal's result stands: the wizard goes to the finish page without a "cancelled".
    if (!RemoveInstallationsOnNext(Frame(), installations))
        return PageStep::Cancel;
    Frame().SetButtonText(WizardButton::Next, LoadString(StringId::Next));
    return PageStep::Next;
}
