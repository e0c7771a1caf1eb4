// The service configuration page's rules: command-line properties applied to the records, the first
// preparation, the summaries with their bold pieces, the check before Next and the dialogs' OK.
#include "server/ServiceConfigurationRules.h"
#include "ServerFakes.h"
#include "StringIds.h"

#include <gtest/gtest.h>

namespace {

// Admin, client, companion, ZorvexXML and Muntac records, each on its own package.
std::vector<ServerConfiguration> AllRecords() {
    std::vector<ServerConfiguration> records;
    const wchar_t* entries[] = {L"Halvora Server Admin Interface", L"Halvora Server Client Interface",
                                L"Kestrum", L"ZorvexXML Server", L"Muntac Server"};
    for (const wchar_t* entry : entries)
        records.push_back(MakeServerConfiguration(entry, L"1", records.size(), records.size()));
    LinkInterfaces(records);
    return records;
}

enum { Admin, Client, Companion, Zorvex, Muntac };

const PackageSelected kAll = [](size_t) { return true; };

std::wstring Plain(const Summary& summary) {
    return SummaryText(summary, [](unsigned id) { return L"<" + std::to_wstring(id) + L">"; });
}

std::wstring Bold(const Summary& summary) {
    std::wstring text;
    for (const SummaryPiece& piece : summary)
        text +=
            piece.bold ? (piece.stringId ? L"<" + std::to_wstring(piece.stringId) + L">" : piece.text) : L"";
    return text;
}

} // namespace

TEST(ServiceConfigurationRules, PropertiesReachTheRecordsTheyName) {
    struct Case {
        const wchar_t* property;
        int record;
        std::function<bool(const ServerConfiguration&)> check;
    };
    const Case cases[] = {
        {L"HVS_Service_StartType=demand", Admin, [](auto& r) { return r.startType == 3; }},
        {L"HVSAdmin_Service_StartType=demand", Admin, [](auto& r) { return r.startType == 2; }},
        {L"HVSAdmin_WebServer_Port=9085", Admin, [](auto& r) { return r.webPort == 9085; }},
        {L"HVS_WebServer_Port=9085", Admin, [](auto& r) { return r.webPort == 8085; }},
        {L"HVSClient_Service_StartType=disabled", Client, [](auto& r) { return r.startType == 4; }},
        {L"ZXML_WebServer_Host=\"0.0.0.0\"", Zorvex, [](auto& r) { return r.webHost == L"0.0.0.0"; }},
        {L"ZXML_WebServer_Host= \t\"a b\" ", Zorvex, [](auto& r) { return r.webHost == L"a b"; }},
        {L"ZXML_WebServer_Host=\"", Zorvex, [](auto& r) { return r.webHost == L"\""; }},
        {L"KS_Service_Username=NT AUTHORITY\\LocalService", Companion,
         [](auto& r) { return r.accountKind == 1 && r.userName.empty(); }},
        {L"KS_Service_Username=nt authority\\localservice", Companion,
         [](auto& r) { return r.accountKind == 3 && r.userName == L"nt authority\\localservice"; }},
        {L"KS_Service_Username=\"NT AUTHORITY\\NetworkService\"", Companion,
         [](auto& r) { return r.accountKind == 2; }},
        {L"ks_service_username=LocalSystem", Companion, [](auto& r) { return r.accountKind == 0; }},
        {L"KS_Service_StartType=Auto-Delayed", Companion, [](auto& r) { return r.startType == 5; }},
        {L"KS_Service_StartType=sometimes", Companion, [](auto& r) { return r.startType == 2; }},
        {L"KS_SERVICE_DISPLAYNAME=\"My Server\"", Companion,
         [](auto& r) { return r.serviceDisplayName == L"My Server"; }},
        {L"KS_Service_Password=x y", Companion, [](auto& r) { return r.password == L"x y"; }},
        {L"KS_Service_password=x", Companion, [](auto& r) { return r.password.empty(); }},
        {L"KS_SSLWebServer_Certificate=\"C:\\c d.pem\"", Companion,
         [](auto& r) { return r.certificate == L"C:\\c d.pem" && r.certificateSet; }},
        {L"KS_sslwebserver_privatekey=k", Companion,
         [](auto& r) { return r.privateKey == L"k" && r.privateKeySet; }},
        {L"KS_SSLWebServer_CertificateChain=c", Companion,
         [](auto& r) { return r.certificateChain == L"c" && r.chainSet; }},
        {L"KS_WebServer_Port= 80a ", Companion, [](auto& r) { return r.webPort == 80; }},
        {L"KS_WebServer_Port=", Companion, [](auto& r) { return r.webPort == 0; }},
        {L"KS_WebServer_Enabled=0", Companion, [](auto& r) { return !r.webEnabled; }},
        {L"KS_SSLWebServer_Enabled=2", Companion, [](auto& r) { return r.sslEnabled; }},
        {L"MN_WebServer_Host=10.0.0.1", Muntac, [](auto& r) { return r.webHost == L"10.0.0.1"; }},
        // Without "_" or "=" a text names nothing.
        {L"KSWebServer_Port=1", Companion, [](auto& r) { return r.webPort == 8088; }},
        {L"KS_WebServer_Port", Companion, [](auto& r) { return r.webPort == 8088; }},
        {L"KS=1_WebServer_Port", Companion, [](auto& r) { return r.webPort == 8088; }},
    };
    for (const Case& c : cases) {
        std::vector<ServerConfiguration> records = AllRecords();
        ApplyProperty(records, c.property);
        EXPECT_TRUE(c.check(records[c.record])) << testing::PrintToString(std::wstring(c.property));
    }
    // A property names only its own records.
    std::vector<ServerConfiguration> records = AllRecords();
    ApplyProperty(records, L"KS_WebServer_Port=1");
    for (size_t i = 0; i < records.size(); ++i)
        EXPECT_EQ(records[i].webPort == 1, i == Companion);
}

