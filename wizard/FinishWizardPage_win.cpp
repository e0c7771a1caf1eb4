#include "wizard/FinishWizardPage_win.h"

#include "StringIds.h"
#include "support/FileUtilities_win.h"
#include "support/Format.h"
#include "wizard/ControlWindow_win.h"
#include "wizard/ICBSBoxLayout.h"
#include "wizard/ICBSHorizontalLayout.h"
#include "wizard/Widgets_win.h"

#include <algorithm>

namespace {

constexpr int kActionsLeftMargin = 40;
constexpr int kActionsTopMargin = 15;
constexpr int kWorkflowNoteIndent = 16;

} // namespace

FinishWizardPage::FinishWizardPage(PageFrame& frame) : WizardPageBase(frame, L"Finish") {}

void FinishWizardPage::CreateControls(HWND parent, int, int) {
    productIcon_ = LoadPageIcon(Frame().Resources(), kProductIconName);
    const HFONT normal = Frame().Font(PageFont::Normal);

    PageHeader header = MakePageHeader(parent, productIcon_.Get(), 15);
    title_ = header.texts->AddChild(
        MakeTextWidget(parent, L"", true, kAlignLeft, Frame().Font(PageFont::LargeBold)));
    outcome_ = header.texts->AddChild(MakeTextWidget(parent, L"", true, kAlignLeft, normal));
    hint_ = header.texts->AddChild(MakeTextWidget(parent, L"", true, kAlignLeft, normal));

    auto actions = std::make_unique<ICBSVerticalLayout>(5);
    actions->SetMargins(kActionsLeftMargin, 0, kActionsTopMargin, 0);
    actions_ = actions.get();

    auto closing = MakeTextWidget(parent, L"", false, kAlignLeft, normal);
    closing_ = closing.get();

    root_.AddChild(std::move(header.row));
    root_.AddChild(std::move(actions));
    root_.AddChild(std::make_unique<ICBSBoxLayout>(std::move(closing), kAlignLeft, kAlignBottom));
}

PageStep FinishWizardPage::Activate() {
    PageFrame& frame = Frame();
    const PackageList& packages = frame.Packages();
    // A quick install runs without questions up to here; the outcome still waits for the user.
    if (!frame.Choices().quickInstallList.empty() && packages.size() >= 2)
        frame.Choices().quickInstallList.clear();

    std::vector<std::wstring> installedNames;
    for (const PackageInfo& package : packages)
        if (frame.Services().IsPackageInstalled(package))
            installedNames.push_back(package.ProductName());
    offers_ = Finish::OfferedTools(installedNames);
    RebuildActions();
    if (workflowBox_ && !frame.IsInteractive())
        SetTicked(kWorkflowSetupBoxId, false);

    return WizardPageBase::Activate();
}

