#include "LauncherRun.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

using namespace e2e;

TEST(Harness, QuotesArgumentsAsTheRuntimeSplitsThem) {
    struct Case {
        std::wstring argument, quoted;
    };
    const Case cases[] = {
        {L"plain", L"plain"},
        {L"", L"\"\""},
        {L"a b", L"\"a b\""},
        {L"C:\\dir with space\\", L"\"C:\\dir with space\\\\\""},
        {L"say \"hi\"", L"\"say \\\"hi\\\"\""},
        {L"a\\\"b", L"\"a\\\\\\\"b\""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.quoted, QuoteArgument(c.argument)) << WideToUtf8(c.argument);
}

namespace {
LaunchOptions Shell() {
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    LaunchOptions options;
    options.launcher = std::wstring(system) + L"\\cmd.exe";
    return options;
}
} // namespace

// Any program runs: its exit code, both output streams apart, and the working folder it was given.
TEST(Harness, CapturesStreamsExitCodeAndWorkingFolder) {
    ScratchFolder folder;
    LaunchOptions options = Shell();
    options.workingFolder = folder.Path();
    const RunResult run = RunLauncherWithText(L"/c echo out& echo err 1>&2& cd& exit 7", options);
    EXPECT_TRUE(run.started);
    EXPECT_FALSE(run.timedOut);
    EXPECT_EQ(7u, run.exitCode);
    EXPECT_EQ(L"out\r\n" + folder.Path() + L"\r\n", run.output);
    EXPECT_EQ(L"err \r\n", run.errorOutput);
}

// A program that does not end in time is killed and the test fails.
TEST(Harness, KillsAProgramAtItsTimeLimit) {
    LaunchOptions options = Shell();
    options.timeLimitMs = 1000;
    LauncherProcess process(L"/c ping -n 30 127.0.0.1 >NUL", options);
    ASSERT_TRUE(process.Started());
    RunResult run;
    EXPECT_NONFATAL_FAILURE(run = process.Wait(), "did not end within 1000 ms");
    EXPECT_TRUE(run.timedOut);
    HANDLE handle = OpenProcess(SYNCHRONIZE, FALSE, process.ProcessId());
    if (handle) {
        EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(handle, 0)) << "still running";
        CloseHandle(handle);
    }
}

TEST(Harness, ReadsLogTextExactly) {
    ScratchFolder folder;
    const std::wstring path = folder.File(L"log.txt");
    ASSERT_TRUE(WriteFileBytes(path, std::string("a\0\r\0\n\0\xE9\0-N", 10)));
    EXPECT_EQ(L"a\r\n\x00E9\x4E2D", ReadUtf16LeFile(path));
    EXPECT_FALSE(StartsWithByteOrderMark(path));
    EXPECT_EQ((std::vector<std::wstring>{L"a\r\n", L"\x00E9\x4E2D"}), LogLines(L"a\r\n\x00E9\x4E2D"));
    ASSERT_TRUE(WriteFileBytes(path, std::string("\xFF\xFE"
                                                 "a\0b",
                                                 5)));
    EXPECT_TRUE(StartsWithByteOrderMark(path));
    EXPECT_FALSE(ReadUtf16LeFile(path)) << "an odd byte count is not UTF-16";
    EXPECT_FALSE(ReadUtf16LeFile(folder.File(L"missing.txt")));
    EXPECT_TRUE(
        IsStartLine(L"=== SetupLauncher started: 2024-01-02 03:04:05 Build type: SHIP ANSI 1.0.0.0\r\n"));
    EXPECT_TRUE(IsStartLine(L"=== SetupLauncher started: 2024-01-02 03:04:05 Build type: SHIP ANSI \r\n"));
    EXPECT_FALSE(
        IsStartLine(L"=== SetupLauncher started: 2024-01-02 03:04:05 Build type: SHIP ANSI 1.0\r\n"));
    EXPECT_TRUE(IsStopLine(L"=== SetupLauncher stopped: 2024-01-02 03:04:05\r\n"));
    EXPECT_FALSE(IsStopLine(L"=== SetupLauncher stopped: 2024-01-02 03:04:05"));
}

// The output of a program that ends at once is never lost, however the reader's polling falls.
TEST(Harness, KeepsTheOutputOfShortRuns) {
    for (int run = 0; run < 20; ++run) {
        const RunResult result = RunLauncher({L"/zz"});
        ASSERT_NE(std::wstring::npos, result.output.find(L"command line syntax"))
            << "run " << run << ", exit code " << result.exitCode
            << ", error output: " << WideToUtf8(result.errorOutput);
    }
}
