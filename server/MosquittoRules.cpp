#include "server/MosquittoRules.h"

#include "launcher/OperatingSystem.h"
#include "launcher/SetupMode.h"
#include "server/ServerDataSettings.h"

namespace Mosquitto {

namespace {

constexpr BrokerInstaller kInstaller64{L"MOSQUITTO_INSTALLER_WIN64",
                                       L"mosquitto-2.0.15-install-windows-x64.exe"};
constexpr BrokerInstaller kInstaller32{L"MOSQUITTO_INSTALLER_WIN32",
                                       L"mosquitto-2.0.15-install-windows-x86.exe"};

// The platform's errors for a full disk.
constexpr uint32_t kHandleDiskFull = 39;
constexpr uint32_t kDiskFull = 112;

} // namespace

bool PassesOn(const SetupMode& mode, bool interactive) {
    return mode.IsUninstall() || !interactive;
}

BrokerInstaller InstallerFor(uint16_t nativeArchitecture) {
    return Is64BitArchitecture(nativeArchitecture) ? kInstaller64 : kInstaller32;
}

std::wstring TargetPath(std::wstring_view mainPackageFolder, const BrokerInstaller& installer) {
    return ServerData::InFolder(mainPackageFolder, installer.fileName);
}

bool RunsAfterWrite(bool written, uint32_t lastError) {
    return written || (lastError != kDiskFull && lastError != kHandleDiskFull);
}

} // namespace Mosquitto
