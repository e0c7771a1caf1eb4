#include "wizard/SubPackagesRules.h"

#include "StringIds.h"

namespace SubPackages {

namespace {

constexpr int kCheckBoxHeight = 16;
constexpr int kRowGap = 5;
// Uninstall texts in the other languages run a line longer: the rows start a line lower.
constexpr int kTranslatedUninstallShift = 19;

int TitleTop(int conflictingPackages) {
    if (conflictingPackages == 0)
        return 20;
    return conflictingPackages <= 2 ? 10 : 3;
}

} // namespace

PagePlan PlanPage(const SetupMode& mode, bool englishUserInterface, int conflictingPackages,
                  const std::vector<RowFacts>& rows) {
    PagePlan plan;
    plan.titleTop = TitleTop(conflictingPackages);
    plan.descriptionTop = plan.titleTop + 24;
    const bool tight = conflictingPackages > 2;
    int y = plan.titleTop + (conflictingPackages > 1 ? 57 : 76);
    if (mode.IsUninstall() && !englishUserInterface)
        y += kTranslatedUninstallShift;

    const bool checksConflicts = mode.IsFreshInstall() || mode.IsModify();
    for (size_t i = 0; i < rows.size() && i < kRowCount; ++i) {
        const RowFacts& facts = rows[i];
        RowPlan row;
        row.checkBoxTop = y;
        y += kCheckBoxHeight;
        row.textTop = y;
        if (checksConflicts) {
            if (facts.installed && mode.IsFreshInstall()) {
                row.texts = RowTexts::AlreadyInstalled;
                row.keepsInstallation = facts.conflicting;
                row.deselect = true;
                row.disable = true;
                y += tight ? 14 : 16;
            } else if (facts.conflicting && !facts.installed) {
                row.texts = RowTexts::Conflict;
                row.keepsInstallation = true;
                row.deselect = !facts.named;
                y += tight ? 28 : 32;
            }
        }
        y += kRowGap;
        plan.rows.push_back(row);
    }
    return plan;
}

unsigned DescriptionStringId(const SetupMode& mode) {
    if (mode.IsRepair())
        return StringId::SubPackagesRepair;
    if (mode.IsUninstall())
        return StringId::SubPackagesUninstall;
    if (mode.IsModify())
        return StringId::SubPackagesModify;
    return StringId::SubPackagesInstall;
}

std::vector<size_t> OfferedPackages(const PackageList& packages) {
    std::vector<size_t> offered;
    for (size_t i = 1; i < packages.size() && offered.size() < kRowCount; ++i) {
        if (!packages[i].IsCompanionServerPackage())
            offered.push_back(i);
    }
    return offered;
}

} // namespace SubPackages
