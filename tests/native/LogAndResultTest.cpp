#include "launcher/CommandLine.h"
#include "launcher/SetupLog.h"
#include "launcher/SetupResult.h"

#include <gtest/gtest.h>

namespace {
std::string Narrow(const std::wstring& text) {
    return std::string(text.begin(), text.end());
}
} // namespace

// The verbosity comes from the /L letters through the log mode; the last of the four tests that matches wins.
TEST(SetupLog, VerbosityFollowsTheLogModeOfTheCommandLine) {
    const struct {
        const wchar_t* arguments;
        int verbosity;
    } cases[] = {
        {L"", 3},       // default mode 0x397
        {L"/L log", 3}, // /L alone keeps the default
        {L"/Le log", 1},
        {L"/Lw log", 2},
        {L"/Lew log", 2},
        {L"/Li log", 3},
        {L"/Lwi log", 3},
        {L"/Lv log", 4},
        {L"/Lev log", 4},
        {L"/L* log", 3},
        {L"/L*v log", 4},
        {L"/L+ log", 0},        // append only: the launcher itself writes nothing
        {L"/Lmuoarcx! log", 0}, // none of e w i v
        {L"/LE log", 0},        // letters are case-sensitive
    };
    for (const auto& c : cases) {
        CSetupAppCommandLineInfo info;
        info.ParseArguments(c.arguments);
        EXPECT_EQ(c.verbosity, LogVerbosityFromMode(info.logMode)) << Narrow(c.arguments);
    }
}

// The command line goes into the log whole but for the service passwords, which any reader of the log
// could otherwise read; the properties themselves keep their values.
TEST(SetupLog, TheCommandLineLineHidesServicePasswords) {
    const struct {
        const wchar_t* arguments;
        const wchar_t* logged;
    } cases[] = {
        {L"", L""},
        {L"/qn KS_Service_Password=secret", L"/qn KS_Service_Password=********"},
        {L"HVS_SERVICE_PASSWORD=secret /L*v log", L"HVS_SERVICE_PASSWORD=******** /L*v log"},
        {L"\"A_Service_Password=x y\" B=1", L"\"A_Service_Password=********\" B=1"},
        {L"A_Service_Password=\"x y\" B=1", L"A_Service_Password=******** B=1"},
        {L"A_Service_Password=\"x \"\" y\"\tB=1", L"A_Service_Password=********\tB=1"},
        {L"\"A_Service_Password\"=x", L"\"A_Service_Password\"=********"},
        {L" A_Service_Password =x", L" A_Service_Password =x"}, // two tokens: no name before "="
        {L"A_Service_Password=", L"A_Service_Password=********"},
        {L"A_Service_Password=a=b C_Service_Password=c",
         L"A_Service_Password=******** C_Service_Password=********"},
        // Only the name decides: other properties, and values that merely mention a password, stay.
        {L"KS_Service_Username=BUILD\\svc KS_Service_PasswordX=1",
         L"KS_Service_Username=BUILD\\svc KS_Service_PasswordX=1"},
        {L"NOTE=A_Service_Password=x", L"NOTE=A_Service_Password=x"},
        {L"_Service_Password=x", L"_Service_Password=********"},
        {L"Service_Password=x", L"Service_Password=x"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MaskServicePasswords(c.arguments), c.logged) << Narrow(c.arguments);
        EXPECT_EQ(CommandLineLogLine(c.arguments),
                  std::wstring(L"VNT (c): CommandLine: ") + c.logged + L"\r\n");
    }
    CSetupAppCommandLineInfo info;
    info.ParseArguments(L"KS_Service_Password=\"x y\"");
    EXPECT_EQ(info.properties, std::vector<std::wstring>{L"KS_Service_Password=\"x y\""});
}

