// The setup log of real runs: the start, command-line and stop lines, the levels chosen by the /L letters,
// a new file versus appending with "+", and the run modes the log shows (which mode ran, which did not).
#include "LauncherRun.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace e2e;

namespace {

// Level-3 lines that every run without packages writes in the setup mode.
const std::wstring kEnteringExit = L"VNT (c): entering ExitInstance \r\n";
const std::wstring kReadingPackages = L"VNT (c): Reading package information.\r\n";
const std::wstring kStartProcessing = L"VNT (c): All information collected. Start processing.\r\n";
const std::wstring kUsageHeading = L"\r\nSetupLauncher.exe - command line syntax\r\n\r\n";

size_t Count(const std::vector<std::wstring>& lines, const std::wstring& line) {
    return std::count(lines.begin(), lines.end(), line);
}

size_t CountIf(const std::vector<std::wstring>& lines, bool (*match)(const std::wstring&)) {
    return std::count_if(lines.begin(), lines.end(), match);
}

class LogRun : public ::testing::Test {
protected:
    std::vector<std::wstring> Log() {
        EXPECT_FALSE(StartsWithByteOrderMark(log_));
        const auto text = ReadUtf16LeFile(log_);
        EXPECT_TRUE(text) << "no log, or not whole UTF-16 characters";
        return LogLines(text.value_or(L""));
    }
    std::string LogForMessage() { return WideToUtf8(ReadUtf16LeFile(log_).value_or(L"<none>")); }

    ScratchFolder folder_;
    std::wstring log_ = folder_.File(L"setup.log");
};

} // namespace

// A quiet setup run without packages: it ends with 0 and prints nothing; its log begins with the start
// line and the command line and ends with the stop line.
TEST_F(LogRun, QuietSetupRunFramesItsLogWithStartAndStopLines) {
    const std::vector<std::wstring> arguments = {L"/qn", L"/L*v", log_};
    const RunResult run = RunLauncher(arguments);
    EXPECT_EQ(0u, run.exitCode);
    EXPECT_EQ("", run.rawOutput);
    const auto lines = Log();
    ASSERT_GE(lines.size(), 3u) << LogForMessage();
    EXPECT_TRUE(IsStartLine(lines.front())) << WideToUtf8(lines.front());
    EXPECT_EQ(L"VNT (c): CommandLine: " + JoinArguments(arguments) + L"\r\n", lines[1]);
    EXPECT_TRUE(IsStopLine(lines.back())) << WideToUtf8(lines.back());
    EXPECT_EQ(1u, CountIf(lines, IsStartLine));
    EXPECT_EQ(1u, CountIf(lines, IsStopLine));
    EXPECT_EQ(1u, Count(lines, kStartProcessing));
    EXPECT_EQ(1u, Count(lines, kEnteringExit));
    for (const auto& line : lines)
        EXPECT_EQ(std::wstring::npos, line.find(L"VNT (c): ERROR:")) << WideToUtf8(line);
}

// The command line is logged as the process received it: spacing and quotes kept.
TEST_F(LogRun, CommandLineLineCarriesTheRawText) {
    const std::wstring text = L"/qn   /L*v  \"" + log_ + L"\"  \"PROP=a b\"\tOTHER=1";
    const RunResult run = RunLauncherWithText(text);
    EXPECT_EQ(0u, run.exitCode);
    const auto lines = Log();
    ASSERT_GE(lines.size(), 2u) << LogForMessage();
    EXPECT_EQ(L"VNT (c): CommandLine: " + text + L"\r\n", lines[1]);
}

// A service password given on the command line never reaches the log in plain text.
TEST_F(LogRun, CommandLineLineHidesServicePasswords) {
    const std::wstring text =
        L"/qn /L*v \"" + log_ + L"\" \"KS_Service_Password=p w\" HVS_Service_Password=pw";
    const RunResult run = RunLauncherWithText(text);
    EXPECT_EQ(0u, run.exitCode);
    const auto lines = Log();
    ASSERT_GE(lines.size(), 2u) << LogForMessage();
    EXPECT_EQ(L"VNT (c): CommandLine: /qn /L*v \"" + log_ +
                  L"\" \"KS_Service_Password=********\" HVS_Service_Password=********\r\n",
              lines[1]);
}

// /Lw gives level 2: start, command line, warnings and stop are written; progress lines are not.
TEST_F(LogRun, WarningLevelLeavesOutProgressLines) {
    const RunResult run = RunLauncher({L"/qn", L"/Lw", log_});
    EXPECT_EQ(0u, run.exitCode);
    const auto lines = Log();
    ASSERT_GE(lines.size(), 3u) << LogForMessage();
    EXPECT_TRUE(IsStartLine(lines.front()));
    EXPECT_EQ(L"VNT (c): CommandLine: /qn /Lw " + QuoteArgument(log_) + L"\r\n", lines[1]);
    EXPECT_TRUE(IsStopLine(lines.back()));
    for (const auto& progress : {kEnteringExit, kReadingPackages, kStartProcessing})
        EXPECT_EQ(0u, Count(lines, progress)) << WideToUtf8(progress);
}

