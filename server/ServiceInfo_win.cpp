#include "server/ServiceInfo_win.h"

#include "support/Registry_win.h"

#include <vector>

namespace {

constexpr wchar_t kLocalAccountPrefix[] = L".\\";
const std::wstring kServicesKey = L"SYSTEM\\CurrentControlSet\\Services\\";

// The two-call pattern of the QueryServiceConfig functions: the size first, then the data.
template <class Query> std::vector<BYTE> QueryBuffer(Query query) {
    DWORD needed = 0;
    query(nullptr, 0, &needed);
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || needed == 0)
        return {};
    std::vector<BYTE> buffer(needed);
    if (!query(buffer.data(), needed, &needed))
        return {};
    return buffer;
}

std::wstring Text(const wchar_t* text) {
    return text ? std::wstring(text) : std::wstring();
}

} // namespace

ServiceInfo::ServiceInfo(std::wstring serviceName) : serviceName_(std::move(serviceName)) {
    manager_.Attach(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
    if (manager_)
        service_.Attach(OpenServiceW(manager_.Get(), serviceName_.c_str(), SERVICE_ALL_ACCESS));
    if (service_)
        ReadConfiguration();
}

void ServiceInfo::ReadConfiguration() {
    SC_HANDLE service = service_.Get();
    const std::vector<BYTE> config = QueryBuffer([service](BYTE* data, DWORD size, DWORD* needed) {
        return QueryServiceConfigW(service, reinterpret_cast<QUERY_SERVICE_CONFIGW*>(data), size, needed) !=
               FALSE;
    });
    if (!config.empty()) {
        const auto* c = reinterpret_cast<const QUERY_SERVICE_CONFIGW*>(config.data());
        startType_ = c->dwStartType;
        displayName_ = Text(c->lpDisplayName);
        programPath_ = Text(c->lpBinaryPathName);
        rawAccount_ = Text(c->lpServiceStartName);
        account_ = rawAccount_.starts_with(kLocalAccountPrefix) ? rawAccount_.substr(2) : rawAccount_;
    }
    SERVICE_DELAYED_AUTO_START_INFO delayed{};
    DWORD needed = 0;
    if (QueryServiceConfig2W(service, SERVICE_CONFIG_DELAYED_AUTO_START_INFO,
                             reinterpret_cast<BYTE*>(&delayed), sizeof(delayed), &needed)) {
        delayedStart_ = delayed.fDelayedAutostart != FALSE;
    } else {
        // A manager that does not know the setting (Wine's) still has the value where Windows keeps it.
        const RegistryKey key =
            RegistryKey::Open(HKEY_LOCAL_MACHINE, kServicesKey + serviceName_, RegistryView::Default);
        delayedStart_ = key.ReadDword(L"DelayedAutostart").value_or(0) != 0;
    }
    const std::vector<BYTE> description = QueryBuffer([service](BYTE* data, DWORD size, DWORD* needed) {
        return QueryServiceConfig2W(service, SERVICE_CONFIG_DESCRIPTION, data, size, needed) != FALSE;
    });
    if (!description.empty())
        description_ = Text(reinterpret_cast<const SERVICE_DESCRIPTIONW*>(description.data())->lpDescription);
}
