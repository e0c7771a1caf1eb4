// The import of an installed server's settings: the registered service, the configuration file paths
// with their release fallback, the keys of each format and their conversions.
#include "server/ServerImport.h"
#include "ServerFakes.h"

#include <gtest/gtest.h>

namespace {

const char kXmlHead[] = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<config>\r\n";
const char kXmlTail[] = "</config>\r\n";

std::string Xml(const std::string& body) {
    return kXmlHead + body + kXmlTail;
}

} // namespace

TEST(ServerImport, TheRegisteredServiceGivesStartTypeAndAccount) {
    struct Case {
        int startType;
        bool delayed;
        const wchar_t* account;
        int expectedStart, expectedKind;
        const wchar_t* expectedUser;
    };
    const Case cases[] = {
        {2, false, L"LocalSystem", 2, 0, L"old"},
        {2, true, L"LocalSystem", 5, 0, L"old"},
        {3, true, L"LocalSystem", 3, 0, L"old"}, // delayed means something only for an automatic start
        {4, false, L"NT AUTHORITY\\LocalService", 4, 1, L"old"},
        {2, false, L"NT AUTHORITY\\NetworkService", 2, 2, L"old"},
        {2, false, L".\\builder", 2, 3, L"builder"},
        {2, false, L"localsystem", 2, 3, L"localsystem"},
        {2, false, L"BUILD\\.\\x", 2, 3, L"BUILD\\.\\x"},
        {2, false, L".\\LocalSystem", 2, 0, L"old"},
    };
    for (const Case& c : cases) {
        ServerConfiguration r = MakeServerConfiguration(L"Kestrum", L"3", 0, 0);
        r.startType = 3;
        r.userName = L"old";
        r.password = L"secret";
        ApplyServiceFacts(r, {c.startType, c.delayed, c.account});
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.account)));
        EXPECT_EQ(r.startType, c.expectedStart);
        EXPECT_EQ(r.accountKind, c.expectedKind);
        EXPECT_EQ(r.userName, c.expectedUser);
        EXPECT_TRUE(r.password.empty());
    }
}

TEST(ServerImport, ConversionsOfTheConfigurationFiles) {
    struct Case {
        const wchar_t* text;
        int number;
        bool flag, xmlFlag;
    };
    const Case cases[] = {
        {L"8185", 8185, true, false}, {L" \t8185\t ", 8185, true, false},
        {L"12ab", 12, true, false},   {L"abc", 0, false, false},
        {L"", 0, false, false},       {L"0", 0, false, false},
        {L"1", 1, true, true},        {L" 1\t", 1, true, true},
        {L"true", 0, false, false},   {L"11", 11, true, false},
        {L"-1", -1, true, false},     {L"1 ", 1, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.text)));
        EXPECT_EQ(ConfigNumber(c.text), c.number);
        EXPECT_EQ(ConfigFlag(c.text), c.flag);
        EXPECT_EQ(ConfigXmlFlag(c.text), c.xmlFlag);
    }
    EXPECT_EQ(ConfigPath(L" \tC:\\certs\\a b.pem \t"), L"C:\\certs\\a b.pem");
}

TEST(ServerImport, IniKeysByEntry) {
    const std::string halvora =
        "[ListenAdmin]\nport=8185\nactive=0\n[ListenAdminSSL]\nport=8186\nactive=1\n"
        "[Listen]\nport=8183\nhost=127.0.0.1\nactive=1\n"
        "[ListenSSL]\nport=8184\nhost=0.0.0.0\nactive=1\n"
        "[SSL]\ncertificate= C:\\certs\\server.pem \nprivate_key=C:\\certs\\missing.key\n"
        "certificate_Chain=C:\\certs\\chain.pem\n";
    const std::string muntac =
        "[MuntacServer]\nport=29900\naddress=10.0.0.1\n[Listen]\nport=1\n[ListenSSL]\nport=2\n";
    struct Case {
        const wchar_t* entry;
        const std::string* content;
        int webPort;
        const wchar_t* webHost;
        bool webEnabled;
        int sslPort;
        const wchar_t* sslHost;
        bool sslEnabled;
    };
    const Case cases[] = {
        {L"Halvora Server Admin Interface", &halvora, 8185, L"", false, 8186, L"", true},
        {L"Halvora Server Client Interface", &halvora, 8183, L"127.0.0.1", true, 8184, L"0.0.0.0", true},
        {L"Kestrum", &halvora, 8183, L"127.0.0.1", true, 8184, L"0.0.0.0", true},
        // The Muntac server reads no Listen keys and has no SSL keys of its own.
        {L"Muntac Server", &muntac, 29900, L"10.0.0.1", true, 8083, L"", false},
    };
    const std::set<std::wstring> existing = {L"C:\\certs\\server.pem", L"C:\\certs\\chain.pem"};
    const PathExists exists = [&](const std::wstring& path) { return existing.contains(path); };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.entry)));
        ServerConfiguration r = MakeServerConfiguration(c.entry, L"1", 0, 0);
        ImportConfigurationFile(r, ICBSIniFile(L"", *c.content), exists);
        EXPECT_EQ(r.webPort, c.webPort);
        EXPECT_EQ(r.webHost, c.webHost);
        EXPECT_EQ(r.webEnabled, c.webEnabled);
        EXPECT_EQ(r.sslPort, c.sslPort);
        EXPECT_EQ(r.sslHost, c.sslHost);
        EXPECT_EQ(r.sslEnabled, c.sslEnabled);
        if (c.content == &halvora) {
            // A path naming nothing is shown but stays unset, so it never reaches the installer.
            EXPECT_EQ(r.certificate, L"C:\\certs\\server.pem");
            EXPECT_TRUE(r.certificateSet);
            EXPECT_EQ(r.privateKey, L"C:\\certs\\missing.key");
            EXPECT_FALSE(r.privateKeySet);
            EXPECT_EQ(r.certificateChain, L"C:\\certs\\chain.pem");
            EXPECT_TRUE(r.chainSet);
        }
    }
}

