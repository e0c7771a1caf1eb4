// The outcome of a run: a result code (the process exit code), the installer or system error behind
// it, and whether it has been reported. Also the fixed table of result texts and message strings.
#pragma once

#include <cstdint>
#include <string>

namespace ResultCode {
constexpr int32_t Success = 0;
constexpr int32_t Corrupted = 1;
constexpr int32_t InstallFailed = 2;
constexpr int32_t UserCancelled = 3;
constexpr int32_t IncompatibleWindows = 4;
constexpr int32_t NoDirect2D = 5;
constexpr int32_t AlreadyRunning = 6;
constexpr int32_t NoAdminRights = 7;
constexpr int32_t OtherVersionInstalled = 8;
constexpr int32_t MsiFileNotFound = 9;
constexpr int32_t SixtyFourBitOnThirtyTwo = 10;
constexpr int32_t DiskFull = 11;
constexpr int32_t PackageInfoMissing = 13;
constexpr int32_t ForbiddenByPolicy = 1625;
constexpr int32_t PlatformNotSupported = 1633;
} // namespace ResultCode

struct SetupResult {
    int32_t code = 0;
    int32_t installerError = 0;
    bool reported = true;

    // Records a failure (or success) without an installer error, to be reported. Returns 1603 for a
    // failure and 0 for success, the thread result of the workers that call it.
    int SetResultCode(int32_t newCode) {
        code = newCode;
        installerError = 0;
        reported = false;
        return newCode != 0 ? 1603 : 0;
    }
    void Set(int32_t newCode, int32_t newInstallerError, bool isReported) {
        code = newCode;
        installerError = newInstallerError;
        reported = isReported;
    }
    // Whether ReportResult has anything to do.
    bool NeedsReport() const { return code != 0 && !reported; }
};

// The base text of a result code ("Installation failed."); empty for codes without one.
std::wstring ResultBaseText(int32_t code);
// The string-table id of the message box shown for a code, or 0 when nothing is shown.
int ResultMessageStringId(int32_t code);
// ResultText(): the base text, extended by "(error - description)" when there is an installer error
// whose system description is not empty.
std::wstring ComposeResultText(int32_t code, int32_t installerError, const std::wstring& systemDescription);
