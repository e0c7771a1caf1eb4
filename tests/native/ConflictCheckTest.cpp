#include "launcher/ConflictCheck.h"

#include <gtest/gtest.h>

#include <map>

namespace {

using Version = std::array<int32_t, 4>;
using Lines = std::vector<std::wstring>;

// Rows the built-in catalog does not carry: desktop products, the suite, integration packages of the
// first desktop product (after their base row, whose key they share) and an add-on.
const ProductEdition kTestRows[] = {
    {1, L"XM", L"E", L"Quenlis XMapper", L"Enterprise Edition", L"XMapper", 1},
    {2, L"XM", L"P", L"Quenlis XMapper", L"Professional Edition", L"XMapper", 1},
    {3, L"XM", L"S", L"Quenlis XMapper", L"Basic Edition", L"XMapper", 1},
    {1, L"XM", L"IntegrationPackage::E,P", L"Quenlis XMapper Integration", L"", L"XMapperIP", 1},
    {1, L"XM", L"IntegrationPackage::E", L"Quenlis XMapper Integration", L"", L"XMapperIP", 1},
    {1, L"XM", L"IntegrationPackage::E,P,S", L"Quenlis XMapper Integration", L"", L"XMapperIP", 1},
    {1, L"XM", L"IntegrationPackage::E,X,P", L"Quenlis XMapper Integration", L"", L"XMapperIP", 1},
    {1, L"XM", L"AddOn_Charts", L"Quenlis XMapper Charts", L"", L"XMapperCharts", 1},
    {8, L"DS", L"E", L"Quenlis Designer", L"Enterprise Edition", L"Designer", 9},
    {9, L"DS", L"P", L"Quenlis Designer", L"Professional Edition", L"Designer", 9},
    {10, L"ZX", L"Z", L"Quenlis Sheet Add-in", L"", L"SheetAddIn", 1},
    {11, L"LF", L"Z", L"Quenlis Layout", L"", L"Layout", 3},
    {12, L"PL", L"E", L"Quenlis Pallodar", L"Enterprise Edition", L"Pallodar", 12},
    {13, L"PL", L"P", L"Quenlis Pallodar", L"Professional Edition", L"Pallodar", 12},
};

class FakeSource : public ConflictSource {
public:
    // Installations by the registry name of their row, as the registry groups families.
    std::map<std::wstring, std::vector<ProductRecord>> installed;
    std::vector<std::wstring> familiesAsked;
    bool mainInstalled = false;

    std::vector<ProductRecord> InstallationsOfFamily(const ProductRecord& record) override {
        if (!record.Row())
            return {};
        familiesAsked.emplace_back(record.Row()->registryName);
        return installed[std::wstring(record.Row()->registryName)];
    }
    std::vector<ProductRecord> InstallationsOfBase(const ProductRecord& record) override {
        const ProductEdition* base = record.Row() ? FindRowByKey(record.Row()->key) : nullptr;
        return base ? installed[std::wstring(base->registryName)] : std::vector<ProductRecord>();
    }
    const ProductEdition* FindRow(std::wstring_view code, std::wstring_view edition) override {
        for (const auto& row : kTestRows) {
            if (row.code == code && row.edition == edition)
                return &row;
        }
        return ProductCatalog::Find(code, edition);
    }
    const ProductEdition* FindRowByKey(int key) override {
        for (const auto& row : kTestRows) {
            if (row.key == key)
                return &row;
        }
        return ProductCatalog::FindByKey(key);
    }
    bool MainPackageInstalled() override { return mainInstalled; }
    std::wstring String(unsigned id) override {
        const std::map<unsigned, std::wstring> texts = {
            {1373, L"[have %s]"}, {1374, L"[suite has %s]"}, {1376, L"[editions must match]"}};
        return texts.contains(id) ? texts.at(id) : L"[unexpected]";
    }

