// The decisions of the MQTT broker page that need no window: whether it passes on, which embedded broker
// installer the processor takes and where it is written, and whether a written installer is run. The page
// finds and writes the resource and runs the file on its worker.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

struct SetupMode;

namespace Mosquitto {

inline constexpr int kLaunchCommand = 1544;
// A named resource type, not the numeric type of the package resources.
inline constexpr std::wstring_view kInstallerResourceType = L"40";
// The page polls its worker's running flag this often while it serves the wizard's messages.
inline constexpr unsigned kRunningPollMs = 10;
inline constexpr std::wstring_view kWorkerCreatedLogLine = L"VNT (c): Created InstallMosquittoThread\r\n";

// The page has nothing to offer on an uninstall or in a run without the wizard's window.
bool PassesOn(const SetupMode& mode, bool interactive);

struct BrokerInstaller {
    std::wstring_view resourceName;
    std::wstring_view fileName;
};
// By the native processor architecture (PROCESSOR_ARCHITECTURE_*): AMD64, ARM64 and IA-64 take the
// 64-bit installer, everything else the 32-bit one (which this launcher does not carry).
BrokerInstaller InstallerFor(uint16_t nativeArchitecture);

// The file the installer is written to, in the main package's folder; empty without a folder.
std::wstring TargetPath(std::wstring_view mainPackageFolder, const BrokerInstaller& installer);

// After the write: a file written whole is run, and so is one whose write failed for any reason but a
// full disk (lastError is the platform's error of the failed write).
bool RunsAfterWrite(bool written, uint32_t lastError);

} // namespace Mosquitto
