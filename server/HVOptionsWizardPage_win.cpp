#include "server/HVOptionsWizardPage_win.h"

#include "StringIds.h"
#include "server/BackupOptionsRules.h"
#include "server/BackupSource_win.h"
#include "support/FileUtilities_win.h"
#include "wizard/ICBSStackLayout.h"
#include "wizard/Widgets_win.h"

#include <algorithm>

namespace {

constexpr int kSkipBackupId = 1154;
constexpr int kExampleSolutionsId = 1352;
constexpr int kResultsMargin = 20;
constexpr int kResultsSpacing = 10;
constexpr int kExplanationIndent = 16;
// The progress bar's own notification, taken out at once on the user-interface thread.
constexpr UINT kProgressMessage = WM_APP + 41;

std::wstring ServerDataFolder(const std::wstring& commonDataFolder) {
    const std::wstring folder =
        ServerData::InFolder(commonDataFolder, ServerData::kDataFolderUnderCommonData);
    return ServerData::DataFolder(commonDataFolder, !folder.empty() && ICBSFileUtilities::IsFolder(folder));
}

} // namespace

HVOptionsWizardPage::HVOptionsWizardPage(PageFrame& frame)
    : WizardPageBase(frame, L"BackupSettings"),
      dataFolder_(ServerDataFolder(frame.Services().CommonAppDataFolder())),
      descriptionId_(StringId::BackupIntro) {}

void HVOptionsWizardPage::CreateControls(HWND parent, int, int) {
    const HFONT normal = Frame().Font(PageFont::Normal);
    heading_ =
        root_.AddChild(MakeTextWidget(parent, L"", true, kAlignLeft, Frame().Font(PageFont::LargeBold)));
    description_ = root_.AddChild(MakeTextWidget(parent, L"", true, kAlignLeft, normal));

    auto panels = std::make_unique<ICBSStackLayout>();
    auto measuring = std::make_unique<ICBSVerticalLayout>(5);
    status_ = measuring->AddChild(MakeTextWidget(parent, L"", true, kAlignLeft, normal));
    progress_ = measuring->AddChild(MakeProgressWidget(parent, kProgressMessage, 1));

    auto results = std::make_unique<ICBSVerticalLayout>(kResultsSpacing);
    // Indented, without space above and below: the Japanese texts need the page's full height.
    results->SetMargins(kResultsMargin, kResultsMargin, 0, 0);
    auto sizes = std::make_unique<ICBSHorizontalLayout>(kResultsSpacing);
    auto labels = std::make_unique<ICBSVerticalLayout>(5);
    sizeLabel_ = labels->AddChild(MakeTextWidget(parent, L"", false, kAlignLeft, normal));
    freeLabel_ = labels->AddChild(MakeTextWidget(parent, L"", false, kAlignLeft, normal));
    auto values = std::make_unique<ICBSVerticalLayout>(5);
    sizeValue_ = values->AddChild(MakeTextWidget(parent, L"", false, kAlignLeft, normal));
    freeValue_ = values->AddChild(MakeTextWidget(parent, L"", false, kAlignLeft, normal));
    sizes->AddChild(std::move(labels));
    sizes->AddChild(std::move(values));
    results->AddChild(std::move(sizes));
    skipBackup_ = results->AddChild(MakeCheckboxWidget(parent, L"", false, kSkipBackupId, normal));
    resetDatabase_ =
        results->AddChild(MakeCheckboxWidget(parent, L"", false, Backup::kResetDatabaseCommand, normal));
    resetExplanation_ = results->AddChild(MakeTextWidget(parent, L"", true, kAlignLeft, normal));
    resetExplanation_->SetLeftMargin(kExplanationIndent);

    measuringPanel_ = panels->AddPage(std::move(measuring));
    resultsPanel_ = panels->AddPage(std::move(results));
    noPanel_ = panels->AddPage(std::make_unique<ICBSVerticalLayout>(0));
    panels_ = root_.AddChild(std::move(panels));
    // Outside the panels: a machine without a server to back up is offered the example solutions alone.
    exampleSolutions_ = root_.AddChild(MakeCheckboxWidget(parent, L"", false, kExampleSolutionsId, normal));
    ShowExampleSolutions(false);
}

PageStep HVOptionsWizardPage::Prepare() {
    if (Backup::PassesOn(Frame().Mode(), Frame().IsInteractive()))
        return PageStep::Next;
    panels_->SetCurrent(measuringPanel_);
    Relayout();
    if (firstActivation_) {
        firstActivation_ = false;
        const Measured measured = MeasureBackup();
        if (measured == Measured::Quit)
            return PageStep::Stay; // the application is closing
        backupPossible_ = measured == Measured::BackupPossible;
    }
    databaseExists_ =
        !dataFolder_.empty() &&
        ICBSFileUtilities::Exists(ServerData::InFolder(dataFolder_, ServerData::kDatabaseFileName));
    const Backup::PageView view =
        Backup::ViewAfterMeasuring(backupPossible_, databaseExists_, IsChecked(resetDatabase_));
    panels_->SetCurrent(view.panel == Backup::Panel::Results ? resultsPanel_ : noPanel_);
    ShowExampleSolutions(view.exampleSolutionsShown);
    descriptionId_ = view.descriptionId;
    Relayout();
    if (!view.showPage)
        return PageStep::Next;
    Frame().EnableButton(WizardButton::Next, true);
    ShowWindow(Handle(), SW_SHOW);
    return PageStep::Stay;
}

