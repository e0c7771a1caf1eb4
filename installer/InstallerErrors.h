// How the launcher reads the error codes that Windows Installer returns.
#pragma once

#include <cstdint>

namespace InstallerError {
constexpr uint32_t Success = 0;
constexpr uint32_t UserExit = 1602;
constexpr uint32_t InstallFailure = 1603;
constexpr uint32_t BadPackage = 1620;
constexpr uint32_t ForbiddenByPolicy = 1625;
constexpr uint32_t PlatformUnsupported = 1633;
constexpr uint32_t ProductVersionInstalled = 1638;
constexpr uint32_t RebootInitiated = 1641;
constexpr uint32_t RebootRequired = 3010;
constexpr uint32_t RebootRequiredAtStart = 3011;
} // namespace InstallerError

// A restart that was started or is needed counts as success.
constexpr bool IsInstallerSuccess(uint32_t error) {
    return error == InstallerError::Success || error == InstallerError::RebootInitiated ||
           error == InstallerError::RebootRequired || error == InstallerError::RebootRequiredAtStart;
}