TEST(ServiceConfigurationRules, TheOfflineCompanionStartsDelayedUnlessTheCommandLineSaysOtherwise) {
    struct Case {
        const wchar_t* productId;
        std::vector<std::wstring> properties;
        bool appended;
    };
    const Case cases[] = {
        {L"KS::F", {}, true},
        {L"KS::F", {L"KS_Service_StartType=demand"}, false},
        {L"KS::F", {L"KS_Service_StartType="}, false},
        {L"KS::F", {L"ks_service_starttype=demand"}, true},
        {L"KS::F", {L"KS_Service_StartTypeX=demand"}, true},
        {L"KS::Z", {}, false},
        {L"KS::N", {}, false},
    };
    for (const Case& c : cases) {
        const PackageList packages = MakePackages(
            {{L"Quenlis Halvora Server", L"HV::Z", L"10.1"}, {L"Quenlis Kestrum", c.productId, L"3.17"}});
        std::vector<std::wstring> expected = c.properties;
        if (c.appended)
            expected.push_back(L"KS_Service_StartType=auto-delayed");
        EXPECT_EQ(WorkingProperties(c.properties, packages), expected)
            << testing::PrintToString(c.properties);
    }
}

TEST(ServiceConfigurationRules, TheFirstPreparationTakesInitialValuesAfterTheCommandLine) {
    const PackageList packages = MakePackages({{L"Quenlis Halvora Server", L"HV::Z", L"10.1"},
                                               {L"Quenlis Kestrum", L"KS::F", L"3.17"},
                                               {L"Quenlis Muntac Server", L"MU::Z", L"5"}});
    FakeServerFacts facts;
    std::vector<ServerConfiguration> records = BuildServerConfigurations(packages, facts);
    const std::vector<std::wstring> commandLine = {L"HVSAdmin_WebServer_Port=9085"};
    const std::vector<size_t> tabs = PrepareFirstTime(
        records, [](size_t package) { return package != 2; }, commandLine, packages);
    EXPECT_EQ(tabs, (std::vector<size_t>{0, 1, 2}));
    EXPECT_EQ(records[2].startType, ServiceStartType::AutomaticDelayed);
    EXPECT_EQ(records[2].initial.startType, ServiceStartType::AutomaticDelayed);
    EXPECT_EQ(records[0].initial.webPort, 9085);
    EXPECT_EQ(Bold(SummariesOf(records[2]).service), L"");

    // With nothing selected the page passes on and applies nothing.
    std::vector<ServerConfiguration> untouched = BuildServerConfigurations(packages, facts);
    EXPECT_TRUE(PrepareFirstTime(
                    untouched, [](size_t) { return false; }, commandLine, packages)
                    .empty());
    EXPECT_EQ(untouched[0].webPort, 8085);
    EXPECT_EQ(untouched[2].startType, ServiceStartType::Automatic);
}

