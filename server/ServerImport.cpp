#include "server/ServerImport.h"

#include "support/Format.h"
#include "support/IniFile.h"
#include "support/StringUtil.h"
#include "support/XmlIniFile.h"

#include <span>

namespace {

enum class Field {
    WebPort,
    WebHost,
    WebEnabled,
    SslPort,
    SslHost,
    SslEnabled,
    Certificate,
    PrivateKey,
    Chain
};
enum class Conversion { Number, Flag, XmlFlag, Text, Path };

struct KeyBinding {
    const wchar_t* key;
    Field field;
    Conversion conversion;
};

const KeyBinding kHalvoraAdminKeys[] = {
    {L"ListenAdmin::port", Field::WebPort, Conversion::Number},
    {L"ListenAdmin::active", Field::WebEnabled, Conversion::Flag},
    {L"ListenAdminSSL::port", Field::SslPort, Conversion::Number},
    {L"ListenAdminSSL::active", Field::SslEnabled, Conversion::Flag},
};
const KeyBinding kMuntacKeys[] = {
    {L"MuntacServer::port", Field::WebPort, Conversion::Number},
    {L"MuntacServer::address", Field::WebHost, Conversion::Text},
};
const KeyBinding kListenKeys[] = {
    {L"Listen::port", Field::WebPort, Conversion::Number},
    {L"Listen::host", Field::WebHost, Conversion::Text},
    {L"Listen::active", Field::WebEnabled, Conversion::Flag},
    {L"ListenSSL::port", Field::SslPort, Conversion::Number},
    {L"ListenSSL::host", Field::SslHost, Conversion::Text},
    {L"ListenSSL::active", Field::SslEnabled, Conversion::Flag},
};
const KeyBinding kIniCertificateKeys[] = {
    {L"SSL::certificate", Field::Certificate, Conversion::Path},
    {L"SSL::private_key", Field::PrivateKey, Conversion::Path},
    {L"SSL::certificate_Chain", Field::Chain, Conversion::Path},
};
const KeyBinding kXmlKeys[] = {
    {L"http.socket-port", Field::WebPort, Conversion::Number},
    {L"http.socket-host", Field::WebHost, Conversion::Text},
    {L"http.enable", Field::WebEnabled, Conversion::XmlFlag},
    {L"https.socket-port", Field::SslPort, Conversion::Number},
    {L"https.socket-host", Field::SslHost, Conversion::Text},
    {L"https.enable", Field::SslEnabled, Conversion::XmlFlag},
    {L"https.certificate", Field::Certificate, Conversion::Path},
    {L"https.private-key", Field::PrivateKey, Conversion::Path},
    {L"https.certificate-chain", Field::Chain, Conversion::Path},
};

// A path field with its set flag, so that the three certificate files share one rule.
struct PathField {
    std::wstring& path;
    bool& set;
};
PathField PathFieldOf(ServerConfiguration& record, Field field) {
    switch (field) {
    case Field::Certificate:
        return {record.certificate, record.certificateSet};
    case Field::PrivateKey:
        return {record.privateKey, record.privateKeySet};
    default:
        return {record.certificateChain, record.chainSet};
    }
}

void Apply(ServerConfiguration& record, const KeyBinding& binding, const std::wstring& value, bool setsPaths,
           const PathExists& exists) {
    switch (binding.field) {
    case Field::WebPort:
        record.webPort = ConfigNumber(value);
        return;
    case Field::SslPort:
        record.sslPort = ConfigNumber(value);
        return;
    case Field::WebHost:
        record.webHost = value;
        return;
    case Field::SslHost:
        record.sslHost = value;
        return;
    case Field::WebEnabled:
    case Field::SslEnabled: {
        const bool on = binding.conversion == Conversion::XmlFlag ? ConfigXmlFlag(value) : ConfigFlag(value);
        (binding.field == Field::WebEnabled ? record.webEnabled : record.sslEnabled) = on;
        return;
    }
    default: {
        PathField target = PathFieldOf(record, binding.field);
        target.path = ConfigPath(value);
        // An XML file's certificate is shown but not passed on: the installer keeps its own setting then.
        if (setsPaths && exists && exists(target.path))
            target.set = true;
        return;
    }
    }
}

void ReadKeys(ServerConfiguration& record, const ICBSIniFileBase& file, std::span<const KeyBinding> keys,
              bool setsPaths, const PathExists& exists) {
    for (const KeyBinding& binding : keys) {
        if (file.HasValue(binding.key))
            Apply(record, binding, file.GetValue(binding.key), setsPaths, exists);
    }
}

// Where an entry's file lies: below the data or the program folder, with the release between two parts
// when the folder name carries it.
struct FileLocation {
    const wchar_t* entryName;
    bool inProgramFolder;
    const wchar_t* beforeRelease;
    const wchar_t* afterRelease; // null: the path carries no release
};

const FileLocation kFileLocations[] = {
    {ServerEntry::Kestrum, false, L"\\Kestrum\\server.cfg", nullptr},
    {ServerEntry::HalvoraAdmin, false, L"\\HalvoraServer\\halvoraserver.cfg", nullptr},
    {ServerEntry::HalvoraClient, false, L"\\HalvoraServer\\halvoraserver.cfg", nullptr},
    {ServerEntry::Muntac, false, L"\\MuntacServer", L"\\server_config.ini"},
    {ServerEntry::ZorvexXml, true, L"\\Quenlis\\ZorvexXMLServer", L"\\etc\\server_config.xml"},
    {ServerEntry::ZorvexXbrl, true, L"\\Quenlis\\ZorvexXMLXBRLServer", L"\\etc\\server_config.xml"},
};

// How many releases the path search goes back: a file left by the previous two releases still counts.
constexpr int kReleaseCandidates = 3;

} // namespace

