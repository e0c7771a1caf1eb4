#include "prerequisites/MosquittoRules.h"

#include "launcher/SetupMode.h"
#include "server/ServerDataSettings.h"

namespace Mosquitto {

namespace {

constexpr BrokerInstaller kInstaller64{L"MOSQUITTO_INSTALLER_WIN64",
                                       L"mosquitto-2.0.15-install-windows-x64.exe"};
constexpr BrokerInstaller kInstaller32{L"MOSQUITTO_INSTALLER_WIN32",
                                       L"mosquitto-2.0.15-install-windows-x86.exe"};

} // namespace

bool PassesOn(const SetupMode& mode, bool interactive) {
    return mode.IsUninstall() || !interactive;
}

BrokerInstaller InstallerFor(bool is64BitProcessor) {
    return is64BitProcessor ? kInstaller64 : kInstaller32;
}

std::wstring TargetPath(std::wstring_view mainPackageFolder, const BrokerInstaller& installer) {
    return ServerData::InFolder(mainPackageFolder, installer.fileName);
}

} // namespace Mosquitto
