// The server product table: which packages yield which records, each row's defaults, the order of the
// page's list and the link of the main server's two interfaces.
#include "server/ServerConfiguration.h"
#include "ServerFakes.h"
#include "StringIds.h"

#include <gtest/gtest.h>

TEST(ServerConfiguration, PackagesYieldTheirEntriesByCaseSensitiveNameParts) {
    struct Case {
        const wchar_t* productName;
        std::vector<std::wstring> entries;
    };
    const Case cases[] = {
        {L"Quenlis Kestrum 3.17", {L"Kestrum"}},
        {L"Quenlis Halvora Server 10.1 (x64)",
         {L"Halvora Server Admin Interface", L"Halvora Server Client Interface"}},
        {L"Quenlis ZorvexXML Server 2026", {L"ZorvexXML Server"}},
        {L"Quenlis ZorvexXML+XBRL Server 2026", {L"ZorvexXML+XBRL Server"}},
        {L"Quenlis Muntac Server 5", {L"Muntac Server"}},
        {L"Quenlis Muntac Server Client 5", {}},
        {L"Quenlis Client for Muntac Server", {}},
        {L"Quenlis kestrum", {}},
        {L"Quenlis Halvora server", {}},
        {L"Quenlis ZorvexXML 2026", {}},
        {L"Quenlis Gavrin Server 2026", {}},
        {L"", {}},
    };
    for (const Case& c : cases) {
        std::vector<std::wstring> entries;
        for (const ServerEntryOfPackage& entry : ServerEntriesOf(c.productName))
            entries.push_back(entry.entryName);
        EXPECT_EQ(entries, c.entries) << testing::PrintToString(std::wstring(c.productName));
    }
    const auto halvora = ServerEntriesOf(L"Halvora Server");
    ASSERT_EQ(halvora.size(), 2u);
    EXPECT_EQ(halvora[0].labelStringId, StringId::AdminInterface);
    EXPECT_EQ(halvora[1].labelStringId, StringId::ClientInterface);
    EXPECT_EQ(ServerEntriesOf(L"Kestrum").front().labelStringId, 0u);
}