void ApplyServiceFacts(ServerConfiguration& record, const ServiceFacts& service) {
    record.startType = service.startType == ServiceStartType::Automatic && service.delayedStart
                           ? ServiceStartType::AutomaticDelayed
                           : service.startType;
    std::wstring account = service.account;
    if (account.starts_with(L".\\"))
        account.erase(0, 2);
    record.SetAccount(account);
    record.password.clear();
}

ConfigurationFormat FormatOf(std::wstring_view entryName) {
    return entryName == ServerEntry::ZorvexXml || entryName == ServerEntry::ZorvexXbrl
               ? ConfigurationFormat::Xml
               : ConfigurationFormat::Ini;
}

void ImportConfigurationFile(ServerConfiguration& record, const ICBSIniFileBase& file,
                             const PathExists& exists) {
    if (!file.IsLoaded())
        return;
    if (FormatOf(record.entryName) == ConfigurationFormat::Xml) {
        ReadKeys(record, file, kXmlKeys, false, exists);
        return;
    }
    if (record.entryName == ServerEntry::HalvoraAdmin)
        ReadKeys(record, file, kHalvoraAdminKeys, true, exists);
    else if (record.entryName == ServerEntry::Muntac)
        ReadKeys(record, file, kMuntacKeys, true, exists);
    else
        ReadKeys(record, file, kListenKeys, true, exists);
    ReadKeys(record, file, kIniCertificateKeys, true, exists);
}

std::wstring ProgramFolderFor(std::wstring_view productName, std::wstring_view programFolder) {
    constexpr std::wstring_view kX86Suffix = L" (x86)";
    if (productName.find(L"x64") != std::wstring_view::npos && programFolder.ends_with(kX86Suffix))
        programFolder.remove_suffix(kX86Suffix.size());
    return std::wstring(programFolder);
}

std::wstring ResolveReleasePath(std::wstring_view before, std::wstring_view release, std::wstring_view after,
                                const PathExists& exists) {
    // The release read as atoi would: a text without digits counts as release 0.
    const int newest = LeadingDecimal(release);
    for (int step = 0; step < kReleaseCandidates; ++step) {
        std::wstring candidate = std::wstring(before) + Format(L"%d", newest - step) + std::wstring(after);
        if (exists && exists(candidate))
            return candidate;
    }
    return std::wstring(before) + std::wstring(release) + std::wstring(after);
}

std::wstring ConfigurationFilePath(std::wstring_view entryName, std::wstring_view release,
                                   const FolderSource& folders, const PathExists& exists) {
    for (const FileLocation& location : kFileLocations) {
        if (entryName != location.entryName)
            continue;
        const auto& folder = location.inProgramFolder ? folders.programFolder : folders.dataFolder;
        const std::wstring base = (folder ? folder() : std::wstring()) + location.beforeRelease;
        if (!location.afterRelease)
            return base;
        return ResolveReleasePath(base, release, location.afterRelease, exists);
    }
    return {};
}

int ConfigNumber(std::wstring_view text) {
    return LeadingDecimal(Trim(text));
}

bool ConfigFlag(std::wstring_view text) {
    return ConfigNumber(text) != 0;
}

bool ConfigXmlFlag(std::wstring_view text) {
    return Trim(text) == L"1";
}

std::wstring ConfigPath(std::wstring_view text) {
    return Trim(text);
}

std::unique_ptr<ICBSIniFileBase> OpenConfigurationFile(const std::wstring& path, ConfigurationFormat format) {
    if (format == ConfigurationFormat::Xml)
        return std::make_unique<ICBSXMLIniFile>(path);
    return std::make_unique<ICBSIniFile>(path);
}
