#include "wizard/SubPackagesRules.h"
#include "StringIds.h"

#include <gtest/gtest.h>

using namespace SubPackages;

namespace {

SetupMode Mode(bool installed, bool uninstall = false, bool repair = false) {
    SetupMode mode;
    mode.mainProductInstalled = installed;
    mode.uninstallRequested = uninstall;
    mode.repairRequested = repair;
    return mode;
}
const SetupMode kFresh = Mode(false), kModify = Mode(true), kRepair = Mode(true, false, true),
                kUninstall = Mode(true, true);

PackageInfo Package(const wchar_t* name, const wchar_t* productId) {
    PackageDescription description;
    description.productName = name;
    description.productId = productId;
    description.version = L"1.0";
    return PackageInfo(description);
}

} // namespace

// Each row: the mode, the row's facts, then what the page shows and does with them.
TEST(SubPackagesRules, RowDecisionsByModeAndFacts) {
    struct Case {
        const char* what;
        SetupMode mode;
        RowFacts facts;
        RowTexts texts;
        bool keepsInstallation, deselect, disable;
    };
    const Case cases[] = {
        {"fresh, nothing in the way", kFresh, {false, false, true}, RowTexts::None, false, false, false},
        {"fresh, installed", kFresh, {true, false, true}, RowTexts::AlreadyInstalled, false, true, true},
        // The installation is kept but never removed: the box cannot be ticked.
        {"fresh, installed and conflicting",
         kFresh,
         {true, true, true},
         RowTexts::AlreadyInstalled,
         true,
         true,
         true},
        {"fresh, conflicting, named", kFresh, {false, true, true}, RowTexts::Conflict, true, false, false},
        {"fresh, conflicting, not named",
         kFresh,
         {false, true, false},
         RowTexts::Conflict,
         true,
         true,
         false},
        {"modify, installed and conflicting",
         kModify,
         {true, true, true},
         RowTexts::None,
         false,
         false,
         false},
        {"modify, conflicting", kModify, {false, true, false}, RowTexts::Conflict, true, true, false},
        {"repair, conflicting", kRepair, {false, true, false}, RowTexts::None, false, false, false},
        {"uninstall, installed", kUninstall, {true, true, false}, RowTexts::None, false, false, false},
    };
    for (const Case& c : cases) {
        const PagePlan plan = PlanPage(c.mode, true, 1, {c.facts});
        ASSERT_EQ(1u, plan.rows.size()) << c.what;
        const RowPlan& row = plan.rows[0];
        EXPECT_EQ(c.texts, row.texts) << c.what;
        EXPECT_EQ(c.keepsInstallation, row.keepsInstallation) << c.what;
        EXPECT_EQ(c.deselect, row.deselect) << c.what;
        EXPECT_EQ(c.disable, row.disable) << c.what;
    }
}

// The rows' tops: the margin by the number of conflicting packages, the step of each kind of row, the
// tighter packing with three or more conflicts, and translated uninstall texts one line lower.
TEST(SubPackagesRules, RowPositions) {
    const RowFacts plain{}, installed{true, false, true}, conflicting{false, true, true};
    struct Case {
        const char* what;
        SetupMode mode;
        bool english;
        int conflicts;
        std::vector<RowFacts> rows;
        int titleTop;
        std::vector<int> checkBoxTops;
    };
    const Case cases[] = {
        {"no conflicts", kFresh, true, 0, {plain, plain}, 20, {96, 117}},
        {"one conflict", kFresh, true, 1, {conflicting, plain}, 10, {86, 139}},
        {"two conflicts", kFresh, true, 2, {conflicting, installed, plain}, 10, {67, 120, 157}},
        {"three conflicts", kFresh, true, 3, {conflicting, installed, plain}, 3, {60, 109, 144}},
        {"uninstall in English", kUninstall, true, 0, {plain}, 20, {96}},
        {"uninstall in German", kUninstall, false, 0, {plain}, 20, {115}},
        {"install in German", kFresh, false, 0, {plain}, 20, {96}},
    };
    for (const Case& c : cases) {
        const PagePlan plan = PlanPage(c.mode, c.english, c.conflicts, c.rows);
        EXPECT_EQ(c.titleTop, plan.titleTop) << c.what;
        EXPECT_EQ(c.titleTop + 24, plan.descriptionTop) << c.what;
        std::vector<int> tops;
        for (const RowPlan& row : plan.rows) {
            tops.push_back(row.checkBoxTop);
            EXPECT_EQ(row.checkBoxTop + 16, row.textTop) << c.what;
        }
        EXPECT_EQ(c.checkBoxTops, tops) << c.what;
    }
    // Never more than five rows.
    EXPECT_EQ(kRowCount, PlanPage(kFresh, true, 0, std::vector<RowFacts>(7)).rows.size());
}

TEST(SubPackagesRules, OfferedPackagesAndDescriptions) {
    PackageList packages;
    packages.Add(Package(L"Quenlis Halvora Server 10.1", L"HV::Z"));
    packages.Add(Package(L"Quenlis Kestrum 3.17", L"KS::Z"));
    packages.Add(Package(L"Quenlis ZorvexXML Server 2024", L"ZV::M"));
    EXPECT_EQ((std::vector<size_t>{2}), OfferedPackages(packages)); // one row with three packages
    for (int i = 0; i < 6; ++i)
        packages.Add(Package(L"Quenlis Pennix Server 2024", L"PN::Z"));
    EXPECT_EQ((std::vector<size_t>{2, 3, 4, 5, 6}), OfferedPackages(packages));

    EXPECT_EQ(StringId::SubPackagesInstall, DescriptionStringId(kFresh));
    EXPECT_EQ(StringId::SubPackagesModify, DescriptionStringId(kModify));
    EXPECT_EQ(StringId::SubPackagesRepair, DescriptionStringId(kRepair));
    EXPECT_EQ(StringId::SubPackagesUninstall, DescriptionStringId(kUninstall));
}
