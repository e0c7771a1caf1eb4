#include "server/ServerConfiguration.h"

#include "StringIds.h"
#include "support/Format.h"
#include "support/StringUtil.h"

#include <array>

namespace {

// One row of defaults. A null service name means the entry name; a display name with release appended
// gets " " and the release number after it, a null one is the default (entry name, space, release).
struct EntryRow {
    const wchar_t* entryName;
    const wchar_t* prefix;
    const wchar_t* serviceName;
    const wchar_t* displayName;
    bool displayNameWithRelease;
    int webPort;
    int sslPort;
    int startType;
    bool hasService = true;
    bool sslAvailable = true;
    bool webSwitchHidden = false;
};

// The ZorvexXML servers' own SSL default: 463, not the usual 443.
constexpr int kZorvexSslPort = 463;

const EntryRow kEntryRows[] = {
    {ServerEntry::Kestrum, L"KS", L"QuenlisKestrum", L"Quenlis Kestrum", true, 8088, 8090,
     ServiceStartType::Automatic},
    {ServerEntry::HalvoraAdmin, kAdminInterfacePrefix, L"QuenlisHalvoraServer", L"Quenlis Halvora Server",
     false, 8085, 8086, ServiceStartType::Automatic},
    {ServerEntry::HalvoraClient, kClientInterfacePrefix, nullptr, nullptr, false, 8083, 8084,
     ServiceStartType::Automatic, false},
    {ServerEntry::ZorvexXml, L"ZXML", L"QuenlisZorvexXMLServer", L"Quenlis ZorvexXML Server", true, 8087,
     kZorvexSslPort, ServiceStartType::OnDemand},
    {ServerEntry::ZorvexXbrl, L"ZXBRL", L"QuenlisZorvexXMLXBRLServer", L"Quenlis ZorvexXML+XBRL Server", true,
     8087, kZorvexSslPort, ServiceStartType::OnDemand},
    {ServerEntry::Muntac, L"MN", L"QuenlisMuntacServer", L"Quenlis Muntac Server", true, 29800, 8083,
     ServiceStartType::Automatic, true, false, true},
};

// Which packages are servers, by parts of their product names, tried in this order. "ZorvexXML Server"
// does not match "ZorvexXML+XBRL Server", so the order of those two rows does not matter; a Muntac
// package that names a client is not the server.
struct PackageRule {
    const wchar_t* contains;
    const wchar_t* unless; // null: no exclusion
    std::span<const ServerEntryOfPackage> entries;
};

const ServerEntryOfPackage kKestrumEntries[] = {{ServerEntry::Kestrum, 0}};
// The admin interface comes first: the client shares its service.
const ServerEntryOfPackage kHalvoraEntries[] = {{ServerEntry::HalvoraAdmin, StringId::AdminInterface},
                                                {ServerEntry::HalvoraClient, StringId::ClientInterface}};
const ServerEntryOfPackage kZorvexXmlEntries[] = {{ServerEntry::ZorvexXml, 0}};
const ServerEntryOfPackage kZorvexXbrlEntries[] = {{ServerEntry::ZorvexXbrl, 0}};
const ServerEntryOfPackage kMuntacEntries[] = {{ServerEntry::Muntac, 0}};

const PackageRule kPackageRules[] = {
    {L"Kestrum", nullptr, kKestrumEntries},
    {L"Halvora Server", nullptr, kHalvoraEntries},
    {L"ZorvexXML Server", nullptr, kZorvexXmlEntries},
    {L"ZorvexXML+XBRL Server", nullptr, kZorvexXbrlEntries},
    {L"Muntac Server", L"Client", kMuntacEntries},
};

struct StartTypeValue {
    int startType;
    const wchar_t* text;
};
const StartTypeValue kStartTypeValues[] = {
    {ServiceStartType::Automatic, L"auto"},
    {ServiceStartType::OnDemand, L"demand"},
    {ServiceStartType::AutomaticDelayed, L"auto-delayed"},
    {ServiceStartType::Disabled, L"disabled"},
};

const EntryRow* FindRow(std::wstring_view entryName) {
    for (const EntryRow& row : kEntryRows) {
        if (entryName == row.entryName)
            return &row;
    }
    return nullptr;
}

} // namespace

std::wstring ServerConfiguration::ServicePrefix() const {
    return prefix == kAdminInterfacePrefix ? L"HVS" : prefix;
}

void ServerConfiguration::TakeInitialValues() {
    initial = {startType, accountKind, userName,    password,   webPort,         webEnabled,
               sslPort,   sslEnabled,  certificate, privateKey, certificateChain};
}

void ServerConfiguration::SetAccount(const std::wstring& account) {
    if (account == kLocalSystemAccount) {
        accountKind = AccountKind::LocalSystem;
    } else if (account == kLocalServiceAccount) {
        accountKind = AccountKind::LocalService;
    } else if (account == kNetworkServiceAccount) {
        accountKind = AccountKind::NetworkService;
    } else {
        accountKind = AccountKind::OtherUser;
        userName = account;
    }
}

std::wstring ServerConfiguration::AccountText() const {
    switch (accountKind) {
    case AccountKind::LocalSystem:
        return kLocalSystemAccount;
    case AccountKind::LocalService:
        return kLocalServiceAccount;
    case AccountKind::NetworkService:
        return kNetworkServiceAccount;
    default:
        return userName;
    }
}

std::wstring_view StartTypePropertyValue(int startType) {
    for (const StartTypeValue& value : kStartTypeValues) {
        if (value.startType == startType)
            return value.text;
    }
    return {};
}

int StartTypeFromPropertyValue(std::wstring_view text) {
    for (const StartTypeValue& value : kStartTypeValues) {
        if (EqualsNoCase(text, value.text))
            return value.startType;
    }
    return 0;
}

ServerConfiguration MakeServerConfiguration(std::wstring_view entryName, std::wstring_view release,
                                            size_t package, size_t index, std::wstring_view label) {
    ServerConfiguration record;
    record.entryName = entryName;
    record.name = label.empty() ? std::wstring(entryName) : std::wstring(label);
    record.package = package;
    record.serviceOwner = index;
    record.serviceName = entryName;
    record.serviceDisplayName = std::wstring(entryName) + L" " + std::wstring(release);

    const EntryRow* row = FindRow(entryName);
    if (!row)
        return record;
    record.prefix = row->prefix;
    if (row->serviceName)
        record.serviceName = row->serviceName;
    if (row->displayName) {
        record.serviceDisplayName = row->displayName;
        if (row->displayNameWithRelease)
            record.serviceDisplayName += L" " + std::wstring(release);
    }
    record.webPort = row->webPort;
    record.sslPort = row->sslPort;
    record.startType = row->startType;
    record.hasService = row->hasService;
    record.sslAvailable = row->sslAvailable;
    record.webSwitchHidden = row->webSwitchHidden;
    return record;
}

std::wstring ReleaseNumberText(const PackageInfo& package) {
    const auto& products = package.Products();
    if (products.empty() || !products.front().HasVersion())
        return {};
    return Format(L"%d", products.front().Major());
}

std::span<const ServerEntryOfPackage> ServerEntriesOf(std::wstring_view productName) {
    for (const PackageRule& rule : kPackageRules) {
        if (productName.find(rule.contains) == std::wstring_view::npos)
            continue;
        if (rule.unless && productName.find(rule.unless) != std::wstring_view::npos)
            continue;
        return rule.entries;
    }
    return {};
}