TEST(ServerImport, XmlKeysAndTheirFlags) {
    const std::string full =
        Xml("<http.socket-port> 8187</http.socket-port>\r\n"
            "<http.socket-host>0.0.0.0</http.socket-host>\r\n"
            "<http.enable>true</http.enable>\r\n"
            "<https.socket-port>8463</https.socket-port>\r\n"
            "<https.socket-host>127.0.0.1</https.socket-host>\r\n"
            "<https.enable> 1 </https.enable>\r\n"
            "<https.certificate>C:\\certs\\server.pem</https.certificate>\r\n"
            "<https.private-key>C:\\certs\\server.key</https.private-key>\r\n"
            "<https.certificate-chain>C:\\certs\\chain.pem</https.certificate-chain>\r\n");
    for (const wchar_t* entry : {L"ZorvexXML Server", L"ZorvexXML+XBRL Server"}) {
        ServerConfiguration r = MakeServerConfiguration(entry, L"2026", 0, 0);
        ImportConfigurationFile(r, ICBSXMLIniFile(L"", full), [](const std::wstring&) { return true; });
        EXPECT_EQ(r.webPort, 8187);
        EXPECT_EQ(r.webHost, L"0.0.0.0");
        EXPECT_FALSE(r.webEnabled); // only "1" switches on
        EXPECT_EQ(r.sslPort, 8463);
        EXPECT_EQ(r.sslHost, L"127.0.0.1");
        EXPECT_TRUE(r.sslEnabled);
        EXPECT_EQ(r.certificate, L"C:\\certs\\server.pem");
        EXPECT_EQ(r.privateKey, L"C:\\certs\\server.key");
        EXPECT_EQ(r.certificateChain, L"C:\\certs\\chain.pem");
        EXPECT_FALSE(r.certificateSet || r.privateKeySet || r.chainSet);
    }
    // An INI-style file read as XML, an unloaded file, and absent keys leave the record as it was.
    for (const std::string& content : {std::string(), Xml("<http.socket-host>h</http.socket-host>\r\n")}) {
        ServerConfiguration r = MakeServerConfiguration(L"ZorvexXML Server", L"2026", 0, 0);
        ImportConfigurationFile(r, ICBSXMLIniFile(L"", content), nullptr);
        EXPECT_EQ(r.webPort, 8087);
        EXPECT_EQ(r.sslPort, 463);
        EXPECT_TRUE(r.webEnabled);
    }
    EXPECT_EQ(FormatOf(L"ZorvexXML Server"), ConfigurationFormat::Xml);
    EXPECT_EQ(FormatOf(L"zorvexxml server"), ConfigurationFormat::Ini);
    EXPECT_EQ(FormatOf(L"Pennix Server"), ConfigurationFormat::Ini);
}

