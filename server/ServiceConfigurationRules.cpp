#include "server/ServiceConfigurationRules.h"

#include "StringIds.h"
#include "server/ServerConfigurationList.h"
#include "support/Format.h"
#include "support/StringUtil.h"

namespace {

// The offline companion server's service starts delayed unless the command line chose its start type.
constexpr wchar_t kCompanionStartTypeProperty[] = L"KS_Service_StartType=";
constexpr wchar_t kCompanionDelayedStart[] = L"KS_Service_StartType=auto-delayed";

void ApplyServiceSuffix(ServerConfiguration& record, std::wstring_view suffix, const std::wstring& value) {
    if (EqualsNoCase(suffix, L"Service_DisplayName")) {
        record.serviceDisplayName = value;
    } else if (EqualsNoCase(suffix, L"Service_StartType")) {
        if (const int startType = StartTypeFromPropertyValue(value))
            record.startType = startType;
    } else if (EqualsNoCase(suffix, L"Service_Username")) {
        record.SetAccount(value);
    } else if (suffix == L"Service_Password") {
        record.password = value;
    } else if (EqualsNoCase(suffix, L"SSLWebServer_Certificate")) {
        record.certificate = value;
        record.certificateSet = true;
    } else if (EqualsNoCase(suffix, L"SSLWebServer_PrivateKey")) {
        record.privateKey = value;
        record.privateKeySet = true;
    } else if (EqualsNoCase(suffix, L"SSLWebServer_CertificateChain")) {
        record.certificateChain = value;
        record.chainSet = true;
    }
}

void ApplyEntrySuffix(ServerConfiguration& record, std::wstring_view suffix, const std::wstring& value) {
    if (EqualsNoCase(suffix, L"WebServer_Port"))
        record.webPort = LeadingDecimal(value);
    else if (EqualsNoCase(suffix, L"WebServer_Host"))
        record.webHost = value;
    else if (EqualsNoCase(suffix, L"WebServer_Enabled"))
        record.webEnabled = LeadingDecimal(value) != 0;
    else if (EqualsNoCase(suffix, L"SSLWebServer_Port"))
        record.sslPort = LeadingDecimal(value);
    else if (EqualsNoCase(suffix, L"SSLWebServer_Host"))
        record.sslHost = value;
    else if (EqualsNoCase(suffix, L"SSLWebServer_Enabled"))
        record.sslEnabled = LeadingDecimal(value) != 0;
}

// "port number: 8080", or "disabled"; the number bold when the port changed, everything bold when the
// server was switched.
Summary ConnectionSummary(bool enabled, int port, bool initialEnabled, int initialPort) {
    const bool switched = enabled != initialEnabled;
    if (!enabled)
        return {{StringId::StatusDisabled, {}, switched}};
    return {{StringId::PortNumber, {}, switched},
            {0, L": ", switched},
            {0, Format(L"%d", port), switched || port != initialPort}};
}

unsigned AccountNameId(int accountKind) {
    switch (accountKind) {
    case AccountKind::LocalSystem:
        return StringId::LocalSystem;
    case AccountKind::LocalService:
        return StringId::LocalService;
    case AccountKind::NetworkService:
        return StringId::NetworkService;
    default:
        return 0;
    }
}

} // namespace

std::vector<std::wstring> WorkingProperties(const std::vector<std::wstring>& commandLineProperties,
                                            const PackageList& packages) {
    std::vector<std::wstring> properties = commandLineProperties;
    bool carriesOfflineCompanion = false;
    for (const PackageInfo& package : packages)
        carriesOfflineCompanion = carriesOfflineCompanion || package.IsCompanionOfflinePackage();
    if (!carriesOfflineCompanion)
        return properties;
    for (const std::wstring& property : properties) {
        if (property.starts_with(kCompanionStartTypeProperty))
            return properties;
    }
    properties.push_back(kCompanionDelayedStart);
    return properties;
}

void ApplyProperty(std::vector<ServerConfiguration>& records, std::wstring_view property) {
    const size_t equals = property.find(L'=');
    if (equals == std::wstring_view::npos)
        return;
    const std::wstring_view name = property.substr(0, equals);
    const size_t underscore = name.find(L'_');
    if (underscore == std::wstring_view::npos)
        return;
    const std::wstring_view prefix = name.substr(0, underscore);
    const std::wstring_view suffix = name.substr(underscore + 1);
    std::wstring value = Trim(property.substr(equals + 1));
    if (value.size() >= 2 && value.front() == L'"' && value.back() == L'"')
        value = value.substr(1, value.size() - 2);

    for (ServerConfiguration& record : records) {
        if (EqualsNoCase(prefix, record.ServicePrefix()))
            ApplyServiceSuffix(record, suffix, value);
        if (EqualsNoCase(prefix, record.prefix))
            ApplyEntrySuffix(record, suffix, value);
    }
}