// Without "+" an existing log is replaced; with "+" it is kept, and "/L+" alone (log mode 0) makes the
// launcher write nothing of its own.
TEST_F(LogRun, PlusAppendsAndWritesOnlyWhatItsLettersAsk) {
    const std::string earlier("e\0a\0r\0l\0i\0e\0r\0\r\0\n\0", 18);
    ASSERT_TRUE(WriteFileBytes(log_, earlier));
    EXPECT_EQ(0u, RunLauncher({L"/qn", L"/L+", log_}).exitCode);
    EXPECT_EQ(earlier, ReadFileBytes(log_).value_or("<missing>"));

    EXPECT_EQ(0u, RunLauncher({L"/qn", L"/L+*v", log_}).exitCode);
    auto lines = Log();
    ASSERT_GE(lines.size(), 3u) << LogForMessage();
    EXPECT_EQ(L"earlier\r\n", lines[0]);
    EXPECT_TRUE(IsStartLine(lines[1]));
    EXPECT_TRUE(IsStopLine(lines.back()));

    EXPECT_EQ(0u, RunLauncher({L"/qn", L"/L*v", log_}).exitCode);
    lines = Log();
    ASSERT_FALSE(lines.empty());
    EXPECT_TRUE(IsStartLine(lines[0])) << "the earlier content is gone";
    EXPECT_EQ(1u, CountIf(lines, IsStartLine));
}

// /? and an invalid command line print the usage text and end with 0; the setup mode does not run.
TEST_F(LogRun, UsageEndsTheRunWithZero) {
    const struct {
        std::vector<std::wstring> arguments;
    } cases[] = {
        {{L"/?"}},        {{L"/h"}},           {{L"/zz"}},
        {{L"PROP"}},      {{L"/qn", L"/qnx"}}, {{L"/?", L"/u"}}, // /? beats /u: nothing is extracted
        {{L"/u", L"/?"}},
    };
    for (const auto& c : cases) {
        std::vector<std::wstring> arguments = c.arguments;
        arguments.insert(arguments.end(), {L"/L*v", log_});
        const RunResult run = RunLauncher(arguments);
        const std::string name = WideToUtf8(JoinArguments(c.arguments));
        EXPECT_EQ(0u, run.exitCode) << name;
        EXPECT_EQ(0u, run.output.find(kUsageHeading)) << name << ": " << run.rawOutput;
        const auto lines = Log();
        EXPECT_EQ(0u, Count(lines, kReadingPackages)) << name;
        EXPECT_EQ(0u, Count(lines, kStartProcessing)) << name;
        ASSERT_FALSE(lines.empty()) << name;
        EXPECT_TRUE(IsStopLine(lines.back())) << name;
    }
}

// /v beats /u: only the validation runs. The bare launcher carries no manifest, so it fails (code 1), and
// that result counts as reported: no error line, nothing extracted.
TEST_F(LogRun, ValidationBeatsExtraction) {
    for (const auto& first : {L"/v", L"/u"}) {
        const std::wstring second = std::wstring(first) == L"/v" ? L"/u" : L"/v";
        const RunResult run = RunLauncher({first, second, L"/L*v", log_});
        EXPECT_EQ(1u, run.exitCode);
        EXPECT_NE(
            std::wstring::npos,
            run.output.find(L"Validation if all necessary resources have been compiled into setup.\r\n"))
            << run.rawOutput;
        EXPECT_EQ(std::wstring::npos, run.output.find(L"command line syntax"));
        const std::wstring text = ReadUtf16LeFile(log_).value_or(L"");
        EXPECT_NE(std::wstring::npos, text.find(L"Validation failed!")) << WideToUtf8(text);
        EXPECT_EQ(std::wstring::npos, text.find(kReadingPackages)) << WideToUtf8(text);
        EXPECT_EQ(std::wstring::npos, text.find(L"VNT (c): ERROR:")) << WideToUtf8(text);
    }
}

// /u alone runs the extraction (of no packages here) and ends with 0.
TEST_F(LogRun, ExtractAllReadsThePackagesAndNothingElse) {
    ScratchFolder target;
    LaunchOptions options;
    options.workingFolder = target.Path();
    const RunResult run = RunLauncher({L"/u", L"/L*v", log_}, options);
    EXPECT_EQ(0u, run.exitCode);
    const auto lines = Log();
    EXPECT_EQ(1u, Count(lines, kReadingPackages)) << LogForMessage();
    EXPECT_EQ(0u, Count(lines, kStartProcessing));
}
