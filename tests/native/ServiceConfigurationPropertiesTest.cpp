// The property text the installers receive from the service configuration page, byte for byte, and the
// command-line properties it replaces.
#include "server/ServiceConfigurationProperties.h"
#include "ServerFakes.h"

#include <gtest/gtest.h>

namespace {

const PackageSelected kAll = [](size_t) { return true; };
const ProtectPassword kMarked = [](const std::wstring& p) { return L"[" + p + L"]"; };
const AskPassword kNeverAsked = [](const ServerConfiguration&) -> std::optional<std::wstring> {
    ADD_FAILURE() << "asked for a password";
    return std::nullopt;
};

ServerConfiguration Record(const wchar_t* entry, size_t package = 0) {
    return MakeServerConfiguration(entry, L"1", package, 0);
}

std::wstring TextOf(std::vector<ServerConfiguration> records, const AskPassword& ask = kNeverAsked) {
    const auto built = BuildServiceProperties(records, kAll, kMarked, ask);
    return built ? built->text : L"(cancelled)";
}

} // namespace

TEST(ServiceConfigurationProperties, RecordsWriteTheirPropertiesInOrder) {
    const std::wstring companion =
        L"KS_WebServer_Port=8088 KS_WebServer_Host=\"\" KS_WebServer_Enabled=1 "
        L"KS_SSLWebServer_Port=8090 KS_SSLWebServer_Host=\"\" KS_SSLWebServer_Enabled=0 "
        L"KS_Service_StartType=\"auto-delayed\" KS_Service_Username=\"LocalSystem\" ";
    struct Case {
        const char* what;
        std::function<std::vector<ServerConfiguration>()> records;
        std::wstring text;
    };
    const Case cases[] = {
        {"the companion server with its delayed start",
         [] {
             std::vector<ServerConfiguration> r = {Record(L"Kestrum")};
             ApplyProperty(r, L"KS_Service_StartType=auto-delayed");
             return r;
         },
         companion},
        {"no SSL server, no SSL properties",
         [] { return std::vector<ServerConfiguration>{Record(L"Muntac Server")}; },
         L"MN_WebServer_Port=29800 MN_WebServer_Host=\"\" MN_WebServer_Enabled=1 "
         L"MN_Service_StartType=\"auto\" "
         L"MN_Service_Username=\"LocalSystem\" "},
        {"set files only, the chain before the start type",
         [] {
             std::vector<ServerConfiguration> r = {Record(L"ZorvexXML Server")};
             r[0].certificateChain = L"C:\\c.pem";
             r[0].chainSet = true;
             r[0].webHost = L"say \"hi\"";
             return r;
         },
         L"ZXML_WebServer_Port=8087 ZXML_WebServer_Host=\"say \"hi\"\" ZXML_WebServer_Enabled=1 "
         L"ZXML_SSLWebServer_Port=463 ZXML_SSLWebServer_Host=\"\" ZXML_SSLWebServer_Enabled=0 "
         L"ZXML_SSLWebServer_CertificateChain=\"C:\\c.pem\" ZXML_Service_StartType=\"demand\" "
         L"ZXML_Service_Username=\"LocalSystem\" "},
        {"the main server: entry prefix for the web, HVS for the service, files set by the client's dialog",
         [] {
             std::vector<ServerConfiguration> r = {Record(L"Halvora Server Admin Interface"),
                                                   Record(L"Halvora Server Client Interface")};
             r[0].certificateSet = r[0].privateKeySet = true;
             r[0].accountKind = AccountKind::NetworkService;
             return r;
         },
         L"HVSAdmin_WebServer_Port=8085 HVSAdmin_WebServer_Host=\"\" HVSAdmin_WebServer_Enabled=1 "
         L"HVSAdmin_SSLWebServer_Port=8086 HVSAdmin_SSLWebServer_Host=\"\" HVSAdmin_SSLWebServer_Enabled=0 "
         L"HVS_SSLWebServer_Certificate=\"C:\\path_to\\certificate\" "
         L"HVS_SSLWebServer_PrivateKey=\"C:\\path_to\\PrivateKey\" "
         L"HVS_Service_StartType=\"auto\" HVS_Service_Username=\"NT AUTHORITY\\NetworkService\" "
         L"HVSClient_WebServer_Port=8083 HVSClient_WebServer_Host=\"\" HVSClient_WebServer_Enabled=1 "
         L"HVSClient_SSLWebServer_Port=8084 HVSClient_SSLWebServer_Host=\"\" "
         L"HVSClient_SSLWebServer_Enabled=0 "
         L"HVSClient_Service_StartType=\"auto\" HVSClient_Service_Username=\"LocalSystem\" "},
        {"another user with a password, protected and quoted",
         [] {
             std::vector<ServerConfiguration> r = {Record(L"Muntac Server")};
             r[0].SetAccount(L"BUILD\\svc");
             r[0].password = L"pw";
             r[0].startType = ServiceStartType::Disabled;
             return r;
         },
         L"MN_WebServer_Port=29800 MN_WebServer_Host=\"\" MN_WebServer_Enabled=1 "
         L"MN_Service_StartType=\"disabled\" "
         L"MN_Service_Username=\"BUILD\\svc\" MN_Service_Password=\"[pw]\" "},
        {"a user name kept under a built-in account writes no password",
         [] {
             std::vector<ServerConfiguration> r = {Record(L"Muntac Server")};
             r[0].userName = L"old";
             r[0].password = L"pw";
             r[0].accountKind = AccountKind::LocalService;
             return r;
         },
         L"MN_WebServer_Port=29800 MN_WebServer_Host=\"\" MN_WebServer_Enabled=1 "
         L"MN_Service_StartType=\"auto\" "
         L"MN_Service_Username=\"NT AUTHORITY\\LocalService\" "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(TextOf(c.records()), c.text);
    }
}

TEST(ServiceConfigurationProperties, OnlySelectedPackagesAreWritten) {
    std::vector<ServerConfiguration> records = {Record(L"Kestrum", 0), Record(L"Muntac Server", 1)};
    const auto built = BuildServiceProperties(
        records, [](size_t p) { return p == 1; }, kMarked, kNeverAsked);
    ASSERT_TRUE(built);
    EXPECT_TRUE(built->text.starts_with(L"MN_WebServer_Port=29800 "));
    EXPECT_EQ(built->text.find(L"KS_"), std::wstring::npos);
    EXPECT_EQ(built->written,
              (std::set<std::wstring>{L"MN_WebServer_Port", L"MN_WebServer_Host", L"MN_WebServer_Enabled",
                                      L"MN_Service_StartType", L"MN_Service_Username"}));
    const auto none = BuildServiceProperties(
        records, [](size_t) { return false; }, kMarked, kNeverAsked);
    ASSERT_TRUE(none);
    EXPECT_TRUE(none->text.empty() && none->written.empty());
}

TEST(ServiceConfigurationProperties, AMissingPasswordIsAskedForAndACancelChangesNothing) {
    std::vector<ServerConfiguration> records = {Record(L"Kestrum", 0), Record(L"Muntac Server", 1)};
    records[0].SetAccount(L"BUILD\\a");
    records[1].SetAccount(L"BUILD\\b");
    std::vector<std::wstring> asked;
    std::vector<std::wstring> commandLine = {L"KS_WebServer_Port=1", L"OTHER=2"};
    const auto answer = [&](std::optional<std::wstring> second) {
        return [&asked, second](const ServerConfiguration& r) -> std::optional<std::wstring> {
            asked.push_back(r.userName);
            return r.userName == L"BUILD\\a" ? std::optional<std::wstring>(L"pa") : second;
        };
    };

    EXPECT_FALSE(BuildServiceConfiguration(records, kAll, kMarked, answer(std::nullopt), commandLine));
    EXPECT_EQ(asked, (std::vector<std::wstring>{L"BUILD\\a", L"BUILD\\b"}));
    EXPECT_TRUE(records[0].password.empty() && records[1].password.empty());
    EXPECT_EQ(commandLine.size(), 2u);

    asked.clear();
    const auto text = BuildServiceConfiguration(records, kAll, kMarked, answer(L"pb"), commandLine);
    ASSERT_TRUE(text);
    EXPECT_NE(text->find(L"KS_Service_Password=\"[pa]\" "), std::wstring::npos);
    EXPECT_NE(text->find(L"MN_Service_Password=\"[pb]\" "), std::wstring::npos);
    EXPECT_EQ(records[0].password, L"pa");
    EXPECT_EQ(records[1].password, L"pb");
    EXPECT_EQ(commandLine, std::vector<std::wstring>{L"OTHER=2"});

    // Stored passwords are not asked for again.
    EXPECT_TRUE(BuildServiceConfiguration(records, kAll, kMarked, kNeverAsked, commandLine));
}

TEST(ServiceConfigurationProperties, WrittenNamesLeaveTheCommandLineOnceEach) {
    const std::set<std::wstring> written = {L"ZXML_WebServer_Port", L"HVS_Service_Username",
                                            L"KS_WebServer_Host"};
    struct Case {
        std::vector<std::wstring> before, after;
    };
    const Case cases[] = {
        {{L"ZXML_WebServer_Port=9000", L"FOO=1"}, {L"FOO=1"}},
        {{L"HVS_Service_Username=\"BUILD\\svc\""}, {}},
        {{L"hvs_service_username=x", L"HVSAdmin_Service_Username=x"},
         {L"hvs_service_username=x", L"HVSAdmin_Service_Username=x"}},
        {{L"ZXML_WebServer_Port", L"ZXML_WebServer_Port =1"},
         {L"ZXML_WebServer_Port", L"ZXML_WebServer_Port =1"}},
        {{L"KS_WebServer_Host=a", L"X=1", L"KS_WebServer_Host=b"}, {L"X=1"}},
        {{L"KS_WebServer_Host=a", L"KS_WebServer_Host=a"}, {}},
        {{L"KS_Service_DisplayName=\"My Server\""}, {L"KS_Service_DisplayName=\"My Server\""}},
    };
    for (const Case& c : cases) {
        std::vector<std::wstring> list = c.before;
        RemoveWrittenProperties(list, written);
        EXPECT_EQ(list, c.after) << testing::PrintToString(c.before);
    }
}

TEST(ServiceConfigurationProperties, TheCommandLineValueIsReplacedByThePagesValue) {
    const PackageList packages = MakePackages({{L"Quenlis ZorvexXML Server", L"ZV::M", L"2026"}});
    FakeServerFacts facts;
    std::vector<ServerConfiguration> records = BuildServerConfigurations(packages, facts);
    std::vector<std::wstring> commandLine = {L"ZXML_WebServer_Port=9000", L"ZXML_Service_DisplayName=\"Z\""};
    PrepareFirstTime(records, kAll, commandLine, packages);
    records[0].webPort = 9001; // the user's edit wins
    const auto text = BuildServiceConfiguration(records, kAll, kMarked, kNeverAsked, commandLine);
    ASSERT_TRUE(text);
    EXPECT_TRUE(text->starts_with(L"ZXML_WebServer_Port=9001 "));
    EXPECT_EQ(commandLine, std::vector<std::wstring>{L"ZXML_Service_DisplayName=\"Z\""});
    EXPECT_EQ(records[0].serviceDisplayName, L"Z");
}
