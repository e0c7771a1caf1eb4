#include "server/ServerFacts_win.h"

#include "launcher/SystemInfo_win.h"
#include "server/ServiceInfo_win.h"

#include <shlobj.h>

std::optional<ServiceFacts> WindowsServerFacts::QueryService(const std::wstring& serviceName) {
    const ServiceInfo service(serviceName);
    if (!service.Exists())
        return std::nullopt;
    return ServiceFacts{static_cast<int>(service.StartType()), service.DelayedStart(), service.RawAccount()};
}

std::wstring WindowsServerFacts::DataFolder() {
    if (!dataFolder_)
        dataFolder_ = LauncherBaseFolder();
    return *dataFolder_;
}

std::wstring WindowsServerFacts::ProgramFolder() {
    wchar_t folder[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_PROGRAM_FILES, nullptr, SHGFP_TYPE_CURRENT, folder)))
        return {};
    return folder;
}

bool WindowsServerFacts::Exists(const std::wstring& path) {
    return !path.empty() && GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}
