// The outcome of a run or of one step of it: a result code (the run's becomes the process exit code), the
// installer or system error behind it, and whether it has been reported. Steps return one of these, never
// a bare number that might be a result code, an installer error or a thread result. Also the fixed table
// of result texts and message strings, and the reading of installer errors.
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

    // A failure (or success) without an installer error, to be reported.
    static SetupResult Code(int32_t newCode) { return {newCode, 0, false}; }
    // Records a failure (or success) without an installer error, to be reported.
    void SetResultCode(int32_t newCode) { Set(newCode, 0, false); }
    void Set(int32_t newCode, int32_t newInstallerError, bool isReported) {
        code = newCode;
        installerError = newInstallerError;
        reported = isReported;
    }
    // Whether ReportResult has anything to do.
    bool NeedsReport() const { return code != 0 && !reported; }
    bool Failed() const { return code != 0; }
    // What a worker thread that ended with this outcome returns: 1603 for a failure, 0 for success.
    int ThreadResult() const { return code != 0 ? 1603 : 0; }
};

// The base text of a result code ("Installation failed."); empty for codes without one.
std::wstring ResultBaseText(int32_t code);
// The string-table id of the message box shown for a code, or 0 when nothing is shown.
int ResultMessageStringId(int32_t code);
// ResultText(): the base text, extended by "(error - description)" when there is an installer error
// whose system description is not empty.
std::wstring ComposeResultText(int32_t code, int32_t installerError, const std::wstring& systemDescription);

// The result code an installer error stands for (1602 -> 3, 1620 -> 1, 1633 -> 10, 1638 -> 8, else 2).
int32_t ResultCodeForInstallerError(int32_t installerError);
// Records the installer error as an unreported setup result; 0 leaves the result unchanged.
void ApplyInstallerResult(SetupResult& result, int32_t installerError);