TEST(ServerImport, ConfigurationPathsWithTheReleaseFallback) {
    const std::wstring data = L"D:\\Data\\Quenlis", program = L"C:\\Program Files";
    struct Case {
        const wchar_t* entry;
        const wchar_t* release;
        std::set<std::wstring> existing;
        std::wstring path;
    };
    const std::wstring muntac = data + L"\\MuntacServer";
    const std::wstring zorvex = program + L"\\Quenlis\\ZorvexXMLServer";
    const Case cases[] = {
        {L"Kestrum", L"3", {}, data + L"\\Kestrum\\server.cfg"},
        {L"Halvora Server Admin Interface", L"10", {}, data + L"\\HalvoraServer\\halvoraserver.cfg"},
        {L"Halvora Server Client Interface", L"10", {}, data + L"\\HalvoraServer\\halvoraserver.cfg"},
        {L"Muntac Server", L"5", {muntac + L"4\\server_config.ini"}, muntac + L"4\\server_config.ini"},
        {L"Muntac Server", L"5", {}, muntac + L"5\\server_config.ini"},
        {L"Muntac Server",
         L"5",
         {muntac + L"3\\server_config.ini", muntac + L"4\\server_config.ini"},
         muntac + L"4\\server_config.ini"},
        {L"Muntac Server", L"5", {muntac + L"3\\server_config.ini"}, muntac + L"3\\server_config.ini"},
        {L"Muntac Server", L"5", {muntac + L"2\\server_config.ini"}, muntac + L"5\\server_config.ini"},
        // Without digits the search starts at 0 and goes below it; the text is kept when nothing is found.
        {L"Muntac Server", L"", {muntac + L"-1\\server_config.ini"}, muntac + L"-1\\server_config.ini"},
        {L"Muntac Server", L"", {}, muntac + L"\\server_config.ini"},
        {L"ZorvexXML Server",
         L"2026",
         {zorvex + L"2024\\etc\\server_config.xml"},
         zorvex + L"2024\\etc\\server_config.xml"},
        {L"ZorvexXML+XBRL Server",
         L"2026",
         {},
         program + L"\\Quenlis\\ZorvexXMLXBRLServer2026\\etc\\server_config.xml"},
        {L"Pennix Server", L"1", {}, L""},
    };
    for (const Case& c : cases) {
        int dataAsked = 0;
        const FolderSource folders{[&] {
                                       ++dataAsked;
                                       return data;
                                   },
                                   [&] { return program; }};
        const std::wstring path = ConfigurationFilePath(
            c.entry, c.release, folders, [&](const std::wstring& p) { return c.existing.contains(p); });
        EXPECT_EQ(path, c.path) << testing::PrintToString(std::wstring(c.entry));
        // The data folder is made when first asked for, so only the entries that live there ask.
        EXPECT_EQ(dataAsked, c.path.starts_with(data) ? 1 : 0);
    }
    const FolderSource noData{[] { return std::wstring(); }, [] { return std::wstring(); }};
    EXPECT_EQ(ConfigurationFilePath(L"Kestrum", L"", noData, nullptr), L"\\Kestrum\\server.cfg");
}

TEST(ServerImport, SixtyFourBitPackagesUseTheNativeProgramFolder) {
    struct Case {
        const wchar_t* productName;
        const wchar_t* folder;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {L"Quenlis ZorvexXML Server 2026 (x64)", L"C:\\Program Files (x86)", L"C:\\Program Files"},
        {L"Quenlis ZorvexXML Server 2026", L"C:\\Program Files (x86)", L"C:\\Program Files (x86)"},
        {L"Quenlis ZorvexXML Server 2026 (X64)", L"C:\\Program Files (x86)", L"C:\\Program Files (x86)"},
        {L"Quenlis ZorvexXML Server x64", L"C:\\Program Files", L"C:\\Program Files"},
        {L"Quenlis ZorvexXML Server x64", L"C:\\Program Files (x86)\\", L"C:\\Program Files (x86)\\"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ProgramFolderFor(c.productName, c.folder), c.expected)
            << testing::PrintToString(std::wstring(c.productName));
}

TEST(ServerImport, TheFileOverridesTheServiceWhichOverridesTheTable) {
    const PackageList packages = MakePackages({{L"Quenlis Halvora Server (x64)", L"HV::Z", L"10.1"},
                                               {L"Quenlis ZorvexXML Server x64", L"ZV::M", L"2026.1"}});
    FakeServerFacts facts;
    facts.services[L"QuenlisHalvoraServer"] = {2, true, L".\\svc"};
    facts.services[L"Halvora Server Client Interface"] = {4, false, L"LocalSystem"};
    facts.files[L"C:\\ProgramData\\Quenlis\\HalvoraServer\\halvoraserver.cfg"] =
        "[ListenAdmin]\nport=8185\n[Listen]\nport=8183\n";
    facts.files[L"C:\\Program Files\\Quenlis\\ZorvexXMLServer2025\\etc\\server_config.xml"] =
        Xml("<http.socket-port>9087</http.socket-port>\r\n");
    const std::vector<ServerConfiguration> records = BuildServerConfigurations(packages, facts);
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].startType, 5);
    EXPECT_EQ(records[0].userName, L"svc");
    EXPECT_EQ(records[0].webPort, 8185);
    EXPECT_EQ(records[1].startType, 4); // the client's service name is its entry name
    EXPECT_EQ(records[1].webPort, 8183);
    EXPECT_EQ(records[2].webPort, 9087);
    EXPECT_EQ(records[2].startType, 3);
    EXPECT_EQ(facts.dataFolderAsked, 2);
}
