// The launcher refuses an older Windows than its manifest's minimum (code 4) and a machine without
// Direct2D (code 5): log lines, the two message boxes of an interactive run, nothing shown when quiet.
// Wine reports a chosen Windows version to one program name, so each test runs its own copy.
#include "LauncherCopy.h"
#include "LauncherRun.h"
#include "WindowDriver.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace e2e;

namespace {

constexpr DWORD kIncompatibleWindows = 4;
constexpr DWORD kNoDirect2D = 5;
constexpr LANGID kEnglish = 1033;

const std::vector<ManifestText> kNeedsWindows8 = {
    {L"OS", kEnglish, L"6.2.0"},
    {L"PACKAGE_COUNT", kEnglish, L"1"},
    {L"PRODUCT_NAME_0", kEnglish, L"Quenlis Halvora Server 10.1 (x64)"}};

bool HasLine(const std::vector<std::wstring>& lines, const std::wstring& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

class EnvironmentRefusalRun : public ::testing::Test {
protected:
    std::wstring Launcher(const std::wstring& name, const std::vector<ManifestText>& texts) {
        const std::wstring path = folder_.File(name);
        EXPECT_TRUE(MakeLauncherCopy(path, texts));
        options_.launcher = path;
        options_.workingFolder = folder_.Path();
        return path;
    }
    std::wstring LogText() { return ReadUtf16LeFile(log_).value_or(L""); }
    std::vector<std::wstring> Log() { return LogLines(LogText()); }

    // Waits for the next message box, checks its text and presses OK.
    void AnswerMessageBox(const LauncherProcess& process, const std::wstring& text) {
        HWND box = WindowDriver::WaitForWindowOfClass(process.ProcessId(), WindowDriver::kDialogClass);
        ASSERT_NE(nullptr, box) << "no message box: " << WideToUtf8(text);
        EXPECT_EQ(text, WindowDriver::MessageBoxText(box));
        EXPECT_TRUE(WindowDriver::PressButton(box, L"OK"));
        EXPECT_TRUE(WindowDriver::WaitUntilGone(box));
    }

    ScratchFolder folder_;
    std::wstring log_ = folder_.File(L"setup.log");
    LaunchOptions options_;
};

} // namespace

TEST_F(EnvironmentRefusalRun, OlderWindowsQuietlyEndsWithCodeFour) {
    Launcher(L"QuietOsRefusal.exe", kNeedsWindows8);
    WineProgramSettings wine(L"QuietOsRefusal.exe");
    wine.SetWindowsVersion(L"vista");
    const RunResult run = RunLauncher({L"/qn", L"/L*v", log_}, options_);
    EXPECT_EQ(kIncompatibleWindows, run.exitCode);
    const auto lines = Log();
    EXPECT_TRUE(HasLine(lines, L"VNT (c): found Windows Vista ServicePack 2\r\n")) << WideToUtf8(LogText());
    EXPECT_TRUE(HasLine(lines, L"VNT (c): Expect at least Windows 8 \r\n"));
    EXPECT_TRUE(HasLine(lines, L"VNT (c): Setup not allowed to run on Windows Vista ServicePack 2\r\n"));
    EXPECT_TRUE(HasLine(lines, L"VNT (c): ERROR: Incompatible Windows Version\r\n"));
    EXPECT_FALSE(HasLine(lines, L"VNT (c): OS version found to be correct.\r\n"));
}

TEST_F(EnvironmentRefusalRun, OlderWindowsShowsBothMessages) {
    Launcher(L"OsRefusal.exe", kNeedsWindows8);
    WineProgramSettings wine(L"OsRefusal.exe");
    wine.SetWindowsVersion(L"vista");
    LauncherProcess process(JoinArguments({L"/L*v", log_}), options_);
    ASSERT_TRUE(process.Started());
    AnswerMessageBox(process, L"Setup has detected an incompatible version of 'Windows Vista ServicePack 2'. "
                              L"Please click OK and verify that the target system is running 'Windows 8' or "
                              L"higher, before relaunching the installation.");
    AnswerMessageBox(process,
                     L"Installation platform not supported.\nInstallation of this version cannot continue.");
    EXPECT_EQ(kIncompatibleWindows, process.Wait().exitCode);
    EXPECT_TRUE(HasLine(Log(), L"VNT (c): ERROR: Incompatible Windows Version\r\n"));
}

TEST_F(EnvironmentRefusalRun, OlderWindowsWinsOverABadPortProperty) {
    Launcher(L"OsBeforePorts.exe", kNeedsWindows8);
    WineProgramSettings wine(L"OsBeforePorts.exe");
    wine.SetWindowsVersion(L"vista");
    const RunResult run = RunLauncher({L"/qn", L"HVSAdmin_WebServer_Port=80a"}, options_);
    EXPECT_EQ(kIncompatibleWindows, run.exitCode);
    EXPECT_EQ(std::wstring::npos, run.output.find(L"must be numeric")) << run.rawOutput;
}

TEST_F(EnvironmentRefusalRun, MissingDirect2DShowsBothMessages) {
    Launcher(L"NoDirect2DShown.exe", {});
    WineProgramSettings wine(L"NoDirect2DShown.exe");
    wine.DisableLibrary(L"d2d1");
    LauncherProcess process(JoinArguments({L"/L*v", log_}), options_);
    ASSERT_TRUE(process.Started());
    AnswerMessageBox(process,
                     L"Setup did not find Direct2D on your system. Please install the latest platform "
                     L"update or Internet Explorer 10 or higher before relaunching the installation");
    AnswerMessageBox(
        process, L"Direct 2D was not found on your system.\nInstallation of this version cannot continue.");
    EXPECT_EQ(kNoDirect2D, process.Wait().exitCode);
    // The refusal line carries no line break of its own; the error line follows on the same line.
    EXPECT_NE(
        std::wstring::npos,
        LogText().find(L"\r\nNo Direct2D found on this machine.VNT (c): ERROR: Direct 2D not found\r\n"))
        << WideToUtf8(LogText());
}