TEST(SetupLog, StartAndStopLines) {
    const LocalTime time{2024, 3, 7, 9, 5, 1};
    EXPECT_EQ(L"=== SetupLauncher started: 2024-03-07 09:05:01 Build type: SHIP ANSI 1.0.12.345\r\n",
              StartLine(time, FileVersion{true, 1, 0, 12, 345}));
    // Without a version resource the version is empty, the rest of the line stays.
    EXPECT_EQ(L"=== SetupLauncher started: 2024-03-07 09:05:01 Build type: SHIP ANSI \r\n",
              StartLine(time, {}));
    EXPECT_EQ(L"=== SetupLauncher stopped: 2024-03-07 09:05:01\r\n", StopLine(time));
    EXPECT_EQ(L"=== SetupLauncher stopped: 12345-12-31 23:59:59\r\n", StopLine({12345, 12, 31, 23, 59, 59}));
}

// A formatted line never exceeds the 2048-character buffer (2047 characters and the terminating zero).
TEST(SetupLog, LongLinesAreCutAtTheBufferLimit) {
    const struct {
        size_t length, written;
    } cases[] = {{0, 0}, {1, 1}, {2046, 2046}, {2047, 2047}, {2048, 2047}, {2049, 2047}, {100000, 2047}};
    for (const auto& c : cases) {
        std::wstring line(c.length, L'x');
        if (c.length > 0)
            line.back() = L'!';
        const std::wstring written = LimitLogLine(line);
        EXPECT_EQ(c.written, written.size()) << c.length;
        EXPECT_EQ(line.substr(0, c.written), written) << c.length;
    }
}

TEST(SetupResult, TextsAndMessageStringsOfEveryCode) {
    const struct {
        int32_t code;
        const wchar_t* text;
        int messageId;
    } cases[] = {
        {0, L"", 0},
        {1, L"Installer is corrupted.", 6},
        {2, L"Installation failed.", 0},
        {3, L"User cancelled installation.", 0},
        {4, L"Incompatible Windows Version", 25},
        {5, L"Direct 2D not found", 67},
        {6, L"Another installer was already running.", 27},
        {7, L"Installation requires admin rights.", 18},
        {8, L"", 24},
        {9, L"Could not find MSI-file", 60},
        {10, L"Installing a 64-bit product on a 32-bit system", 64},
        {11, L"Your disk is full.", 1130},
        {12, L"", 0},
        {13, L"", 1146},
        {14, L"", 0},
        {1602, L"", 0},
        {1603, L"", 0},
        {1625, L"", 26},
        {1633, L"", 63},
        {-1, L"", 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.text, ResultBaseText(c.code)) << c.code;
        EXPECT_EQ(c.messageId, ResultMessageStringId(c.code)) << c.code;
    }
}

TEST(SetupResult, TextCarriesTheSystemDescriptionOfTheInstallerError) {
    const struct {
        int32_t code, installerError;
        const wchar_t* description;
        const wchar_t* text;
    } cases[] = {
        {2, 1603, L"Fatal error during installation.\r\n",
         L"Installation failed. (1603 - Fatal error during installation.\r\n)"},
        {2, 1603, L"", L"Installation failed."}, // no description: the base text alone
        {2, 0, L"ignored", L"Installation failed."},
        {8, 0, L"", L""},
        {1625, 1625, L"Forbidden.", L" (1625 - Forbidden.)"},
        {2, -5, L"odd", L"Installation failed. (-5 - odd)"},
        {2, 1620, L"100% sure %s", L"Installation failed. (1620 - 100% sure %s)"}, // not a format
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.text, ComposeResultText(c.code, c.installerError, c.description)) << c.code;
}

TEST(SetupResult, SettingAFailureWritesAllThreeFields) {
    SetupResult result;
    EXPECT_TRUE(result.reported); // nothing to report at construction
    EXPECT_FALSE(result.NeedsReport());
    result.Set(2, 1603, true);
    result.SetResultCode(6);
    EXPECT_EQ(1603, result.ThreadResult()); // the failure value of a worker thread
    EXPECT_EQ(6, result.code);
    EXPECT_EQ(0, result.installerError);
    EXPECT_FALSE(result.reported);
    EXPECT_TRUE(result.NeedsReport());
    result.reported = true;
    EXPECT_FALSE(result.NeedsReport()); // reported once
    result.SetResultCode(0);
    EXPECT_EQ(0, result.ThreadResult());
    EXPECT_FALSE(result.NeedsReport()); // success is never reported
    result.Set(1, 0, true);             // a validation failure is recorded as already reported
    EXPECT_FALSE(result.NeedsReport());
}
