// A second launcher while another one runs: the test itself holds the single-instance mutex.
#include "LauncherRun.h"
#include "WindowDriver.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace e2e;

namespace {

constexpr wchar_t kMutexName[] = L"Global\\_MSISETUP_{2956EBA1-9B5A-4679-8618-357136DA66CA}";
constexpr DWORD kAlreadyRunning = 6;
const std::wstring kInProgress = L"VNT (c): Setup already in progress.\r\n";
const std::wstring kReported = L"VNT (c): ERROR: Another installer was already running.\r\n";

bool HasLine(const std::vector<std::wstring>& lines, const std::wstring& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

class SingleInstanceRun : public ::testing::Test {
protected:
    void SetUp() override {
        mutex_.Attach(CreateMutexW(nullptr, FALSE, kMutexName));
        ASSERT_TRUE(mutex_.IsValid());
        ASSERT_NE(ERROR_ALREADY_EXISTS, GetLastError()) << "another launcher holds the mutex";
    }
    std::vector<std::wstring> Log() { return LogLines(ReadUtf16LeFile(log_).value_or(L"")); }

    KernelHandle mutex_;
    ScratchFolder folder_;
    std::wstring log_ = folder_.File(L"setup.log");
};

} // namespace

TEST_F(SingleInstanceRun, QuietRunEndsWithCodeSixAndShowsNothing) {
    LauncherProcess process(JoinArguments({L"/qn", L"/L*v", log_}));
    ASSERT_TRUE(process.Started());
    const RunResult run = process.Wait();
    EXPECT_EQ(kAlreadyRunning, run.exitCode);
    EXPECT_TRUE(WindowDriver::TopLevelWindows(process.ProcessId()).empty());
    const auto lines = Log();
    EXPECT_TRUE(HasLine(lines, kInProgress)) << WideToUtf8(ReadUtf16LeFile(log_).value_or(L""));
    EXPECT_TRUE(HasLine(lines, kReported));
    // Level 1 still has the refusal, but not the report (level 3).
    ASSERT_EQ(kAlreadyRunning, RunLauncher({L"/qb", L"/Le", log_}).exitCode);
    EXPECT_TRUE(HasLine(Log(), kInProgress));
    EXPECT_FALSE(HasLine(Log(), kReported));
}

// Without a quiet level the report shows string 27 once; the run ends when the user presses OK.
TEST_F(SingleInstanceRun, InteractiveRunShowsTheMessageOfStringTwentySeven) {
    LauncherProcess process(JoinArguments({L"/L*v", log_}));
    ASSERT_TRUE(process.Started());
    HWND box = WindowDriver::WaitForWindowOfClass(process.ProcessId(), WindowDriver::kDialogClass,
                                                  WindowDriver::kDefaultWaitMs, process.Handle());
    ASSERT_NE(nullptr, box);
    EXPECT_EQ(L"SetupLauncher", WindowDriver::Caption(box));
    EXPECT_EQ(
        L"Another program is being installed. Please wait until that installation is complete, and then try "
        L"installing this software again.",
        WindowDriver::MessageBoxText(box));
    EXPECT_TRUE(WindowDriver::PressButton(box, L"OK"));
    const RunResult run = process.Wait();
    EXPECT_EQ(kAlreadyRunning, run.exitCode);
    const auto lines = Log();
    EXPECT_TRUE(HasLine(lines, kInProgress));
    EXPECT_TRUE(HasLine(lines, kReported));
}

// Only the setup mode asks for the mutex: the console modes and /u run beside another launcher.
TEST_F(SingleInstanceRun, ModesBeforeTheCheckIgnoreTheOtherLauncher) {
    ScratchFolder target;
    LaunchOptions options;
    options.workingFolder = target.Path();
    const struct {
        std::vector<std::wstring> arguments;
        DWORD exitCode;
    } cases[] = {
        {{L"/u"}, 0},
        {{L"/u", L"/x"}, 0},
        {{L"/?"}, 0},
        {{L"/zz"}, 0},
        {{L"/v"}, 1}, // the bare launcher fails validation
        {{L"/qn"}, kAlreadyRunning},
        {{L"/qn", L"/x"}, kAlreadyRunning},
    };
    for (const auto& c : cases) {
        const RunResult run = RunLauncher(c.arguments, options);
        EXPECT_EQ(c.exitCode, run.exitCode) << WideToUtf8(JoinArguments(c.arguments));
    }
}
