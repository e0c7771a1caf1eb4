#include "server/ServiceConfigurationProperties.h"

#include "support/Format.h"

#include <algorithm>
#include <map>

namespace {

class PropertyWriter {
public:
    explicit PropertyWriter(ServicePropertyText& out) : out_(out) {}

    // Values go in as they are: a double quote inside one is not escaped, the installers read it so.
    void Write(const std::wstring& prefix, const wchar_t* suffix, const std::wstring& value, bool quoted) {
        const std::wstring name = prefix + suffix;
        out_.text += name + L"=";
        out_.text += quoted ? L"\"" + value + L"\"" : value;
        out_.text += L" ";
        out_.written.insert(name);
    }
    void Write(const std::wstring& prefix, const wchar_t* suffix, int number) {
        Write(prefix, suffix, Format(L"%d", number), false);
    }
    void Write(const std::wstring& prefix, const wchar_t* suffix, bool flag) {
        Write(prefix, suffix, std::wstring(flag ? L"1" : L"0"), false);
    }

private:
    ServicePropertyText& out_;
};

void WriteRecord(PropertyWriter& out, const ServerConfiguration& record, const std::wstring& password,
                 const ProtectPassword& protect) {
    const std::wstring& entry = record.prefix;
    const std::wstring service = record.ServicePrefix();
    out.Write(entry, L"_WebServer_Port", record.webPort);
    out.Write(entry, L"_WebServer_Host", record.webHost, true);
    out.Write(entry, L"_WebServer_Enabled", record.webEnabled);
    if (record.sslAvailable) {
        out.Write(entry, L"_SSLWebServer_Port", record.sslPort);
        out.Write(entry, L"_SSLWebServer_Host", record.sslHost, true);
        out.Write(entry, L"_SSLWebServer_Enabled", record.sslEnabled);
        // Placeholders never reach the installer: only paths read, given or chosen.
        if (record.certificateSet)
            out.Write(service, L"_SSLWebServer_Certificate", record.certificate, true);
        if (record.privateKeySet)
            out.Write(service, L"_SSLWebServer_PrivateKey", record.privateKey, true);
        if (record.chainSet)
            out.Write(service, L"_SSLWebServer_CertificateChain", record.certificateChain, true);
    }
    out.Write(service, L"_Service_StartType", std::wstring(StartTypePropertyValue(record.startType)), true);
    out.Write(service, L"_Service_Username", record.AccountText(), true);
    if (record.accountKind == AccountKind::OtherUser)
        out.Write(service, L"_Service_Password", protect ? protect(password) : password, true);
}

std::wstring_view NameOf(const std::wstring& property) {
    const size_t equals = property.find(L'=');
    return equals == std::wstring::npos ? std::wstring_view() : std::wstring_view(property).substr(0, equals);
}

} // namespace

std::optional<ServicePropertyText> BuildServiceProperties(std::vector<ServerConfiguration>& records,
                                                          const PackageSelected& selected,
                                                          const ProtectPassword& protect,
                                                          const AskPassword& askPassword) {
    ServicePropertyText result;
    PropertyWriter out(result);
    std::map<size_t, std::wstring> asked; // by record index, stored once the text is whole
    for (size_t i = 0; i < records.size(); ++i) {
        const ServerConfiguration& record = records[i];
        if (!selected(record.package))
            continue;
        std::wstring password = record.password;
        if (record.accountKind == AccountKind::OtherUser && password.empty()) {
            std::optional<std::wstring> given = askPassword ? askPassword(record) : std::nullopt;
            if (!given)
                return std::nullopt;
            password = *given;
            asked[i] = password;
        }
        WriteRecord(out, record, password, protect);
    }
    for (auto& [index, password] : asked)
        records[index].password = std::move(password);
    return result;
}

void RemoveWrittenProperties(std::vector<std::wstring>& commandLineProperties,
                             const std::set<std::wstring>& written) {
    std::vector<std::wstring> collected;
    for (const std::wstring& property : commandLineProperties) {
        const std::wstring_view name = NameOf(property);
        if (!name.empty() && written.contains(std::wstring(name)))
            collected.push_back(property);
    }
    for (const std::wstring& property : collected) {
        const auto found = std::find(commandLineProperties.begin(), commandLineProperties.end(), property);
        if (found != commandLineProperties.end())
            commandLineProperties.erase(found);
    }
}

std::optional<std::wstring> BuildServiceConfiguration(std::vector<ServerConfiguration>& records,
                                                      const PackageSelected& selected,
                                                      const ProtectPassword& protect,
                                                      const AskPassword& askPassword,
                                                      std::vector<std::wstring>& commandLineProperties) {
    std::optional<ServicePropertyText> built =
        BuildServiceProperties(records, selected, protect, askPassword);
    if (!built)
        return std::nullopt;
    RemoveWrittenProperties(commandLineProperties, built->written);
    return std::move(built->text);
}
