#include "launcher/InstalledProducts.h"

#include <gtest/gtest.h>

namespace {

using namespace InstalledProducts;

std::wstring HalvoraKey(const std::wstring& suffix) {
    return L"SOFTWARE\\Quenlis\\HalvoraServer\\Installation_v" + suffix + L"\\Setup";
}

TEST(RegistrationKeys, FolderNamesAndKeyPaths) {
    struct Case {
        const wchar_t* id;
        const wchar_t* version;
        bool is64Bit;
        const wchar_t* keyPath;
    };
    const Case cases[] = {
        {L"HV::Z", L"10.1.0.1", true, L"SOFTWARE\\Quenlis\\HalvoraServer\\Installation_v10_x64\\Setup"},
        {L"KS::Z", L"3.17", false, L"SOFTWARE\\Quenlis\\Kestrum\\Installation_v3\\Setup"},
        {L"KS::F", L"3.17", true, L"SOFTWARE\\Quenlis\\KestrumOffline\\Installation_v3_x64\\Setup"},
        {L"ZV::L", L"2024.1", false, L"SOFTWARE\\Quenlis\\ZorvexXML+XBRLServer\\Installation_v2024\\Setup"},
        {L"TQ::E", L"2025", true, L"SOFTWARE\\Quenlis\\TrelmoServerDev\\Installation_v2025_x64\\Setup"},
        // The taxonomy row has no registry name: its full name without the spaces stands in.
        {L"TAX_XBRL::Z", L"2024", false, L"SOFTWARE\\Quenlis\\XBRLTaxonomies\\Installation_v2024\\Setup"},
        {L"HV::Z", L"", true, L""},      // no version
        {L"XX::Z", L"10.1", false, L""}, // not in the catalog
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(c.keyPath, ProductKeyPath(ProductRecord(c.id, c.version, c.is64Bit)));
    }
    EXPECT_EQ(L"SOFTWARE\\Quenlis\\Kestrum", FamilyKeyPath(*ProductRecord(L"KS::N", L"3.17", false).Row()));
    EXPECT_EQ(L"SOFTWARE\\Quenlis\\X\\Installation_v9.3_x64\\Setup", RegistrationKeyPath(L"X", 9, 3, true));
}

TEST(RegistrationKeys, DownwardSearchOrderStopsAtTheLineLowerBound) {
    const auto halvora = SearchedRegistrationKeys(ProductRecord(L"HV::Z", L"10.1", true));
    ASSERT_EQ(8u, halvora.size()); // 10 down to 3
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(HalvoraKey(std::to_wstring(10 - i) + L"_x64"), halvora[i]);

    const auto kestrum = SearchedRegistrationKeys(ProductRecord(L"KS::Z", L"3.17", false));
    EXPECT_EQ((std::vector<std::wstring>{L"SOFTWARE\\Quenlis\\Kestrum\\Installation_v3\\Setup",
                                         L"SOFTWARE\\Quenlis\\Kestrum\\Installation_v2\\Setup",
                                         L"SOFTWARE\\Quenlis\\Kestrum\\Installation_v1\\Setup"}),
              kestrum);

    const auto zorvex = SearchedRegistrationKeys(ProductRecord(L"ZV::M", L"2024.1", false));
    ASSERT_EQ(7u, zorvex.size()); // year-numbered lines go down to 2018
    EXPECT_EQ(L"SOFTWARE\\Quenlis\\ZorvexXMLServer\\Installation_v2018\\Setup", zorvex.back());
    // A line numbered in small releases finds its older release: 5 down to 1.
    const auto muntac = SearchedRegistrationKeys(ProductRecord(L"MU::Z", L"5.0", true));
    ASSERT_EQ(5u, muntac.size());
    EXPECT_EQ(L"SOFTWARE\\Quenlis\\MuntacServer\\Installation_v4_x64\\Setup", muntac[1]);
    EXPECT_EQ(L"SOFTWARE\\Quenlis\\MuntacServer\\Installation_v1_x64\\Setup", muntac.back());

    EXPECT_TRUE(SearchedRegistrationKeys(ProductRecord(L"HV::Z", L"2.0", true)).empty()); // below the bound
    EXPECT_TRUE(SearchedRegistrationKeys(ProductRecord(L"HV::Z", L"", true)).empty());
    EXPECT_TRUE(SearchedRegistrationKeys(ProductRecord(L"XX::Z", L"10", true)).empty());

    // An absurd major from a hand-written file stays a bounded search from the top.
    const auto absurd = SearchedRegistrationKeys(ProductRecord(L"HV::Z", L"999999999.1", true));
    ASSERT_EQ(200u, absurd.size());
    EXPECT_EQ(HalvoraKey(L"999999999_x64"), absurd.front());
}

// A desktop line registered per minor; its row is not carried, so the record holds one made here.
TEST(RegistrationKeys, MinorNumberedLineSearchesEveryMinorOfEachMajor) {
    for (const wchar_t* code : {L"JN", L"jn"}) {
        SCOPED_TRACE(code);
        const ProductEdition row{23, code, L"E", L"Quenlis Minor Tool", L"", L"MinorTool", 3};
        const ProductRecord record(&row, {8, 2, 0, 0}, true);
        EXPECT_EQ(L"SOFTWARE\\Quenlis\\MinorTool\\Installation_v8.2_x64\\Setup", ProductKeyPath(record));
        const auto keys = SearchedRegistrationKeys(record);
        ASSERT_EQ(6u * 11u, keys.size()); // majors 8 down to 3, each with minors 9 to 0 and then alone
        EXPECT_EQ(L"SOFTWARE\\Quenlis\\MinorTool\\Installation_v8.9_x64\\Setup", keys[0]);
        EXPECT_EQ(L"SOFTWARE\\Quenlis\\MinorTool\\Installation_v8.0_x64\\Setup", keys[9]);
        EXPECT_EQ(L"SOFTWARE\\Quenlis\\MinorTool\\Installation_v8_x64\\Setup", keys[10]);
        EXPECT_EQ(L"SOFTWARE\\Quenlis\\MinorTool\\Installation_v7.9_x64\\Setup", keys[11]);
        EXPECT_EQ(L"SOFTWARE\\Quenlis\\MinorTool\\Installation_v3_x64\\Setup", keys.back());
        // Its default folder would carry the minor, but the catalog has no folder for the key.
        EXPECT_EQ(L"", DefaultInstallFolder(record, L"C:\\Program Files"));
    }
}

TEST(InstalledRecords, DownwardSearchFiltersSuiteAndNewerInstallations) {
    const ProductRecord searching(L"HV::Z", L"10.1.0.1", true);
    struct Case {
        const char* name;
        SetupValues values;
        bool found;
        const wchar_t* id;
        int major, minor;
    };
    const Case cases[] = {
        {"older", {L"9.2", L"HV::Z", L"de", 0, L""}, true, L"HV::Z", 9, 2},
        {"same version", {L"10.1.0.1", L"HV::Z", L"", 0, L""}, true, L"HV::Z", 10, 1},
        {"empty ProductId takes the searching one", {L"10.0", L"", L"", 0, L""}, true, L"HV::Z", 10, 0},
        {"other edition registered", {L"10.0", L"HV::A", L"", 0, L""}, true, L"HV::A", 10, 0},
        {"newer", {L"10.2", L"HV::Z", L"", 0, L""}, false, nullptr, 0, 0},
        {"newer fourth number", {L"10.1.0.2", L"HV::Z", L"", 0, L""}, false, nullptr, 0, 0},
        {"empty Version", {L"", L"HV::Z", L"", 0, L""}, false, nullptr, 0, 0},
        {"made by the suite", {L"9.0", L"HV::Z", L"", 1, L""}, false, nullptr, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto found = InstalledRecordFrom(c.values, searching);
        ASSERT_EQ(c.found, found.has_value());
        if (!found)
            continue;
        EXPECT_EQ(c.id, found->IdentifierText());
        EXPECT_EQ(c.major, found->Major());
        EXPECT_EQ(c.minor, found->Minor());
        EXPECT_TRUE(found->Is64Bit()); // the searching record's platform
        EXPECT_EQ(c.values.language, found->Language());
    }
    // A record of the suite finds only what the suite installed.
    const ProductRecord suiteMember(L"HV::Z", L"10.1", true, L"", true);
    EXPECT_TRUE(InstalledRecordFrom({L"9.0", L"HV::Z", L"", 7, L""}, suiteMember).has_value());
    EXPECT_FALSE(InstalledRecordFrom({L"9.0", L"HV::Z", L"", 0, L""}, suiteMember).has_value());
}

TEST(InstalledRecords, VersionMatchingReadsEveryPieceWhole) {
    struct Case {
        const wchar_t* text;
        const wchar_t* recordVersion;
        bool ignoreFourth;
        bool matches;
    };
    const Case cases[] = {
        {L"10.1.0.0", L"10.1.0.7", true, true},
        {L"10.2.0.7", L"10.1.0.7", true, false},
        {L"10.1.0.0", L"10.1.0.7", false, false},
        {L"10.1.0.7", L"10.1.0.7", false, true},
        {L"10.1", L"10.1.0.0", false, true}, // missing pieces are 0
        {L"10.1.1", L"10.1", true, false},
        {L"", L"10.1", true, false},
        {L"abc", L"0", true, true}, // not a number: 0, as the record reads it
        // The record keeps the first two characters of a long third piece; the match reads it whole.
        {L"10.1.105", L"10.1.105", true, false},
        {L"10.1.10", L"10.1.105", true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.matches,
                  VersionMatches(c.text, ProductRecord(L"HV::Z", c.recordVersion, true), c.ignoreFourth));
    }
}

TEST(InstalledRecords, RegistrationOfExactlyTheRecordsVersion) {
    struct Case {
        const wchar_t* id;
        const wchar_t* version;
        SetupValues values;
        bool matches;
    };
    const Case cases[] = {
        {L"HV::Z", L"10.1.0.7", {L"10.1.0.0", L"HV::Z"}, true},
        {L"HV::Z", L"10.1.0.7", {L"10.2.0.7", L"HV::Z"}, false},
        {L"HV::Z", L"10.1.0.7", {L"10.1.0.7", L""}, false}, // an empty ProductId is not filled in here
        {L"HV::Z", L"10.1.0.7", {L"10.1.0.7", L"HV::A"}, false},
        {L"HV::Z", L"10.1.0.7", {L"10.1.0.7", L"hv::Z"}, false}, // letter case counts
        {L"KS::Z", L"3.12", {L"3.12", L"KS::N"}, true},          // old closed-network releases
        {L"KS::Z", L"3.12", {L"3.12", L"KS::Z"}, false},
        {L"KS::Z", L"3.17", {L"3.17", L"KS::Z"}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.id << " " << c.version << " " << c.values.version.size());
        EXPECT_EQ(c.matches, RegistrationMatches(c.values, ProductRecord(c.id, c.version, true)));
    }
}

// Stands in for add-in records, whose catalog rows this launcher does not carry.
struct Entry {
    std::wstring id;
    bool wide;
    std::array<int32_t, 4> version;
    std::wstring IdentifierText() const { return id; }
    bool Is64Bit() const { return wide; }
    const std::array<int32_t, 4>& Version() const { return version; }
    bool operator==(const Entry&) const = default;
};

TEST(InstalledRecords, ThirtyTwoBitTwinsOf64BitAddInsAreDropped) {
    const Entry addIn32{L"ZX::Z", false, {2024, 1, 0, 0}};
    const Entry addIn64{L"ZX::Z", true, {2024, 1, 0, 0}};
    const Entry olderAddIn32{L"ZX::Z", false, {2023, 1, 0, 0}};
    const Entry server32{L"HV::Z", false, {10, 1, 0, 0}};
    const Entry server64{L"HV::Z", true, {10, 1, 0, 0}};
    std::vector<Entry> entries{addIn32, server32, addIn32, olderAddIn32, addIn64, server64};
    RemoveTwinsOf64BitAddIns(entries);
    EXPECT_EQ((std::vector<Entry>{server32, olderAddIn32, addIn64, server64}), entries);

    std::vector<ProductRecord> servers{ProductRecord(L"HV::Z", L"10.1", false),
                                       ProductRecord(L"HV::Z", L"10.1", true)};
    RemoveScannedDuplicates(servers);
    EXPECT_EQ(2u, servers.size());
}

TEST(InstallationFolders, DefaultFolderByCatalogKey) {
    const wchar_t kProgramFiles[] = L"C:\\Program Files (x86)";
    struct Case {
        const wchar_t* id;
        const wchar_t* version;
        bool is64Bit;
        const wchar_t* folder;
    };
    const Case cases[] = {
        {L"HV::Z", L"10.1", true, L"C:\\Program Files\\Quenlis\\HalvoraServer"},
        {L"HV::A", L"10.1", false, L"C:\\Program Files (x86)\\Quenlis\\HalvoraServer"},
        {L"ZV::M", L"2024.1", true, L"C:\\Program Files\\Quenlis\\ZorvexXMLServer2024"},
        {L"ZV::L", L"2024.1", true, L"C:\\Program Files\\Quenlis\\ZorvexXMLXBRLServer2024"},
        {L"ZQ::M", L"2023", false, L"C:\\Program Files (x86)\\Quenlis\\ZorvexXMLServerDev2023"},
        {L"KS::Z", L"3.17", true, L"C:\\Program Files\\Quenlis\\Kestrum"},
        {L"KS::N", L"3.17", true, L"C:\\Program Files\\Quenlis\\Kestrum"},
        {L"KS::F", L"3.17", true, L"C:\\Program Files\\Quenlis\\KestrumOffline"},
        {L"GV::A", L"2025", true, L"C:\\Program Files\\Quenlis\\GavrinServer2025"},
        {L"MU::Z", L"2019.3", false, L"C:\\Program Files (x86)\\Quenlis\\MuntacServer2019"},
        // The development editions map to the desktop tool's keys, whose rows are not carried.
        {L"TQ::E", L"2025", true, L""},
        {L"XX::Z", L"2025", true, L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(c.folder, DefaultInstallFolder(ProductRecord(c.id, c.version, c.is64Bit), kProgramFiles));
    }
    EXPECT_EQ(L"", DefaultInstallFolder(ProductRecord(L"HV::Z", L"10.1", true), L""));
    // A 32-bit system's only folder has nothing to remove.
    EXPECT_EQ(L"C:\\Program Files\\Quenlis\\HalvoraServer",
              DefaultInstallFolder(ProductRecord(L"HV::Z", L"10.1", true), L"C:\\Program Files"));
}

// Every catalog row, so that a row added without its folder shows here.
TEST(InstallationFolders, DefaultFolderOfEveryCatalogRow) {
    struct Case {
        const wchar_t* id;
        const wchar_t* folder; // below "C:\Program Files\Quenlis\", for version 2025.3 in 64 bits
    };
    const Case cases[] = {
        {L"GV::Z", L"GavrinServer2025"},
        {L"GV::A", L"GavrinServer2025"},
        {L"TR::Z", L"TrelmoServer2025"},
        {L"TR::A", L"TrelmoServer2025"},
        {L"TQ::E", nullptr}, // the desktop tool's folder, whose row is not carried
        {L"TQ::P", nullptr},
        {L"HV::Z", L"HalvoraServer"},
        {L"HV::A", L"HalvoraServer"},
        {L"ZV::L", L"ZorvexXMLXBRLServer2025"},
        {L"TAX_XBRL::Z", L"ZorvexXMLXBRLServer2025"}, // shares the key
        {L"ZV::M", L"ZorvexXMLServer2025"},
        {L"ZQ::M", L"ZorvexXMLServerDev2025"},
        {L"KS::Z", L"Kestrum"},
        {L"KS::N", L"Kestrum"},
        {L"KS::F", L"KestrumOffline"},
        {L"PN::Z", L"PennixServer2025"},
        {L"MU::Z", L"MuntacServer2025"},
    };
    ASSERT_EQ(ProductCatalog::Editions().size(), std::size(cases));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        const ProductRecord record(c.id, L"2025.3", true);
        ASSERT_NE(nullptr, record.Row());
        const std::wstring expected =
            c.folder ? std::wstring(L"C:\\Program Files\\Quenlis\\") + c.folder : L"";
        EXPECT_EQ(expected, DefaultInstallFolder(record, L"C:\\Program Files (x86)"));
    }
}

TEST(InstallationFolders, InstalledFolderAndReplacement) {
    const wchar_t kExe[] = L"C:\\Program Files\\Quenlis\\Kestrum\\bin\\Kestrum.exe";
    EXPECT_EQ(L"C:\\Program Files\\Quenlis\\Kestrum", InstalledFolderFrom(kExe, true));
    EXPECT_EQ(L"C:\\Program Files\\Quenlis\\Kestrum\\bin", InstalledFolderFrom(kExe, false));
    EXPECT_EQ(L"", InstalledFolderFrom(L"", true));
    EXPECT_EQ(L"C:\\Program Files\\Quenlis\\Kestrum\\bin\\Kestrum.ocx", ActiveXControlPath(kExe));
    EXPECT_EQ(L"", ActiveXControlPath(L""));

    const ProductRecord package(L"HV::Z", L"10.1", true);
    EXPECT_TRUE(WillReplace(package, ProductRecord(L"HV::Z", L"10.0", true)));
    EXPECT_TRUE(WillReplace(package, ProductRecord(L"HV::Z", L"9.0", true))); // servers replace any major
    EXPECT_FALSE(WillReplace(package, ProductRecord(L"HV::A", L"10.0", true)));
    EXPECT_FALSE(WillReplace(ProductRecord(L"KS::N", L"3.17", true), ProductRecord(L"KS::Z", L"3.12", true)));
    EXPECT_FALSE(ExtendsBaseProduct(*package.Row()));
}

} // namespace