void FinishWizardPage::RebuildActions() {
    while (actions_ && actions_->ChildCount() > 0)
        actions_->RemoveChild(actions_->ChildAt(actions_->ChildCount() - 1));
    taxonomyBox_ = schemaBox_ = workflowBox_ = nullptr;
    workflowNote_ = nullptr;
    if (!actions_)
        return;

    HWND page = Handle();
    const HFONT normal = Frame().Font(PageFont::Normal);
    if (offers_.taxonomyTool)
        taxonomyBox_ = actions_->AddChild(MakeCheckboxWidget(page, L"", false, kTaxonomyToolBoxId, normal),
                                          kAlignLeft, kAlignCentre);
    if (offers_.schemaTool)
        schemaBox_ = actions_->AddChild(MakeCheckboxWidget(page, L"", false, kSchemaToolBoxId, normal),
                                        kAlignLeft, kAlignCentre);
    if (offers_.workflowSetup) {
        workflowBox_ = actions_->AddChild(MakeCheckboxWidget(page, L"", false, kWorkflowSetupBoxId, normal),
                                          kAlignLeft, kAlignCentre);
        // The workflow server cannot run before its setup has been through: offered means suggested.
        if (workflowBox_)
            SetTicked(kWorkflowSetupBoxId, true);
        auto note = MakeTextWidget(page, L"", true, kAlignLeft, normal);
        if (note)
            note->SetLeftMargin(kWorkflowNoteIndent);
        workflowNote_ = actions_->AddChild(std::move(note), kAlignLeft, kAlignCentre);
    }
    // Nothing shows before Relayout has decided whether the run earned the offers.
    actions_->Hide();
    // New controls come last in tab and reading order; the closing text belongs after them.
    if (const auto* closing = closing_ ? dynamic_cast<const ControlWindow*>(&closing_->Window()) : nullptr)
        SetWindowPos(closing->Handle(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

PageStep FinishWizardPage::Prepare() {
    Frame().EnableButton(WizardButton::Back, false);
    Frame().FocusButton(WizardButton::Next);
    ShowWindow(Handle(), SW_SHOW);
    return PageStep::Stay;
}

bool FinishWizardPage::ToolBoxesShown() const {
    return Finish::ShowsToolBoxes(Frame().Mode(), Frame().Result().code == 0);
}

void FinishWizardPage::Relayout() {
    Frame().SetButtonText(WizardButton::Next, LoadString(StringId::Finish));
    Frame().EnableButton(WizardButton::Cancel, false);
    Frame().FocusButton(WizardButton::Next);

    const bool success = Frame().Result().code == 0;
    if (ToolBoxesShown()) {
        const auto show = [](ICBSTextBasedWidget* widget, const std::wstring& text) {
            if (!widget)
                return;
            widget->SetText(text);
            widget->Show();
        };
        show(taxonomyBox_, LoadString(StringId::TaxonomyTool));
        show(schemaBox_, LoadString(StringId::SchemaTool));
        show(workflowBox_, LoadString(StringId::WorkflowSetup));
        show(workflowNote_, LoadString(StringId::WorkflowNote));
    } else if (actions_) {
        actions_->Hide();
    }

    const PackageInfo* main = Frame().Packages().Main();
    const std::wstring productName = main ? main->ProductName() : std::wstring();
    const Finish::OutcomeStrings strings = Finish::OutcomeStringIds(Frame().Mode(), success);
    title_->SetText(LoadString(strings.title));
    outcome_->SetText(Format(LoadString(strings.outcome), productName));
    hint_->SetText(strings.hint ? LoadString(strings.hint) : std::wstring());
    closing_->SetText(LoadString(StringId::Closing));

    RECT client{};
    GetClientRect(Handle(), &client);
    root_.SetGeometry({0, 0, std::max<int>(0, client.right), std::max<int>(0, client.bottom)});
    InvalidateRect(Handle(), nullptr, TRUE);
}

bool FinishWizardPage::IsTicked(int boxId) const {
    return IsDlgButtonChecked(Handle(), boxId) == BST_CHECKED;
}

void FinishWizardPage::SetTicked(int boxId, bool ticked) const {
    CheckDlgButton(Handle(), boxId, ticked ? BST_CHECKED : BST_UNCHECKED);
}

PageStep FinishWizardPage::QueryNext() {
    // A box the user never saw (a failed run, an uninstall) keeps its first tick but starts nothing.
    if (ToolBoxesShown()) {
        if (taxonomyBox_ && IsTicked(kTaxonomyToolBoxId))
            StartSharedTool(Finish::kTaxonomyToolFile);
        if (schemaBox_ && IsTicked(kSchemaToolBoxId))
            StartSharedTool(Finish::kSchemaToolFile);
        if (workflowBox_ && IsTicked(kWorkflowSetupBoxId))
            StartWorkflowSetup();
    }
    return PageStep::Next;
}

void FinishWizardPage::StartSharedTool(const wchar_t* fileName) {
    const std::wstring path = Finish::SharedToolPath(Frame().Services().CommonAppDataFolder(), fileName);
    if (!path.empty() && ICBSFileUtilities::Exists(path))
        Frame().Services().StartProgram(path);
}

void FinishWizardPage::StartWorkflowSetup() {
    const PackageInfo* main = Frame().Packages().Main();
    if (!main)
        return;
    WizardServicesIF& services = Frame().Services();
    const std::wstring path = Finish::WorkflowSetupPath(services.InstalledApplicationPath(*main));
    if (!path.empty() && ICBSFileUtilities::Exists(path))
        services.StartProgramElevated(path);
}
