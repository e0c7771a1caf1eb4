#include "prerequisites/WebView2Runtime_win.h"

#include "support/Registry_win.h"

namespace WebView2 {

namespace {

std::optional<std::wstring> ReadVersionValue(const RuntimeKey& where) {
    HKEY root = where.hive == RegistryHive::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
    const RegistryKey key = RegistryKey::Open(root, std::wstring(kRuntimeClientKey),
                                              where.view32 ? RegistryView::Bits32 : RegistryView::Default);
    if (!key.IsOpen())
        return std::nullopt;
    return key.ReadString(std::wstring(kRuntimeVersionValue));
}

} // namespace

bool GetAvailableRuntimeVersion(std::wstring& version) {
    std::optional<std::wstring> found = InstalledRuntimeVersion(ReadVersionValue);
    if (!found)
        return false;
    version = std::move(*found);
    return true;
}

bool CompareVersions(const std::wstring& a, const std::wstring& b, int& result) {
    const std::optional<int> order = CompareVersionText(a, b);
    if (!order)
        return false;
    result = *order;
    return true;
}

bool RegistryRuntimeLoader::GetAvailableRuntimeVersion(std::wstring& version) {
    return WebView2::GetAvailableRuntimeVersion(version);
}

bool RegistryRuntimeLoader::CompareVersions(const std::wstring& a, const std::wstring& b, int& result) {
    return WebView2::CompareVersions(a, b, result);
}

} // namespace WebView2
