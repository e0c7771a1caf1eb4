#include "wizard/SubPackagesWizardPage_win.h"

#include "StringIds.h"
#include "launcher/SubPackageSelection.h"
#include "support/Format.h"
#include "wizard/InstallationRemoval_win.h"
#include "wizard/Widgets_win.h"

namespace {

constexpr uint16_t kEnglishLanguageId = 1033;
constexpr int kTitleHeight = 19;
constexpr int kDescriptionHeight = 57;
constexpr int kCheckBoxLeft = 18;
constexpr int kCheckBoxHeight = 19;
constexpr int kTextLeft = 35;
constexpr int kTextRightMargin = 17;
constexpr int kTextHeight = 38;

void SetText(HWND control, const std::wstring& text) {
    if (control)
        SetWindowTextW(control, text.c_str());
}

} // namespace

SubPackagesWizardPage::SubPackagesWizardPage(PageFrame& frame)
    : WizardPageBase(frame, L"IncludedSubPackages") {}

void SubPackagesWizardPage::CreateControls(HWND parent, int width, int) {
    const PackageList& packages = Frame().Packages();
    WizardServicesIF& services = Frame().Services();
    // Every package's check counts towards the packing, the main and companion packages' too.
    std::vector<std::vector<ConflictRecord>> records(packages.size());
    int conflicting = 0;
    for (const PackageInfo& package : packages) {
        services.CheckConflicts(package, records[package.Index()]);
        conflicting += records[package.Index()].empty() ? 0 : 1;
    }

    std::vector<std::wstring> names;
    for (const PackageInfo& package : packages)
        names.push_back(package.ProductName());
    const std::vector<std::optional<bool>> named =
        SelectSubPackages(names, Frame().SubPackagesOption(), [](const std::wstring&) {});

    const std::vector<size_t> offered = SubPackages::OfferedPackages(packages);
    std::vector<SubPackages::RowFacts> facts;
    for (size_t index : offered)
        facts.push_back({services.IsPackageInstalled(packages[index]), !records[index].empty(),
                         named[index].value_or(true)});
    const SubPackages::PagePlan plan = SubPackages::PlanPage(
        Frame().Mode(), Frame().Languages().CurrentLanguageId() == kEnglishLanguageId, conflicting, facts);

    const HFONT medium = Frame().Font(PageFont::Medium);
    const HFONT normal = Frame().Font(PageFont::Normal);
    title_ = MakeChildControl(parent, L"Static", WS_VISIBLE | SS_LEFT | SS_NOPREFIX, -1,
                              {0, plan.titleTop, width, plan.titleTop + kTitleHeight},
                              Frame().Font(PageFont::LargeBold));
    description_ =
        MakeChildControl(parent, L"Static", WS_VISIBLE | SS_LEFT | SS_NOPREFIX, -1,
                         {0, plan.descriptionTop, width, plan.descriptionTop + kDescriptionHeight}, medium);

    SetupChoices& choices = Frame().Choices();
    const int textRight = width - kTextRightMargin;
    for (size_t j = 0; j < plan.rows.size(); ++j) {
        const SubPackages::RowPlan& rowPlan = plan.rows[j];
        Row& row = rows_[j];
        row.package = &packages[offered[j]];
        row.texts = rowPlan.texts;
        row.checkBox = MakeChildControl(
            parent, L"Button", WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX | BS_MULTILINE,
            SubPackages::kFirstCheckBoxId + static_cast<int>(j),
            {kCheckBoxLeft, rowPlan.checkBoxTop, width, rowPlan.checkBoxTop + kCheckBoxHeight}, medium);
        SetText(row.checkBox, row.package->ProductName());
        const RECT textRect{kTextLeft, rowPlan.textTop, textRight, rowPlan.textTop + kTextHeight};
        constexpr DWORD kWrapping = SS_LEFT | SS_EDITCONTROL | SS_NOPREFIX;
        if (rowPlan.texts != SubPackages::RowTexts::None)
            row.notice = MakeChildControl(parent, L"Static", kWrapping, -1, textRect, normal);
        if (rowPlan.texts == SubPackages::RowTexts::AlreadyInstalled) {
            row.replacement = MakeChildControl(parent, L"Static", kWrapping, -1, textRect, normal);
        } else if (rowPlan.texts == SubPackages::RowTexts::Conflict) {
            row.warning = std::make_unique<WarningStaticText>();
            if (row.warning->Create(parent, L"", -1, textRect, normal)) {
                row.replacement = row.warning->Handle();
                ShowWindow(row.replacement, SW_HIDE);
            }
        }
        if (rowPlan.texts != SubPackages::RowTexts::None)
            FillRowTexts(row, records[offered[j]]);
        if (rowPlan.deselect)
            choices.Select(*row.package, false);
        if (rowPlan.disable)
            EnableWindow(row.checkBox, FALSE);
        SendMessageW(row.checkBox, BM_SETCHECK, choices.Selected(*row.package) ? BST_CHECKED : BST_UNCHECKED,
                     0);
    }
    ShowTextsByTicks();
}