    ProductRecord Record(std::wstring_view id, Version version, bool is64Bit, bool fromSuite = false,
                         std::wstring language = L"en") {
        const size_t split = id.find(L"::");
        const ProductEdition* row = FindRow(id.substr(0, split), id.substr(split + 2));
        EXPECT_NE(nullptr, row);
        return ProductRecord(row, version, is64Bit, std::move(language), fromSuite);
    }
    const ProductRecord& Install(const ProductRecord& record) {
        return installed[std::wstring(record.Row()->registryName)].emplace_back(record);
    }
    const ProductRecord& Install(std::wstring_view id, Version version, bool is64Bit, bool fromSuite = false,
                                 std::wstring language = L"en") {
        return Install(Record(id, version, is64Bit, fromSuite, std::move(language)));
    }
};

constexpr wchar_t kReplace[] = L"This setup will replace parts of your current installation.";

// The check's outcome as lines: "BLOCKS" or "passes", then "remove: " or "keep: ", the message, " @ " and the
// display name of the installation named ("-" for none).
Lines Outcome(FakeSource& source, const std::vector<ProductRecord>& products,
              std::vector<ConflictRecord>* out = nullptr) {
    std::vector<ConflictRecord> records(2, {L"stale", true, std::nullopt}); // the check starts from nothing
    Lines lines{CheckConflicts(products, L"PL::E", source, records) ? L"BLOCKS" : L"passes"};
    for (const auto& r : records) {
        lines.push_back((r.removable ? L"remove: " : L"keep: ") + r.message + L" @ " +
                        (r.installation ? r.installation->DisplayName() : L"-"));
    }
    if (out)
        *out = std::move(records);
    return lines;
}

std::wstring Replace(const std::wstring& name) {
    return L"remove: " + std::wstring(kReplace) + L" @ " + name;
}

TEST(ConflictCheck, RecordsOnAGivenRowMatchThoseFromAnIdentifier) {
    const ProductRecord parsed(L"HV::A", L"10.1.105.2", true, L"de", true);
    const ProductRecord given(ProductCatalog::Find(L"HV", L"A"), parsed.Version(), true, L"de", true);
    EXPECT_EQ((Version{10, 1, 10, 2}), given.Version());
    EXPECT_EQ(parsed.DisplayName(), given.DisplayName());
    EXPECT_EQ(0, parsed.CompareVersion(given));
    EXPECT_TRUE(given.IsFromSuite());
    EXPECT_EQ(L"de", given.Language());
    // The row is taken as given: no identifier rules apply to it.
    EXPECT_EQ(L"KS::N",
              ProductRecord(ProductCatalog::Find(L"KS", L"N"), {3, 12, 0, 0}, false).IdentifierText());
    EXPECT_EQ(L"", ProductRecord(nullptr, {1, 0, 0, 0}, false).DisplayName());
}

TEST(ConflictCheck, NothingToCheckOrNothingInstalledPasses) {
    FakeSource source;
    EXPECT_EQ(Lines{L"passes"}, Outcome(source, {}));
    EXPECT_EQ(Lines{L"passes"}, Outcome(source, {ProductRecord(L"HV::Z", L"10.1", true)}));
    source.Install(ProductRecord(L"HV::Z", L"10.0", true));
    EXPECT_EQ(Lines{L"passes"}, Outcome(source, {ProductRecord(L"XX::Z", L"10.1", true)})); // in no class
}

TEST(ConflictCheck, ServerInstallationsOfAnyVersionAreAllReplaced) {
    FakeSource source;
    source.Install(ProductRecord(L"HV::Z", L"9.0", false));
    source.Install(ProductRecord(L"HV::A", L"10.2", true)); // newer: only the companion server refuses that
    EXPECT_EQ((Lines{L"passes", Replace(L"Quenlis Halvora Server 9.0"),
                     Replace(L"Quenlis Halvora Server 10.2 Advanced Edition (x64)")}),
              Outcome(source, {ProductRecord(L"HV::Z", L"10.1", true)}));
}

TEST(ConflictCheck, CompanionServerBlocksOnlyDowngrades) {
    struct Case {
        const wchar_t* package;
        const wchar_t* packageVersion;
        const wchar_t* installedId;
        const wchar_t* installedVersion;
        bool blocks;
    };
    const Case cases[] = {
        {L"KS::Z", L"3.17", L"KS::Z", L"3.20", true},
        {L"KS::Z", L"3.17", L"KS::Z", L"3.17.0.1", true}, // the fourth number counts
        {L"KS::F", L"3.17", L"KS::F", L"4.0", true},
        {L"KS::Z", L"", L"KS::Z", L"3.16", true}, // a package without version is lower than any
        {L"KS::Z", L"3.17", L"KS::Z", L"3.17", false},
        {L"KS::Z", L"3.17", L"KS::Z", L"3.16", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::wstring(c.package) + L" " + c.packageVersion + L" over " + c.installedVersion);
        FakeSource source;
        const std::wstring name =
            source.Install(ProductRecord(c.installedId, c.installedVersion, false)).DisplayName();
        const Lines expected =
            c.blocks ? Lines{L"BLOCKS",
                             L"keep: Kestrum cannot be downgraded to any previous version. Your currently "
                             L"installed version is " +
                                 name + L". @ " + name}
                     : Lines{L"passes", Replace(name)};
        EXPECT_EQ(expected, Outcome(source, {ProductRecord(c.package, c.packageVersion, false)}));
    }
    FakeSource source;
    source.Install(ProductRecord(L"KS::Z", L"3.20", true));
    EXPECT_EQ(
        L"keep: Kestrum cannot be downgraded to any previous version. Your currently installed version is "
        L"Quenlis Kestrum 3.20 (x64). @ Quenlis Kestrum 3.20 (x64)",
        Outcome(source, {ProductRecord(L"KS::Z", L"3.17", true)}).at(1));
}

TEST(ConflictCheck, DesktopProductRules) {
    struct Case {
        const char* name;
        const wchar_t* product;
        Version productVersion;
        const wchar_t* installed;
        Version installedVersion;
        bool installed64Bit;
        bool installedFromSuite;
        // The one record expected, "%N" standing for the installation's display name; null for none.
        const wchar_t* record;
        bool blocks;
    };
    const wchar_t* const kBothBitnesses = L"keep: [have %N] [editions must match] @ %N";
    const wchar_t* const kDesignerReplace =
        L"remove: This product cannot be installed because you already have %N "
        L"on your system. This setup will replace parts of your current "
        L"installation. @ %N";
    const Case cases[] = {
        {"other bitness and edition",
         L"XM::E",
         {2024},
         L"XM::P",
         {2024, 1},
         false,
         false,
         kBothBitnesses,
         true},
        {"other bitness and edition, suite",
         L"XM::E",
         {2024},
         L"XM::P",
         {2024},
         false,
         true,
         L"keep: [suite has %N] [editions must match] @ %N",
         true},
        {"other bitness, same edition", L"XM::E", {2024}, L"XM::E", {2024, 2}, false, false, nullptr, false},
        {"other major", L"XM::E", {2024}, L"XM::P", {2023}, false, false, nullptr, false},
        {"other major, same bitness", L"XM::E", {2024}, L"XM::E", {2025}, true, false, nullptr, false},
        {"same bitness", L"XM::E", {2024}, L"XM::P", {2024, 3}, true, false, L"remove: %R @ %N", false},
        {"same bitness, suite",
         L"XM::E",
         {2024},
         L"XM::E",
         {2024},
         true,
         true,
         L"keep: This product cannot be installed because you already have following Quenlis Pallodar "
         L"product on "
         L"your system:\n%N. @ %N",
         true},
        {"designer, first three equal",
         L"DS::E",
         {2024, 1, 2},
         L"DS::E",
         {2024, 1, 2, 7},
         false,
         false,
         nullptr,
         false},
        {"designer, third differs",
         L"DS::E",
         {2024, 1, 2},
         L"DS::E",
         {2024, 1, 3},
         false,
         false,
         kDesignerReplace,
         false},
        {"designer, minor differs",
         L"DS::E",
         {2024, 1, 2},
         L"DS::E",
         {2024, 2, 2},
         false,
         false,
         kDesignerReplace,
         false},
        {"designer, other edition",
         L"DS::E",
         {2024, 1, 2},
         L"DS::P",
         {2024, 1, 2},
         false,
         false,
         kBothBitnesses,
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeSource source;
        const std::wstring name =
            source.Install(c.installed, c.installedVersion, c.installed64Bit, c.installedFromSuite)
                .DisplayName();
        Lines expected{c.blocks ? L"BLOCKS" : L"passes"};
        if (c.record) {
            std::wstring line = c.record;
            for (size_t at; (at = line.find(L"%N")) != std::wstring::npos;)
                line.replace(at, 2, name);
            if (const size_t at = line.find(L"%R"); at != std::wstring::npos)
                line.replace(at, 2, kReplace);
            expected.push_back(line);
        }
        EXPECT_EQ(expected, Outcome(source, {source.Record(c.product, c.productVersion, true)}));
    }
}

TEST(ConflictCheck, RecordsFollowTheInstallationsAndOneBlockerBlocks) {
    FakeSource source;
    source.Install(L"XM::E", {2024}, true);
    source.Install(L"XM::P", {2024}, false);
    source.Install(L"XM::S", {2024}, true);
    EXPECT_EQ(
        (Lines{L"BLOCKS", Replace(L"Quenlis XMapper 2024 Enterprise Edition (x64)"),
               L"keep: [have Quenlis XMapper 2024 Professional Edition] [editions must match] @ Quenlis "
               L"XMapper 2024 Professional Edition",
               Replace(L"Quenlis XMapper 2024 Basic Edition (x64)")}),
        Outcome(source, {source.Record(L"XM::E", {2024, 1}, true)}));
}

TEST(ConflictCheck, IntegrationPackageWithoutItsBaseNamesTheRequiredEditions) {
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"IntegrationPackage::E,P", L"64-bit Enterprise or Professional"},
        {L"IntegrationPackage::E", L"64-bit Enterprise"},
        {L"IntegrationPackage::E,P,S", L"64-bit Enterprise, Professional or Basic"},
        {L"IntegrationPackage::E,X,P", L"64-bit Enterprise,  or Professional"}, // X has no name
    };
    for (const auto& [edition, tail] : cases) {
        SCOPED_TRACE(edition);
        FakeSource source;
        EXPECT_EQ(
            (Lines{L"BLOCKS", L"keep: This Integration Package can only be installed after installation of "
                              L"Quenlis XMapper 2024 rel. 1 " +
                                  std::wstring(tail) + L". @ -"}),
            Outcome(source, {source.Record(L"XM::" + std::wstring(edition), {2024, 1}, true)}));
    }
    FakeSource source;
    EXPECT_NE(std::wstring::npos,
              Outcome(source, {source.Record(L"XM::IntegrationPackage::E", {2024}, false)})
                  .at(1)
                  .find(L" 2024 32-bit "));
}

