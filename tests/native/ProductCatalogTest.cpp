// The product-line facts the catalog holds for rules elsewhere: the tools the editions offer, agreement
// between rows the rules cannot tell apart, and the lines rules single out.
#include "launcher/ProductCatalog.h"
#include "launcher/PackageInfo.h"

#include <gtest/gtest.h>

#include <set>

namespace {

using namespace ProductCatalog;

static_assert(ProductId(L"HV").View() == L"HV::");
static_assert(ProductId(L"LF", L"Z").View() == L"LF::Z");

TEST(ProductCatalog, FollowUpToolsByNameWithoutTheMaker) {
    using Names = std::set<std::wstring_view>;
    const std::pair<FollowUpTool, Names> cases[] = {
        {kTaxonomyTool, {L"Trelmo Server", L"Pennix Server", L"ZorvexXML+XBRL Server"}},
        {kSchemaTool, {L"Pennix Server", L"ZorvexXML Server", L"ZorvexXML+XBRL Server"}},
        {kWorkflowSetupTool, {L"Gavrin Server"}},
    };
    for (const auto& [tool, expected] : cases) {
        const auto names = NamesOffering(tool);
        EXPECT_EQ(expected, Names(names.begin(), names.end())) << tool;
        EXPECT_EQ(expected.size(), names.size()) << tool; // each once
    }
}

// The name-based rules see products, not rows: editions sold under one name must agree, and so must the
// rows of one key, of which folder lookups see only the first.
TEST(ProductCatalog, RowsOfOneNameOrKeyAgree) {
    for (const auto& a : Editions()) {
        for (const auto& b : Editions()) {
            if (a.fullName == b.fullName) {
                EXPECT_EQ(a.serverInterfaces, b.serverInterfaces) << a.key << " " << b.key;
                EXPECT_EQ(a.followUpTools, b.followUpTools) << a.key << " " << b.key;
            }
            if (a.key == b.key) {
                EXPECT_EQ(a.installFolder.name, b.installFolder.name) << a.key;
                EXPECT_EQ(a.installFolder.carriesMajor, b.installFolder.carriesMajor) << a.key;
            }
        }
    }
}

// Rules recognise these lines by identifier or name text; the rows must say the same.
TEST(ProductCatalog, TheLinesRulesSingleOut) {
    for (const auto& row : Editions()) {
        EXPECT_EQ(row.familyIndex == kMainServerFamily, row.code == kMainServerCode) << row.key;
        EXPECT_EQ(row.familyIndex == kCompanionServerFamily, row.code == kCompanionServerCode) << row.key;
    }
    ASSERT_NE(nullptr, FindFamily(kMainServerFamily));
    EXPECT_EQ(L"Halvora Server", FindFamily(kMainServerFamily)->displayName);
    const ProductEdition* advanced = FindByKey(kWorkflowServerAdvancedKey);
    ASSERT_NE(nullptr, advanced);
    EXPECT_EQ(L"Gavrin Server", advanced->Family()->displayName);
    EXPECT_EQ(L"Advanced Edition", advanced->editionName);
    // The desktop lines are named but not carried.
    EXPECT_EQ(nullptr, FindFamily(kDesignerFamily));
    EXPECT_EQ(nullptr, Find(kSuiteCode, kSuiteMemberEdition));
    EXPECT_EQ(nullptr, Find(kSuiteMemberCode, kSuiteMemberRegisteredStandard));
}

TEST(PackageInfo, CompanionPackagesByIdentifier) {
    struct Case {
        const wchar_t* productId;
        bool companion, offline;
    };
    const Case cases[] = {
        {L"KS::Z", true, false},  {L"KS::F", true, true},   {L"KS::N", true, false},
        {L"HV::Z", false, false}, {L"ks::F", false, false}, {L"XX::Z", false, false},
    };
    for (const auto& c : cases) {
        PackageDescription description;
        description.productId = c.productId;
        description.version = L"3.17";
        const PackageInfo package(description);
        EXPECT_EQ(c.companion, package.IsCompanionServerPackage()) << c.productId;
        EXPECT_EQ(c.offline, package.IsCompanionOfflinePackage()) << c.productId;
    }
}

} // namespace