TEST(ServiceConfigurationRules, SummariesShowChangesInBold) {
    struct Case {
        const char* what;
        std::function<void(ServerConfiguration&)> change;
        std::wstring web, webBold, ssl, sslBold, service, serviceBold;
    };
    const std::wstring port = L"<1180>: ", sslDefault = L"<1191>";
    const std::wstring service = L"<1184>: <1217>, <1185>: <1187>";
    const Case cases[] = {
        {"unchanged", [](auto&) {}, port + L"8088", L"", sslDefault, L"", service, L""},
        {"web port", [](auto& r) { r.webPort = 80; }, port + L"80", L"80", sslDefault, L"", service, L""},
        {"web off", [](auto& r) { r.webEnabled = false; }, L"<1191>", L"<1191>", sslDefault, L"", service,
         L""},
        {"ssl on", [](auto& r) { r.sslEnabled = true; }, port + L"8088", L"", port + L"8090", port + L"8090",
         service, L""},
        {"ssl port only", [](auto& r) { r.sslPort = 1; }, port + L"8088", L"", sslDefault, L"", service, L""},
        {"start type", [](auto& r) { r.startType = 5; }, port + L"8088", L"", sslDefault, L"",
         L"<1184>: <1219>, <1185>: <1187>", L"<1219>"},
        {"other user", [](auto& r) { r.SetAccount(L"BUILD\\svc"); }, port + L"8088", L"", sslDefault, L"",
         L"<1184>: <1217>, <1185>: \"BUILD\\svc\"", L"\"BUILD\\svc\""},
        {"same kind, other name", [](auto& r) { r.userName = L"x"; }, port + L"8088", L"", sslDefault, L"",
         service, L"<1187>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ServerConfiguration r = MakeServerConfiguration(L"Kestrum", L"3", 0, 0);
        r.TakeInitialValues();
        c.change(r);
        const TabSummaries s = SummariesOf(r);
        EXPECT_EQ(Plain(s.unencrypted), c.web);
        EXPECT_EQ(Bold(s.unencrypted), c.webBold);
        EXPECT_TRUE(s.sslShown && s.serviceShown);
        EXPECT_EQ(Plain(s.ssl), c.ssl);
        EXPECT_EQ(Bold(s.ssl), c.sslBold);
        EXPECT_EQ(Plain(s.service), c.service);
        EXPECT_EQ(Bold(s.service), c.serviceBold);
    }
    std::vector<ServerConfiguration> records = AllRecords();
    EXPECT_FALSE(SummariesOf(records[Muntac]).sslShown);
    EXPECT_FALSE(SummariesOf(records[Client]).serviceShown);
    EXPECT_EQ(StartTypeNameId(3), StringId::StartTypeOnDemand);
    EXPECT_EQ(StartTypeNameId(4), StringId::StartTypeDisabled);
    EXPECT_EQ(StartTypeNameId(1), 0u);
}

TEST(ServiceConfigurationRules, NextNeedsOneConnectionPerSelectedServer) {
    std::vector<ServerConfiguration> records = AllRecords();
    EXPECT_TRUE(RecordsWithoutConnection(records, kAll).empty());
    for (ServerConfiguration& r : records)
        r.webEnabled = r.sslEnabled = false;
    // The Muntac server cannot be left without its unencrypted server, so it is never named.
    EXPECT_EQ(
        RecordsWithoutConnection(records, kAll),
        (std::vector<std::wstring>{L"Halvora Server Admin Interface", L"Halvora Server Client Interface",
                                   L"Kestrum", L"ZorvexXML Server"}));
    EXPECT_EQ(RecordsWithoutConnection(records, [](size_t p) { return p == Zorvex; }),
              std::vector<std::wstring>{L"ZorvexXML Server"});
    records[Zorvex].sslEnabled = true;
    EXPECT_TRUE(RecordsWithoutConnection(records, [](size_t p) { return p == Zorvex; }).empty());
}

TEST(ServiceConfigurationRules, DialogEditsChangeTheRecordAndTheServiceOwnersFiles) {
    std::vector<ServerConfiguration> records = AllRecords();
    const std::wstring chosen = L"C:\\certs\\new.pem";
    ApplyConnectionEdit(
        records, Client,
        {true, true, L"9443x", chosen, records[Admin].privateKey, records[Admin].certificateChain});
    EXPECT_TRUE(records[Client].sslEnabled);
    EXPECT_EQ(records[Client].sslPort, 9443);
    EXPECT_EQ(records[Admin].certificate, chosen);
    EXPECT_TRUE(records[Admin].certificateSet);
    EXPECT_FALSE(records[Admin].privateKeySet || records[Admin].chainSet);
    EXPECT_EQ(records[Client].certificate, L"C:\\path_to\\certificate");
    EXPECT_FALSE(records[Client].certificateSet);

    ApplyConnectionEdit(records, Companion, {false, false, L"port", L"ignored", L"", L""});
    EXPECT_FALSE(records[Companion].webEnabled);
    EXPECT_EQ(records[Companion].webPort, 0);
    EXPECT_FALSE(records[Companion].certificateSet);

    ApplyServiceEdit(records[Companion], {ServiceStartType::Disabled, AccountKind::LocalService, L"u", L"p"});
    EXPECT_EQ(records[Companion].startType, 4);
    EXPECT_EQ(records[Companion].accountKind, 1);
    EXPECT_EQ(records[Companion].userName, L"u");
    EXPECT_EQ(records[Companion].password, L"p");
}
