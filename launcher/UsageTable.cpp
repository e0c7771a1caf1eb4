#include "launcher/UsageTable.h"

#include "launcher/ProductCatalog.h"

#include <string_view>

namespace {

// Placeholder words inside the option syntax.
constexpr int kWordPackageNamePart = 1070;
constexpr int kWordLanguageName = 1071;
constexpr int kWordTransforms = 1072;
constexpr int kWordProperty = 1073;
constexpr int kWordValue = 1074;
constexpr int kWordLogFile = 1075;
constexpr int kWordMifFile = 1076;

// Option rows: index in UsageTable::options.
enum OptionRow : size_t {
    Language,
    Level,
    Logging,
    StatusFile,
    SubPackages,
    Transforms,
    Property,
    OptionRowCount
};

// Property value texts and descriptions shared by every server interface.
constexpr int kValueZeroOrOne = 1240, kDescriptionEnabled = 1241;
constexpr int kValueHost = 1242, kDescriptionHost = 1243;
constexpr int kValuePort = 1244, kDescriptionPort = 1245;
constexpr int kValueSslHost = 1246, kDescriptionSslHost = 1247;
constexpr int kValueSslPort = 1248, kDescriptionSslPort = 1249;
constexpr int kValueCertificate = 1250, kDescriptionCertificate = 1251;
constexpr int kValuePrivateKey = 1252, kDescriptionPrivateKey = 1253;
constexpr int kValueDisplayName = 1254, kDescriptionDisplayName = 1255;
constexpr int kValueStartType = 1256, kDescriptionStartType = 1257;
constexpr int kValueUserName = 1258, kDescriptionUserName = 1259;
constexpr int kValuePassword = 1260, kDescriptionPassword = 1261;

// The plain and SSL web server rows every interface has; the SSL host and port take the given descriptions.
std::vector<UsageProperty> InterfaceRows(const std::wstring& p, int sslHostDescription,
                                         int sslPortDescription) {
    return {
        {p + L"_WebServer_Enabled", kValueZeroOrOne, kDescriptionEnabled},
        {p + L"_WebServer_Host", kValueHost, kDescriptionHost},
        {p + L"_WebServer_Port", kValuePort, kDescriptionPort},
        {p + L"_SSLWebServer_Enabled", kValueZeroOrOne, kDescriptionEnabled},
        {p + L"_SSLWebServer_Host", kValueSslHost, sslHostDescription},
        {p + L"_SSLWebServer_Port", kValueSslPort, sslPortDescription},
    };
}

std::vector<UsageProperty> WebServerRows(std::wstring_view prefix) {
    const std::wstring p(prefix);
    std::vector<UsageProperty> rows = InterfaceRows(p, kDescriptionHost, kDescriptionPort);
    rows.push_back({p + L"_SSLWebServer_Certificate", kValueCertificate, kDescriptionCertificate});
    rows.push_back({p + L"_SSLWebServer_PrivateKey", kValuePrivateKey, kDescriptionPrivateKey});
    return rows;
}

std::vector<UsageProperty> ServiceRows(std::wstring_view prefix) {
    const std::wstring p(prefix);
    return {
        {p + L"_Service_DisplayName", kValueDisplayName, kDescriptionDisplayName},
        {p + L"_Service_StartType", kValueStartType, kDescriptionStartType},
        {p + L"_Service_Username", kValueUserName, kDescriptionUserName},
        {p + L"_Service_Password", kValuePassword, kDescriptionPassword},
    };
}

// The admin interfaces of the main server have their own SSL host and port descriptions and no
// certificate rows; one certificate serves both of them.
std::vector<UsageProperty> AdminInterfaceRows(std::wstring_view prefix) {
    return InterfaceRows(std::wstring(prefix), kDescriptionSslHost, kDescriptionSslPort);
}

// Which product lines carry which server interfaces: the catalog's editions say. A group is printed when
// the main product's name starts with the full name of an edition that carries it, then a space (letter
// case counts).
constexpr ServerInterface kCompanionServerLines = kCompanionInterface;
constexpr ServerInterface kZorvexXmlLines = kZorvexXmlInterface;
constexpr ServerInterface kMuntacLines = kMuntacInterface;
constexpr ServerInterface kZorvexXbrlLines = kZorvexXbrlInterface;
constexpr ServerInterface kHalvoraLines = kHalvoraAdminInterface;

bool StartsWithAny(const std::wstring& name, ServerInterface lines) {
    for (std::wstring_view fullName : ProductCatalog::FullNamesCarrying(lines)) {
        if (name.starts_with(fullName) && name.size() > fullName.size() && name[fullName.size()] == L' ')
            return true;
    }
    return false;
}

std::vector<UsagePropertyGroup> PropertyGroups(const std::wstring& productName) {
    std::vector<UsagePropertyGroup> groups;
    if (StartsWithAny(productName, kCompanionServerLines)) {
        groups.push_back({1267, WebServerRows(L"KS")});
        groups.push_back({1268, ServiceRows(L"KS")});
    }
    if (StartsWithAny(productName, kZorvexXmlLines)) {
        groups.push_back({1269, WebServerRows(L"ZXML")});
        groups.push_back({1270, ServiceRows(L"ZXML")});
    }
    if (StartsWithAny(productName, kMuntacLines)) {
        groups.push_back({1325, WebServerRows(L"MN")});
        groups.push_back({1326, ServiceRows(L"MN")});
    }
    if (StartsWithAny(productName, kZorvexXbrlLines)) {
        groups.push_back({1271, WebServerRows(L"ZXBRL")});
        groups.push_back({1272, ServiceRows(L"ZXBRL")});
    }
    if (StartsWithAny(productName, kHalvoraLines)) {
        groups.push_back({1273, AdminInterfaceRows(L"HVSAdmin")});
        groups.push_back({1274, AdminInterfaceRows(L"HVSClient")});
        groups.push_back({1275,
                          {{L"HVS_SSLWebServer_Certificate", kValueCertificate, kDescriptionCertificate},
                           {L"HVS_SSLWebServer_PrivateKey", kValuePrivateKey, kDescriptionPrivateKey}}});
        groups.push_back({1278, ServiceRows(L"HVS")});
    }
    return groups;
}

} // namespace