std::vector<size_t> TabRecords(const std::vector<ServerConfiguration>& records,
                               const PackageSelected& selected) {
    std::vector<size_t> tabs;
    for (size_t i = 0; i < records.size(); ++i) {
        if (selected(records[i].package))
            tabs.push_back(i);
    }
    return tabs;
}

std::vector<size_t> PrepareFirstTime(std::vector<ServerConfiguration>& records,
                                     const PackageSelected& selected,
                                     const std::vector<std::wstring>& commandLineProperties,
                                     const PackageList& packages) {
    LinkInterfaces(records);
    std::vector<size_t> tabs = TabRecords(records, selected);
    if (tabs.empty())
        return tabs;
    for (const std::wstring& property : WorkingProperties(commandLineProperties, packages))
        ApplyProperty(records, property);
    // Taken after the command line, so that only the user's own edits show in bold.
    for (ServerConfiguration& record : records)
        record.TakeInitialValues();
    return tabs;
}

unsigned StartTypeNameId(int startType) {
    switch (startType) {
    case ServiceStartType::Automatic:
        return StringId::StartTypeAutomatic;
    case ServiceStartType::OnDemand:
        return StringId::StartTypeOnDemand;
    case ServiceStartType::AutomaticDelayed:
        return StringId::StartTypeAutomaticDelayed;
    case ServiceStartType::Disabled:
        return StringId::StartTypeDisabled;
    default:
        return 0;
    }
}

TabSummaries SummariesOf(const ServerConfiguration& record) {
    const ServerInitialValues& initial = record.initial;
    TabSummaries summaries;
    summaries.unencrypted =
        ConnectionSummary(record.webEnabled, record.webPort, initial.webEnabled, initial.webPort);
    summaries.sslShown = record.sslAvailable;
    if (summaries.sslShown)
        summaries.ssl =
            ConnectionSummary(record.sslEnabled, record.sslPort, initial.sslEnabled, initial.sslPort);
    summaries.serviceShown = record.hasService;
    if (summaries.serviceShown) {
        const bool accountChanged =
            record.accountKind != initial.accountKind || record.userName != initial.userName;
        const unsigned accountId = AccountNameId(record.accountKind);
        summaries.service = {
            {StringId::StartType, {}, false},
            {0, L": ", false},
            {StartTypeNameId(record.startType), {}, record.startType != initial.startType},
            {0, L", ", false},
            {StringId::LogonAccount, {}, false},
            {0, L": ", false},
            {accountId, accountId ? std::wstring() : L"\"" + record.userName + L"\"", accountChanged},
        };
    }
    return summaries;
}

std::wstring SummaryText(const Summary& summary, const std::function<std::wstring(unsigned)>& loadString) {
    std::wstring text;
    for (const SummaryPiece& piece : summary)
        text += piece.stringId ? loadString(piece.stringId) : piece.text;
    return text;
}

std::vector<std::wstring> RecordsWithoutConnection(const std::vector<ServerConfiguration>& records,
                                                   const PackageSelected& selected) {
    std::vector<std::wstring> names;
    for (const ServerConfiguration& record : records) {
        if (selected(record.package) && record.sslAvailable && !record.webEnabled && !record.sslEnabled)
            names.push_back(record.name);
    }
    return names;
}

void ApplyConnectionEdit(std::vector<ServerConfiguration>& records, size_t index,
                         const ConnectionEdit& edit) {
    ServerConfiguration& record = records[index];
    const int port = LeadingDecimal(edit.portText);
    if (!edit.ssl) {
        record.webEnabled = edit.enabled;
        record.webPort = port;
        return;
    }
    record.sslEnabled = edit.enabled;
    record.sslPort = port;
    // The files belong to the service: the client interface of the main server edits the admin's.
    ServerConfiguration& owner = records[record.serviceOwner];
    const auto take = [](std::wstring& path, bool& set, const std::wstring& chosen) {
        if (chosen != path) {
            path = chosen;
            set = true;
        }
    };
    take(owner.certificate, owner.certificateSet, edit.certificate);
    take(owner.privateKey, owner.privateKeySet, edit.privateKey);
    take(owner.certificateChain, owner.chainSet, edit.certificateChain);
}

void ApplyServiceEdit(ServerConfiguration& record, const ServiceEdit& edit) {
    record.startType = edit.startType;
    record.accountKind = edit.accountKind;
    record.userName = edit.userName;
    record.password = edit.password;
}