void SubPackagesWizardPage::FillRowTexts(Row& row, const std::vector<ConflictRecord>& records) {
    row.installation.reset();
    if (!records.empty())
        row.installation = records.front().installation;
    if (row.texts == SubPackages::RowTexts::AlreadyInstalled) {
        SetText(row.notice, LoadString(StringId::SubPackageAlreadyInstalled));
        SetText(row.replacement, LoadString(StringId::SubPackageAlreadyInstalled));
    } else if (row.texts == SubPackages::RowTexts::Conflict && !records.empty()) {
        SetText(row.notice, records.front().message);
        const std::wstring name = row.installation ? row.installation->DisplayName() : std::wstring();
        SetText(row.replacement, Format(LoadString(StringId::SubPackageWillBeReplaced), name));
    }
}

bool SubPackagesWizardPage::Ticked(const Row& row) const {
    return row.checkBox && SendMessageW(row.checkBox, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void SubPackagesWizardPage::ShowTextsByTicks() {
    for (const Row& row : rows_) {
        if (!row.package || !row.checkBox)
            continue;
        const bool ticked = Ticked(row);
        if (row.notice)
            ShowWindow(row.notice, ticked ? SW_HIDE : SW_SHOW);
        if (row.replacement)
            ShowWindow(row.replacement, ticked ? SW_SHOW : SW_HIDE);
    }
}

void SubPackagesWizardPage::Relayout() {
    SetText(title_, LoadString(StringId::SubPackagesTitle));
    SetText(description_, LoadString(SubPackages::DescriptionStringId(Frame().Mode())));
    // The conflict messages are texts of the current language: they are asked for again.
    for (Row& row : rows_) {
        if (!row.package || row.texts == SubPackages::RowTexts::None)
            continue;
        std::vector<ConflictRecord> records;
        Frame().Services().CheckConflicts(*row.package, records);
        FillRowTexts(row, records);
    }
    ShowTextsByTicks();
}

PageStep SubPackagesWizardPage::Prepare() {
    const bool uninstall = Frame().Mode().IsUninstall();
    for (const Row& row : rows_) {
        if (!row.package || !row.checkBox)
            continue;
        if (uninstall) {
            if (!Frame().Services().IsPackageInstalled(*row.package))
                EnableWindow(row.checkBox, FALSE);
        } else {
            SendMessageW(row.checkBox, BM_SETCHECK,
                         Frame().Choices().Selected(*row.package) ? BST_CHECKED : BST_UNCHECKED, 0);
        }
    }
    if (Frame().IsInteractive()) {
        ShowWindow(Handle(), SW_SHOW);
        if (rows_[0].checkBox)
            SetFocus(rows_[0].checkBox);
    }
    return PageStep::Stay;
}

bool SubPackagesWizardPage::OnCommand(int id, int code) {
    if (id < SubPackages::kFirstCheckBoxId ||
        id >= SubPackages::kFirstCheckBoxId + static_cast<int>(SubPackages::kRowCount) || code != BN_CLICKED)
        return false;
    ShowTextsByTicks();
    return true;
}

void SubPackagesWizardPage::StoreSelection() {
    for (const Row& row : rows_) {
        if (row.package && row.checkBox)
            Frame().Choices().Select(*row.package, Ticked(row));
    }
}

PageStep SubPackagesWizardPage::QueryBack() {
    StoreSelection();
    return PageStep::Back;
}

PageStep SubPackagesWizardPage::QueryNext() {
    StoreSelection();
    std::vector<ProductRecord*> installations;
    for (Row& row : rows_) {
        if (row.package && row.installation && Ticked(row))
            installations.push_back(&*row.installation);
    }
    // A failed removal's result stands: the wizard goes to the finish page, which tells of the interruption.
    return RemoveInstallationsOnNext(Frame(), installations) ? PageStep::Next : PageStep::Cancel;
}
