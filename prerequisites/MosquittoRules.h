// The decisions of the MQTT broker page that need no window: whether it passes on, which embedded broker
// installer the processor takes and where it is written. The page finds and writes the resource and runs
// the file on its worker; only a file written whole is run.
#pragma once

#include "launcher/ManifestRules.h"

#include <cstdint>
#include <string>
#include <string_view>

struct SetupMode;

namespace Mosquitto {

inline constexpr int kLaunchCommand = 1544;
// A named resource type, not the numeric type of the package resources.
inline constexpr std::wstring_view kInstallerResourceType = kEmbeddedInstallerType;
// The page polls its worker's running flag this often while it serves the wizard's messages.
inline constexpr unsigned kRunningPollMs = 10;
inline constexpr std::wstring_view kWorkerCreatedLogLine = L"VNT (c): Created InstallMosquittoThread\r\n";

// The page has nothing to offer on an uninstall or in a run without the wizard's window.
bool PassesOn(const SetupMode& mode, bool interactive);

struct BrokerInstaller {
    std::wstring_view resourceName;
    std::wstring_view fileName;
};
// A 64-bit processor (AMD64, ARM64, IA-64) takes the 64-bit installer, any other the 32-bit one (which
// this launcher does not carry).
BrokerInstaller InstallerFor(bool is64BitProcessor);

// The file the installer is written to, in the main package's folder; empty without a folder.
std::wstring TargetPath(std::wstring_view mainPackageFolder, const BrokerInstaller& installer);

} // namespace Mosquitto