UsageTable BuildUsageTable(const UsageFacts& facts, const StringLoader& load) {
    const auto word = [&load](int id) { return L"<" + load(id) + L">"; };

    UsageTable table;
    table.options.resize(OptionRowCount);
    table.options[Language] = {L"lang=" + word(kWordLanguageName), 1048, 1049};
    table.options[Level] = {L"/q[n|r|f|b][+]", 1050, 1051};
    table.options[Logging] = {L"/L[i|w|e|a|r|u|c|m|o|v|x|*|+|!] " + word(kWordLogFile), 1052, 1053};
    table.options[StatusFile] = {L"/m " + word(kWordMifFile), 1054, 1055};
    const std::wstring packageName = word(kWordPackageNamePart);
    table.options[SubPackages] = {L"SubPackages=all|none|" + packageName + L"{," + packageName + L"}", 1056,
                                  1057};
    table.options[Transforms] = {L"TRANSFORMS=" + word(kWordTransforms), 1058, 1059};
    table.options[Property] = {word(kWordProperty) + L"=" + word(kWordValue), 1060, 1061};

    std::vector<size_t> installList;
    if (facts.carriesGermanMainPackage)
        installList.push_back(Language);
    installList.insert(installList.end(), {Level, Logging, StatusFile});
    if (facts.packageCount > 1)
        installList.push_back(SubPackages);
    installList.insert(installList.end(), {Transforms, Property});

    table.commands = {
        {L"/h", 1062, {}},
        {L"", 1063, installList},
        {L"/f[p|o|e|d|c|a|u|m|s|v]", 1065, installList},
        {L"/x", 1066, installList},
        {L"/a", 1064, installList},
        {L"/u", 1067, {}},
    };
    table.groups = PropertyGroups(facts.mainProductName);
    return table;
}

std::vector<std::wstring> UsagePropertyNames(const UsageTable& table) {
    std::vector<std::wstring> names;
    for (const auto& group : table.groups) {
        for (const auto& row : group.rows)
            names.push_back(row.name);
    }
    return names;
}
