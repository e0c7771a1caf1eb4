#include "launcher/ProductRecord.h"

#include <gtest/gtest.h>

namespace {

struct RowCase {
    const wchar_t* identifier;
    int key; // -1: no row
    const wchar_t* familyRegistryName;
};

TEST(ProductCatalog, IdentifiersFindTheirRows) {
    const RowCase cases[] = {
        {L"HV::Z", 28, L"HalvoraServer"},
        {L"HV::A", 43, L"HalvoraServer"},
        {L"KS::Z", 32, L"Kestrum"},
        {L"KS::F", 33, L"Kestrum"},
        {L"KS::N", 45, L"Kestrum"}, // version 3.17 below: a real closed-network edition
        {L"ZV::M", 30, L"ZorvexXMLServer"},
        {L"ZV::L", 29, L"ZorvexXMLServer"},
        {L"ZQ::M", 31, L"ZorvexXMLServer"},
        {L"TQ::E", 26, L"TrelmoServer"},
        {L"TQ::P", 27, L"TrelmoServer"},
        {L"TR::A", 41, L"TrelmoServer"},
        {L"GV::A", 42, L"GavrinServer"},
        {L"GV::Z", 24, L"GavrinServer"},
        {L"PN::Z", 34, L"PennixServer"},
        {L"MU::Z", 44, L"MuntacServer"},
        {L"TAX_XBRL::Z", 29, L"ZorvexXMLServer"},
        {L"hv::Z", -1, nullptr}, // codes are compared with letter case
        {L"HV::z", -1, nullptr},
        {L"HV:Z", -1, nullptr}, // no "::"
        {L"HVZ", -1, nullptr},
        {L"", -1, nullptr},
        {L"::", -1, nullptr},
        {L"HV::Z::", -1, nullptr}, // the edition is everything after the first "::"
        {L"XX::Z", -1, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.identifier);
        const ProductRecord record(c.identifier, L"3.17", true);
        if (c.key < 0) {
            EXPECT_EQ(nullptr, record.Row());
            EXPECT_EQ(L"", record.IdentifierText());
            EXPECT_EQ(L"", record.DisplayName());
            EXPECT_FALSE(record.IsServerProduct());
            std::vector<ProductRecord> records;
            EXPECT_FALSE(BuildProductRecords(c.identifier, L"3.17", true, records, 8));
            EXPECT_EQ(1u, records.size());
            continue;
        }
        ASSERT_NE(nullptr, record.Row());
        EXPECT_EQ(c.key, record.Row()->key);
        EXPECT_EQ(c.identifier, record.IdentifierText());
        ASSERT_NE(nullptr, record.Family());
        EXPECT_EQ(c.familyRegistryName, record.Family()->registryName);
        EXPECT_TRUE(record.IsServerProduct());
        EXPECT_FALSE(record.IsDesktopProduct());
    }
}

TEST(ProductCatalog, KeyLookupFindsTheFirstRowAndNoDesktopRows) {
    ASSERT_NE(nullptr, ProductCatalog::FindByKey(29));
    EXPECT_EQ(L"ZV", ProductCatalog::FindByKey(29)->code); // not the taxonomy row that shares the key
    for (int key : {0, 6, 7, 23, 35, 40, 46, 49, 50, 62, 63, -1})
        EXPECT_EQ(nullptr, ProductCatalog::FindByKey(key)) << key;
    for (int index : {0, 13, 21})
        EXPECT_EQ(nullptr, ProductCatalog::FindFamily(index)) << index;
    EXPECT_EQ(7u, ProductCatalog::Families().size());
    EXPECT_EQ(17u, ProductCatalog::Editions().size());
    for (const auto& row : ProductCatalog::Editions())
        EXPECT_NE(nullptr, row.Family()) << row.key;
}

struct VersionCase {
    const wchar_t* identifier;
    const wchar_t* version;
    bool is64Bit;
    std::array<int32_t, 4> numbers;
    const wchar_t* shortText;
    const wchar_t* fullText;
    const wchar_t* installerText;
    const wchar_t* displayName;
};

TEST(ProductRecord, VersionsAndTexts) {
    const VersionCase cases[] = {
        {L"HV::Z",
         L"10.1.0.1",
         true,
         {10, 1, 0, 1},
         L"10.1",
         L"10.1.0.1",
         L"10.1.0.1",
         L"Quenlis Halvora Server 10.1 (x64)"},
        {L"HV::Z",
         L"10.1.0.1",
         false,
         {10, 1, 0, 1},
         L"10.1",
         L"10.1.0.1",
         L"10.1.0.1",
         L"Quenlis Halvora Server 10.1"},
        {L"KS::Z", L"3.17", true, {3, 17, 0, 0}, L"3.17", L"3.17", L"3.17", L"Quenlis Kestrum 3.17 (x64)"},
        {L"KS::Z",
         L"3.17.2",
         false,
         {3, 17, 2, 0},
         L"3.17 sp2",
         L"3.17.2",
         L"3.17.2",
         L"Quenlis Kestrum 3.17 sp2"},
        {L"HV::Z",
         L"10.1.105",
         false,
         {10, 1, 10, 0},
         L"10.1 sp10",
         L"10.1.10",
         L"10.1.10",
         L"Quenlis Halvora Server 10.1 sp10"}, // a long third piece counts by its first two characters
        {L"ZV::M",
         L"2019.3.1",
         false,
         {2019, 3, 1, 0},
         L"2019 rel. 3 sp1",
         L"2019 rel. 3 sp1",
         L"2019.03.01",
         L"Quenlis ZorvexXML Server 2019 rel. 3 sp1"},
        {L"ZV::M",
         L"2024",
         true,
         {2024, 0, 0, 0},
         L"2024",
         L"2024",
         L"2024.00.00",
         L"Quenlis ZorvexXML Server 2024 (x64)"},
        {L"ZQ::M",
         L"2024.1.0.5",
         false,
         {2024, 1, 0, 5},
         L"2024 rel. 1",
         L"2024 rel. 1",
         L"2024.01.00.05",
         L"Quenlis ZorvexXML Server 2024 rel. 1 Development Edition"},
        {L"KS::F",
         L"3.17",
         true,
         {3, 17, 0, 0},
         L"3.17",
         L"3.17",
         L"3.17",
         L"Quenlis Kestrum 3.17 Offline Edition (x64)"},
        {L"HV::Z",
         L"10..3",
         false,
         {10, 0, 3, 0},
         L"10.0 sp3",
         L"10.0.3",
         L"10.0.3",
         L"Quenlis Halvora Server 10.0 sp3"},
        {L"HV::Z",
         L"10.x.1a",
         false,
         {10, 0, 1, 0},
         L"10.0 sp1",
         L"10.0.1",
         L"10.0.1",
         L"Quenlis Halvora Server 10.0 sp1"},
        {L"TAX_XBRL::Z",
         L"2024",
         false,
         {2024, 0, 0, 0},
         L"2024",
         L"2024",
         L"2024.00.00",
         L"XBRL Taxonomies 2024"},
        {L"HV::Z",
         L"99999999999.1",
         false,
         {2147483647, 1, 0, 0},
         L"2147483647.1",
         L"2147483647.1",
         L"2147483647.1",
         L"Quenlis Halvora Server 2147483647.1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::wstring(c.identifier) + L" " + c.version);
        const ProductRecord record(c.identifier, c.version, c.is64Bit);
        EXPECT_EQ(c.numbers, record.Version());
        EXPECT_TRUE(record.HasVersion());
        EXPECT_EQ(c.shortText, record.ShortVersionText());
        EXPECT_EQ(c.fullText, record.FullVersionText());
        EXPECT_EQ(c.installerText, record.InstallerVersionText());
        EXPECT_EQ(c.displayName, record.DisplayName());
    }
}

TEST(ProductRecord, EmptyVersionMeansNone) {
    const ProductRecord none(L"HV::Z", L"", true);
    const ProductRecord some(L"HV::Z", L"10.1", true);
    EXPECT_FALSE(none.HasVersion());
    EXPECT_EQ(-1, none.Major());
    EXPECT_EQ(-1, none.CompareVersion(some));
    EXPECT_EQ(-1, some.CompareVersion(none));
    EXPECT_EQ(-1, none.CompareVersion(none));
    EXPECT_FALSE(none.SameMajor(some));
    EXPECT_TRUE(ProductRecord(L"HV::Z", L".", true).HasVersion()); // two empty pieces read as 0.0
}

TEST(ProductRecord, ClosedNetworkEditionOfOldVersionsIsTheOrdinaryOne) {
    struct Case {
        const wchar_t* identifier;
        const wchar_t* version;
        const wchar_t* identifierText;
        const wchar_t* installerIdentifier;
    };
    const Case cases[] = {
        {L"KS::N", L"3.12", L"KS::Z", L"KS::N"}, {L"KS::N", L"3.13", L"KS::N", L"KS::N"},
        {L"KS::N", L"2.40", L"KS::Z", L"KS::N"}, {L"KS::N", L"4.0", L"KS::N", L"KS::N"},
        {L"KS::Z", L"3.12", L"KS::Z", L"KS::N"}, {L"KS::Z", L"3.17", L"KS::Z", L"KS::Z"},
        {L"KS::N", L"", L"KS::Z", L"KS::N"}, // no version: major -1 is below 3
        {L"KS::F", L"3.12", L"KS::F", L"KS::F"}, {L"HV::Z", L"3.12", L"HV::Z", L"HV::Z"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::wstring(c.identifier) + L" " + c.version);
        const ProductRecord record(c.identifier, c.version, true);
        EXPECT_EQ(c.identifierText, record.IdentifierText());
        EXPECT_EQ(c.installerIdentifier, record.InstallerIdentifierText());
    }
}

TEST(ProductRecord, ComparisonsAndFamilies) {
    struct Case {
        const wchar_t* a;
        const wchar_t* aVersion;
        const wchar_t* b;
        const wchar_t* bVersion;
        int compare;
        bool sameKey;
        bool sameMajor;
    };
    const Case cases[] = {
        {L"HV::Z", L"10.1.0.1", L"HV::Z", L"10.1.0.1", 0, true, true},
        {L"HV::Z", L"10.1.0.1", L"HV::Z", L"10.1.0.2", -1, true, true},
        {L"HV::Z", L"10.1.1", L"HV::Z", L"10.1.0.9", 1, true, true},
        {L"HV::Z", L"10.2", L"HV::Z", L"10.10", -1, true, true}, // numbers, not texts
        {L"HV::Z", L"11", L"HV::Z", L"10.99", 1, true, false},
        {L"HV::Z", L"10.1", L"HV::A", L"10.1", 0, false, true},
        {L"ZV::L", L"2024", L"TAX_XBRL::Z", L"2024", 0, true, true}, // the taxonomy row shares key 29
        {L"HV::Z", L"10.1", L"XX::Z", L"10.1", 0, false, true},
        {L"XX::Z", L"10.1", L"XX::Z", L"10.1", 0, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::wstring(c.a) + L" " + c.aVersion + L" / " + c.b + L" " + c.bVersion);
        const ProductRecord a(c.a, c.aVersion, true);
        const ProductRecord b(c.b, c.bVersion, true);
        EXPECT_EQ(c.compare, a.CompareVersion(b));
        EXPECT_EQ(-c.compare, b.CompareVersion(a));
        EXPECT_EQ(c.sameKey, a.SameFamilyKey(b));
        EXPECT_EQ(c.sameMajor, a.SameMajor(b));
    }
}

TEST(ProductRecord, DottedVersionProducts) {
    for (const wchar_t* identifier : {L"HV::Z", L"HV::A", L"KS::Z", L"KS::F", L"KS::N"})
        EXPECT_TRUE(ProductRecord(identifier, L"1", false).UsesDottedVersion()) << identifier;
    for (const wchar_t* identifier :
         {L"GV::Z", L"TR::Z", L"ZV::M", L"PN::Z", L"MU::Z", L"TAX_XBRL::Z", L"XX::Z"})
        EXPECT_FALSE(ProductRecord(identifier, L"1", false).UsesDottedVersion()) << identifier;
}

TEST(ProductRecord, BuildProductRecordsNeedsRoom) {
    std::vector<ProductRecord> records;
    EXPECT_TRUE(BuildProductRecords(L"HV::Z", L"10.1.0.1", true, records, 8));
    ASSERT_EQ(1u, records.size());
    EXPECT_EQ(L"Quenlis Halvora Server 10.1 (x64)", records[0].DisplayName());
    EXPECT_TRUE(records[0].Is64Bit());
    EXPECT_FALSE(BuildProductRecords(L"HV::Z", L"10.1.0.1", true, records, 0));
    EXPECT_TRUE(records.empty());
}

} // namespace
