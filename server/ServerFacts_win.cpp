#include "server/ServerFacts_win.h"

#include "launcher/SystemInfo_win.h"
#include "server/ServiceInfo_win.h"
#include "support/FileUtilities_win.h"

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
    return ICBSFileUtilities::KnownFolderPath(FOLDERID_ProgramFiles);
}

bool WindowsServerFacts::Exists(const std::wstring& path) {
    return !path.empty() && ICBSFileUtilities::Exists(path);
}
