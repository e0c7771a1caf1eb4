#include "launcher/UsageTable.h"

#include "StringIds.h"
#include "launcher/ProductCatalog.h"

#include <string_view>

namespace {

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

// The plain and SSL web server rows every interface has; the SSL host and port take the given descriptions.
std::vector<UsageProperty> InterfaceRows(const std::wstring& p, int sslHostDescription,
                                         int sslPortDescription) {
    return {
        {p + L"_WebServer_Enabled", StringId::UsageValueZeroOrOne, StringId::UsageDescriptionEnabled},
        {p + L"_WebServer_Host", StringId::UsageValueHost, StringId::UsageDescriptionHost},
        {p + L"_WebServer_Port", StringId::UsageValuePort, StringId::UsageDescriptionPort},
        {p + L"_SSLWebServer_Enabled", StringId::UsageValueZeroOrOne, StringId::UsageDescriptionEnabled},
        {p + L"_SSLWebServer_Host", StringId::UsageValueSslHost, sslHostDescription},
        {p + L"_SSLWebServer_Port", StringId::UsageValueSslPort, sslPortDescription},
    };
}

std::vector<UsageProperty> WebServerRows(std::wstring_view prefix) {
    const std::wstring p(prefix);
    std::vector<UsageProperty> rows =
        InterfaceRows(p, StringId::UsageDescriptionHost, StringId::UsageDescriptionPort);
    rows.push_back({p + L"_SSLWebServer_Certificate", StringId::UsageValueCertificate,
                    StringId::UsageDescriptionCertificate});
    rows.push_back({p + L"_SSLWebServer_PrivateKey", StringId::UsageValuePrivateKey,
                    StringId::UsageDescriptionPrivateKey});
    return rows;
}

std::vector<UsageProperty> ServiceRows(std::wstring_view prefix) {
    const std::wstring p(prefix);
    return {
        {p + L"_Service_DisplayName", StringId::UsageValueDisplayName, StringId::UsageDescriptionDisplayName},
        {p + L"_Service_StartType", StringId::UsageValueStartType, StringId::UsageDescriptionStartType},
        {p + L"_Service_Username", StringId::UsageValueUserName, StringId::UsageDescriptionUserName},
        {p + L"_Service_Password", StringId::UsageValuePassword, StringId::UsageDescriptionPassword},
    };
}

// The admin interfaces of the main server have their own SSL host and port descriptions and no
// certificate rows; one certificate serves both of them.
std::vector<UsageProperty> AdminInterfaceRows(std::wstring_view prefix) {
    return InterfaceRows(std::wstring(prefix), StringId::UsageDescriptionSslHost,
                         StringId::UsageDescriptionSslPort);
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
        groups.push_back({StringId::UsageKestrumWebServer, WebServerRows(L"KS")});
        groups.push_back({StringId::UsageKestrumService, ServiceRows(L"KS")});
    }
    if (StartsWithAny(productName, kZorvexXmlLines)) {
        groups.push_back({StringId::UsageZorvexXmlWebServer, WebServerRows(L"ZXML")});
        groups.push_back({StringId::UsageZorvexXmlService, ServiceRows(L"ZXML")});
    }
    if (StartsWithAny(productName, kMuntacLines)) {
        groups.push_back({StringId::UsageMuntacWebServer, WebServerRows(L"MN")});
        groups.push_back({StringId::UsageMuntacService, ServiceRows(L"MN")});
    }
    if (StartsWithAny(productName, kZorvexXbrlLines)) {
        groups.push_back({StringId::UsageZorvexXbrlWebServer, WebServerRows(L"ZXBRL")});
        groups.push_back({StringId::UsageZorvexXbrlService, ServiceRows(L"ZXBRL")});
    }
    if (StartsWithAny(productName, kHalvoraLines)) {
        groups.push_back({StringId::UsageHalvoraServerAdmin, AdminInterfaceRows(L"HVSAdmin")});
        groups.push_back({StringId::UsageHalvoraClientAdmin, AdminInterfaceRows(L"HVSClient")});
        groups.push_back({StringId::UsageHalvoraSslCertificate,
                          {{L"HVS_SSLWebServer_Certificate", StringId::UsageValueCertificate,
                            StringId::UsageDescriptionCertificate},
                           {L"HVS_SSLWebServer_PrivateKey", StringId::UsageValuePrivateKey,
                            StringId::UsageDescriptionPrivateKey}}});
        groups.push_back({StringId::UsageHalvoraService, ServiceRows(L"HVS")});
    }
    return groups;
}

} // namespace

UsageTable BuildUsageTable(const UsageFacts& facts, const StringLoader& load) {
    const auto word = [&load](int id) { return L"<" + load(id) + L">"; };

    UsageTable table;
    table.options.resize(OptionRowCount);
    table.options[Language] = {L"lang=" + word(StringId::UsageWordLanguageName), StringId::UsageLanguage,
                               StringId::UsageLanguageDescription};
    table.options[Level] = {L"/q[n|r|f|b][+]", StringId::UsageLevel, StringId::UsageLevelDescription};
    table.options[Logging] = {L"/L[i|w|e|a|r|u|c|m|o|v|x|*|+|!] " + word(StringId::UsageWordLogFile),
                              StringId::UsageLogging, StringId::UsageLoggingDescription};
    table.options[StatusFile] = {L"/m " + word(StringId::UsageWordMifFile), StringId::UsageStatusFile,
                                 StringId::UsageStatusFileDescription};
    const std::wstring packageName = word(StringId::UsageWordPackageNamePart);
    table.options[SubPackages] = {L"SubPackages=all|none|" + packageName + L"{," + packageName + L"}",
                                  StringId::UsageSubPackages, StringId::UsageSubPackagesDescription};
    table.options[Transforms] = {L"TRANSFORMS=" + word(StringId::UsageWordTransforms),
                                 StringId::UsageTransforms, StringId::UsageTransformsDescription};
    table.options[Property] = {word(StringId::UsageWordProperty) + L"=" + word(StringId::UsageWordValue),
                               StringId::UsageProperty, StringId::UsagePropertyDescription};

    std::vector<size_t> installList;
    if (facts.carriesGermanMainPackage)
        installList.push_back(Language);
    installList.insert(installList.end(), {Level, Logging, StatusFile});
    if (facts.packageCount > 1)
        installList.push_back(SubPackages);
    installList.insert(installList.end(), {Transforms, Property});

    table.commands = {
        {L"/h", StringId::UsageHelp, {}},
        {L"", StringId::UsageInstall, installList},
        {L"/f[p|o|e|d|c|a|u|m|s|v]", StringId::UsageRepair, installList},
        {L"/x", StringId::UsageUninstall, installList},
        {L"/a", StringId::UsageAdministrative, installList},
        {L"/u", StringId::UsageExtractAll, {}},
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