HVOptionsWizardPage::Measured HVOptionsWizardPage::MeasureBackup() {
    settings_ = ServerData::LoadSettings(dataFolder_);
    if (!settings_.configurationFound)
        return Measured::NoBackup;
    Relayout();
    Frame().EnableButton(WizardButton::Cancel, true);
    if (!ServerData::BackupPossible(settings_, ICBSFileUtilities::IsFolder(dataFolder_)))
        return Measured::NoBackup;
    if (Frame().IsInteractive()) {
        ShowWindow(Handle(), SW_SHOW);
        Frame().EnableButton(WizardButton::Next, false);
        SetChecked(skipBackup_, settings_.avoidBackup);
    }

    const auto work = [this] {
        if (CancelRequested())
            return;
        Backup::Measure(
            dataFolder_, settings_.solutionsFolder, WindowsMeasuringSource(),
            [this] { return CancelRequested(); }, [] {}, measurement_);
    };
    WorkerOptions options;
    options.createdLogLine = std::wstring(Backup::kWorkerCreatedLogLine);
    options.waitSliceMs = Backup::kWorkerWaitSliceMs;
    options.afterSlice = [this] {
        Sleep(Backup::kRefreshPauseMs);
        RefreshValues();
    };
    switch (RunWorker(work, options)) {
    case WorkerOutcome::Quit:
        return Measured::Quit;
    case WorkerOutcome::NotStarted:
        work(); // without a thread the measurement runs here, with the window frozen meanwhile
        break;
    case WorkerOutcome::Finished:
        break;
    }
    measurementFinished_ = true;
    RefreshValues();
    status_->SetText(LoadString(Backup::StatusStringId(true)));
    LayOut();
    return Measured::BackupPossible;
}

void HVOptionsWizardPage::RefreshValues() {
    const Backup::ShownValues shown = Backup::ValuesShown(measurement_.BackupBytes(), measurement_.FreeMiB());
    sizeValue_->SetText(shown.backupSize);
    freeValue_->SetText(shown.freeSpace);
    if (shown.skipBackup)
        SetChecked(skipBackup_, true);
    const Backup::ProgressBarState bar =
        Backup::ProgressBar(measurement_.FoldersToVisit(), measurement_.FoldersVisited());
    if (bar.range > 0 && bar.range != progress_->Range())
        progress_->SetBarRange(bar.range);
    progress_->SetPosition(bar.position);
    progress_->PumpProgress();
    LayOut();
}

PageStep HVOptionsWizardPage::QueryNext() {
    Backup::Choices choices;
    choices.skipBackup = IsChecked(skipBackup_);
    choices.resetDatabase = IsChecked(resetDatabase_);
    choices.exampleSolutionsShown = exampleSolutionsShown_;
    choices.exampleSolutions = IsChecked(exampleSolutions_);
    const std::wstring warning = Backup::WarningText(choices, [this](unsigned id) { return LoadString(id); });
    if (!warning.empty() &&
        MessageBoxW(GetAncestor(Handle(), GA_ROOT), warning.c_str(), Frame().WizardTitle().c_str(),
                    MB_OKCANCEL | MB_ICONEXCLAMATION) != IDOK)
        return PageStep::Stay;
    Frame().Choices().backupOptions = Backup::OptionsString(choices);
    return PageStep::Next;
}

bool HVOptionsWizardPage::OnCommand(int id, int code) {
    if (id != Backup::kResetDatabaseCommand || code != BN_CLICKED)
        return false;
    ShowExampleSolutions(Backup::ExampleSolutionsShown(databaseExists_, IsChecked(resetDatabase_)));
    LayOut();
    return true;
}

void HVOptionsWizardPage::Relayout() {
    heading_->SetText(LoadString(StringId::UnpackHeading));
    description_->SetText(LoadString(descriptionId_));
    status_->SetText(LoadString(Backup::StatusStringId(measurementFinished_)));
    sizeLabel_->SetText(LoadString(StringId::BackupSize));
    freeLabel_->SetText(LoadString(StringId::AvailableOnDisk));
    skipBackup_->SetText(LoadString(StringId::SkipBackup));
    resetDatabase_->SetText(LoadString(StringId::ResetDatabase));
    resetExplanation_->SetText(LoadString(StringId::ResetDatabaseHint));
    exampleSolutions_->SetText(LoadString(StringId::InstallExamples));
    LayOut();
}

void HVOptionsWizardPage::LayOut() {
    RECT client{};
    GetClientRect(Handle(), &client);
    root_.SetGeometry({0, 0, std::max<int>(0, client.right), std::max<int>(0, client.bottom)});
}

void HVOptionsWizardPage::ShowExampleSolutions(bool show) {
    exampleSolutionsShown_ = show;
    if (show)
        exampleSolutions_->Show();
    else
        exampleSolutions_->Hide();
}