TEST(ServerConfiguration, EachEntryTakesItsRowOfDefaults) {
    struct Case {
        const wchar_t* entry;
        const wchar_t* prefix;
        const wchar_t* servicePrefix;
        const wchar_t* serviceName;
        const wchar_t* displayName;
        int webPort, sslPort, startType;
        bool hasService, sslAvailable, switchHidden;
    };
    const Case cases[] = {
        {L"Kestrum", L"KS", L"KS", L"QuenlisKestrum", L"Quenlis Kestrum 7", 8088, 8090, 2, true, true, false},
        {L"Halvora Server Admin Interface", L"HVSAdmin", L"HVS", L"QuenlisHalvoraServer",
         L"Quenlis Halvora Server", 8085, 8086, 2, true, true, false},
        {L"Halvora Server Client Interface", L"HVSClient", L"HVSClient", L"Halvora Server Client Interface",
         L"Halvora Server Client Interface 7", 8083, 8084, 2, false, true, false},
        {L"ZorvexXML Server", L"ZXML", L"ZXML", L"QuenlisZorvexXMLServer", L"Quenlis ZorvexXML Server 7",
         8087, 463, 3, true, true, false},
        {L"ZorvexXML+XBRL Server", L"ZXBRL", L"ZXBRL", L"QuenlisZorvexXMLXBRLServer",
         L"Quenlis ZorvexXML+XBRL Server 7", 8087, 463, 3, true, true, false},
        {L"Muntac Server", L"MN", L"MN", L"QuenlisMuntacServer", L"Quenlis Muntac Server 7", 29800, 8083, 2,
         true, false, true},
        // Unknown names, and known ones in another case, keep every default.
        {L"Pennix Server", L"", L"", L"Pennix Server", L"Pennix Server 7", 8080, 8083, 2, true, true, false},
        {L"kestrum", L"", L"", L"kestrum", L"kestrum 7", 8080, 8083, 2, true, true, false},
    };
    for (const Case& c : cases) {
        const ServerConfiguration r = MakeServerConfiguration(c.entry, L"7", 4, 9);
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.entry)));
        EXPECT_EQ(r.name, c.entry);
        EXPECT_EQ(r.prefix, c.prefix);
        EXPECT_EQ(r.ServicePrefix(), c.servicePrefix);
        EXPECT_EQ(r.serviceName, c.serviceName);
        EXPECT_EQ(r.serviceDisplayName, c.displayName);
        EXPECT_EQ(r.webPort, c.webPort);
        EXPECT_EQ(r.sslPort, c.sslPort);
        EXPECT_EQ(r.startType, c.startType);
        EXPECT_EQ(r.hasService, c.hasService);
        EXPECT_EQ(r.sslAvailable, c.sslAvailable);
        EXPECT_EQ(r.webSwitchHidden, c.switchHidden);
        EXPECT_EQ(r.package, 4u);
        EXPECT_EQ(r.serviceOwner, 9u);
        // The defaults no row changes.
        EXPECT_EQ(r.accountKind, AccountKind::LocalSystem);
        EXPECT_TRUE(r.userName.empty() && r.password.empty() && r.webHost.empty() && r.sslHost.empty());
        EXPECT_TRUE(r.webEnabled);
        EXPECT_FALSE(r.sslEnabled);
        EXPECT_EQ(r.certificate, L"C:\\path_to\\certificate");
        EXPECT_EQ(r.privateKey, L"C:\\path_to\\PrivateKey");
        EXPECT_EQ(r.certificateChain, L"C:\\path_to\\certificate_chain");
        EXPECT_FALSE(r.certificateSet || r.privateKeySet || r.chainSet);
    }
    EXPECT_EQ(MakeServerConfiguration(L"Kestrum", L"", 0, 0).serviceDisplayName, L"Quenlis Kestrum ");
    EXPECT_EQ(MakeServerConfiguration(L"Kestrum", L"3", 0, 0, L"Label").name, L"Label");
}

TEST(ServerConfiguration, TheListFollowsThePackagesWithTheClientSharingTheAdminService) {
    const PackageList packages = MakePackages({
        {L"Quenlis Kestrum", L"KS::Z", L"3.17"},
        {L"Quenlis Desktop", L"XX::Z", L"1.0"},
        {L"Quenlis Halvora Server (x64)", L"HV::Z", L"10.1.0.1"},
        {L"Quenlis Muntac Server", L"MU::Z", L""},
    });
    FakeServerFacts facts;
    const std::vector<ServerConfiguration> records = BuildServerConfigurations(packages, facts);
    ASSERT_EQ(records.size(), 4u);
    const struct {
        const wchar_t* name;
        const wchar_t* prefix;
        size_t package, owner;
        const wchar_t* displayName;
    } expected[] = {
        {L"Kestrum", L"KS", 0, 0, L"Quenlis Kestrum 3"},
        {L"#1308", L"HVSAdmin", 2, 1, L"Quenlis Halvora Server"},
        {L"#1309", L"HVSClient", 2, 1, L"Halvora Server Client Interface 10"},
        {L"Muntac Server", L"MN", 3, 3, L"Quenlis Muntac Server "},
    };
    for (size_t i = 0; i < records.size(); ++i) {
        EXPECT_EQ(records[i].name, expected[i].name);
        EXPECT_EQ(records[i].prefix, expected[i].prefix);
        EXPECT_EQ(records[i].package, expected[i].package);
        EXPECT_EQ(records[i].serviceOwner, expected[i].owner);
        EXPECT_EQ(records[i].serviceDisplayName, expected[i].displayName);
    }
    EXPECT_TRUE(
        BuildServerConfigurations(MakePackages({{L"Quenlis Desktop", L"XX::Z", L"1"}}), facts).empty());
}