TEST(ConflictCheck, IntegrationPackageNeedsItsBaseAtItsVersionBitnessAndEdition) {
    struct Case {
        const char* name;
        const wchar_t* base;
        Version version;
        bool is64Bit;
        bool present;
    };
    const Case cases[] = {
        {"professional", L"XM::P", {2024, 1}, true, true},
        {"enterprise, other fourth number", L"XM::E", {2024, 1, 0, 3}, true, true},
        {"other bitness", L"XM::E", {2024, 1}, false, false},
        {"other release", L"XM::E", {2024, 2}, true, false},
        {"edition not required", L"XM::S", {2024, 1}, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeSource source;
        source.Install(c.base, c.version, c.is64Bit);
        // Earlier integration packages: only the one of the same major and bitness is replaced.
        source.Install(L"XM::IntegrationPackage::E,P", {2024}, true);
        source.Install(L"XM::IntegrationPackage::E,P", {2024}, false);
        source.Install(L"XM::IntegrationPackage::E,P", {2023}, true);
        const Lines lines = Outcome(source, {source.Record(L"XM::IntegrationPackage::E,P", {2024, 1}, true)});
        if (c.present)
            EXPECT_EQ((Lines{L"passes", Replace(L"Quenlis XMapper Integration 2024 (x64)")}), lines);
        else
            EXPECT_TRUE(lines.size() == 2 && lines[0] == L"BLOCKS" &&
                        lines[1].starts_with(L"keep: This Integration"));
    }
}

TEST(ConflictCheck, AddOnsNeverConflictAndSheetAddInsAreAllReplaced) {
    FakeSource source;
    source.Install(L"XM::AddOn_Charts", {2024}, true);
    source.Install(L"XM::AddOn_Charts", {2024}, false);
    EXPECT_EQ(Lines{L"passes"}, Outcome(source, {source.Record(L"XM::AddOn_Charts", {2024}, true)}));
    EXPECT_TRUE(source.familiesAsked.empty());

    source.Install(L"ZX::Z", {2021}, false);
    source.Install(L"ZX::Z", {2025, 1}, true);
    EXPECT_EQ((Lines{L"passes", Replace(L"Quenlis Sheet Add-in 2021"),
                     Replace(L"Quenlis Sheet Add-in 2025 rel. 1 (x64)")}),
              Outcome(source, {source.Record(L"ZX::Z", {2024}, true)}));
}

// The suite of these tests: three members, 64-bit, version 2024.1.
std::vector<ProductRecord> Suite(FakeSource& source) {
    return {source.Record(L"XM::E", {2024, 1}, true, true), source.Record(L"DS::E", {2024, 1}, true, true),
            source.Record(L"LF::Z", {2024, 1}, true, true)};
}

std::wstring SuiteLine(const std::wstring& name) {
    return L"remove: [have " + name + L"] @ " + name;
}

TEST(ConflictCheck, SuiteSkipsItsOwnInstallationOnlyWhenTheMainPackageIsInstalled) {
    struct Case {
        const char* name;
        bool mainInstalled;
        Version version;
        bool skipped;
    };
    const Case cases[] = {
        {"own installation", true, {2024, 1}, true},
        {"main package not installed", false, {2024, 1}, false},
        {"other fourth number", true, {2024, 1, 0, 1}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeSource source;
        source.mainInstalled = c.mainInstalled;
        source.Install(L"XM::E", c.version, true, true);
        source.Install(L"DS::E", c.version, true, true);
        // Both members stand for one suite installation, which is removed as a whole.
        const ProductRecord suite = source.Record(L"PL::E", c.version, true);
        EXPECT_EQ((c.skipped ? Lines{L"passes"} : Lines{L"passes", SuiteLine(suite.DisplayName())}),
                  Outcome(source, Suite(source)));
    }
}

TEST(ConflictCheck, SuiteInstallationsCollapseIntoOneSuiteRecord) {
    const std::wstring enterprise = L"Quenlis Pallodar 2024 rel. 1 Enterprise Edition (x64)";
    FakeSource source;
    source.Install(L"XM::P", {2024, 1}, true);       // a stand-alone installation first
    source.Install(L"DS::P", {2024, 1}, true, true); // suite "P" member
    source.Install(L"LF::Z", {2024, 1}, true, true); // "LF" members stand for suite "E"
    // The "E" suite replaces the "P" suite record, and with it everything gathered before.
    std::vector<ConflictRecord> records;
    EXPECT_EQ((Lines{L"passes", SuiteLine(enterprise)}), Outcome(source, Suite(source), &records));
    ASSERT_EQ(1u, records.size());
    ASSERT_TRUE(records[0].installation.has_value());
    EXPECT_EQ(L"PL::E", records[0].installation->IdentifierText());
    EXPECT_EQ(L"en", records[0].installation->Language());

    // Another language or version is another suite installation.
    FakeSource languages;
    languages.Install(L"XM::E", {2024, 1}, true, true, L"de");
    languages.Install(L"LF::Z", {2024, 1}, true, true, L"fr");
    EXPECT_EQ((Lines{L"passes", SuiteLine(enterprise)}), Outcome(languages, Suite(languages), &records));
    ASSERT_EQ(1u, records.size());
    ASSERT_TRUE(records[0].installation.has_value());
    EXPECT_EQ(L"fr", records[0].installation->Language());
    FakeSource versions;
    versions.Install(L"XM::E", {2024, 1}, true, true);
    versions.Install(L"LF::Z", {2024, 2}, true, true);
    EXPECT_EQ((Lines{L"passes", SuiteLine(L"Quenlis Pallodar 2024 rel. 2 Enterprise Edition (x64)")}),
              Outcome(versions, Suite(versions)));

    // Once the suite is named, records after it stay.
    FakeSource named;
    named.Install(L"XM::E", {2024, 1}, true, true);
    named.Install(L"DS::P", {2024}, true);
    named.Install(L"LF::Z", {2024, 1}, true, true);
    EXPECT_EQ((Lines{L"passes", SuiteLine(enterprise),
                     Replace(L"Quenlis Designer 2024 Professional Edition (x64)")}),
              Outcome(named, Suite(named)));

    // Stand-alone installations of the same bitness and major are replaced one by one.
    FakeSource standAlone;
    standAlone.Install(L"XM::P", {2024, 3}, true);
    standAlone.Install(L"DS::E", {2023}, true); // other major: left alone
    standAlone.Install(L"LF::Z", {2024}, true);
    EXPECT_EQ((Lines{L"passes", Replace(L"Quenlis XMapper 2024 rel. 3 Professional Edition (x64)"),
                     Replace(L"Quenlis Layout 2024 (x64)")}),
              Outcome(standAlone, Suite(standAlone)));
}

TEST(ConflictCheck, SuiteAgainstTheOtherBitness) {
    // A stand-alone installation of another edition blocks and stays named; the same edition is left alone.
    FakeSource source;
    source.Install(L"XM::E", {2024}, false);
    source.Install(L"XM::P", {2024}, false);
    EXPECT_EQ(
        (Lines{L"BLOCKS", L"keep: [have Quenlis XMapper 2024 Professional Edition] [editions must match] @ "
                          L"Quenlis XMapper 2024 Professional Edition"}),
        Outcome(source, Suite(source)));

    // A suite installation of another edition discards everything and ends the check at once.
    FakeSource suite;
    suite.Install(L"XM::P", {2024}, true);
    suite.Install(L"DS::P", {2024, 5}, false, true);
    suite.Install(L"LF::Z", {2024}, true);
    EXPECT_EQ(
        (Lines{L"BLOCKS",
               L"keep: [have Quenlis Pallodar 2024 rel. 5 Professional Edition] [editions must match] @ -"}),
        Outcome(suite, Suite(suite)));
    EXPECT_EQ((Lines{L"XMapper", L"Designer"}), suite.familiesAsked);
}

TEST(ConflictCheck, SuiteRecordReplacingABlockerStillBlocks) {
    FakeSource source;
    source.Install(L"XM::P", {2024}, false);      // blocks
    source.Install(L"DS::P", {2024}, true, true); // then the suite record replaces it
    EXPECT_EQ((Lines{L"BLOCKS", SuiteLine(L"Quenlis Pallodar 2024 Professional Edition (x64)")}),
              Outcome(source, Suite(source)));
}

} // namespace
