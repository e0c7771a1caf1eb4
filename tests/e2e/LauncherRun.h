// Runs a launcher .exe as a child process for end-to-end tests: arguments, working folder, captured
// standard output, a time limit. Also the helpers the tests need around a run: scratch folders, the
// UTF-16LE log file read back as exact text.
// A LauncherProcess owns the child's process handle and the pipe reader; a finished run is a plain value.
#pragma once

#include "support/Handle_win.h"

#include <windows.h>

#include <atomic>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace e2e {

constexpr DWORD kDefaultTimeLimitMs = 60'000;

// SetupLauncher.exe beside the test program.
std::wstring DefaultLauncherPath();
// The folder of the test program, without a trailing backslash.
std::wstring TestProgramFolder();

// One argument quoted so that the runtime's splitter gives it back unchanged.
std::wstring QuoteArgument(const std::wstring& argument);
std::wstring JoinArguments(const std::vector<std::wstring>& arguments);

struct LaunchOptions {
    std::wstring launcher;      // empty: DefaultLauncherPath()
    std::wstring workingFolder; // empty: the test program's own working folder
    DWORD timeLimitMs = kDefaultTimeLimitMs;
};

struct RunResult {
    bool started = false;
    bool timedOut = false; // the child was killed at the time limit
    DWORD exitCode = 0;
    std::string rawOutput;    // standard output as written
    std::wstring output;      // rawOutput decoded from UTF-8
    std::wstring errorOutput; // standard error decoded from UTF-8
};

// The log file a run names with /L, held open for reading while the run goes on. Wine's Windows Installer
// writes the log it borrows from the start of the file (not at its end, as asked) and over the launcher's
// earlier lines, but it opens the file without sharing reads: held like this, its open fails and the file
// keeps the launcher's lines alone. The launcher itself shares reads and is not hindered. Created empty
// when missing and its folder exists; nothing is held without /L.
class HeldLogFile {
public:
    explicit HeldLogFile(const std::wstring& argumentText);
    bool IsHeld() const { return file_.IsValid(); }

private:
    FileHandle file_;
};

// A running child. Lets a test act on the child's windows while it runs, then collect the result.
class LauncherProcess {
public:
    // Starts the launcher with the argument text as written after the program name. A failure to start
    // is a test failure; Started() is false then.
    LauncherProcess(const std::wstring& argumentText, const LaunchOptions& options = {});
    ~LauncherProcess(); // kills a child that is still running
    LauncherProcess(const LauncherProcess&) = delete;
    LauncherProcess& operator=(const LauncherProcess&) = delete;

    bool Started() const { return process_.IsValid(); }
    DWORD ProcessId() const { return processId_; }
    // For waits that should end early when the child ends (the process handle stays owned here).
    HANDLE Handle() const { return process_.Get(); }
    // Waits for the end within the time limit counted from the start; on expiry kills the child and
    // records a test failure.
    RunResult Wait();

private:
    void Kill();

    LaunchOptions options_;
    HeldLogFile heldLog_;
    KernelHandle process_;
    DWORD processId_ = 0;
    ULONGLONG startTick_ = 0;
    // One pipe and one reading thread per stream, so that a child filling one pipe never blocks.
    struct Stream {
        FileHandle read;
        std::string bytes;
        std::thread reader;
    };
    Stream output_;
    Stream error_;
    std::atomic<bool> stopReading_{false}; // set once the child has ended: drain and stop
};

// Starts the launcher with these arguments (each quoted as needed) and waits for it.
RunResult RunLauncher(const std::vector<std::wstring>& arguments, const LaunchOptions& options = {});
// The same with the argument text exactly as given, for tests of the command-line splitting itself.
RunResult RunLauncherWithText(const std::wstring& argumentText, const LaunchOptions& options = {});

// A fresh, empty folder under the temporary folder; removed with its content when the owner ends.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::wstring& Path() const { return path_; }
    std::wstring File(const std::wstring& name) const { return path_ + L"\\" + name; }

private:
    std::wstring path_;
};

std::optional<std::string> ReadFileBytes(const std::wstring& path);
bool WriteFileBytes(const std::wstring& path, const std::string& bytes);
// The file decoded from UTF-16LE exactly (an odd trailing byte makes it unreadable); nothing when the
// file is missing.
std::optional<std::wstring> ReadUtf16LeFile(const std::wstring& path);
// True when the file starts with the UTF-16LE byte-order mark FF FE.
bool StartsWithByteOrderMark(const std::wstring& path);
// Splits log text after every "\r\n"; each line keeps its "\r\n". A trailing piece without one is a
// line of its own.
std::vector<std::wstring> LogLines(const std::wstring& text);
// Whether line is a start or stop line of the log with a plausible date and time ("=== SetupLauncher
// started: 2024-01-02 03:04:05 Build type: SHIP ANSI 1.0.0.0\r\n").
bool IsStartLine(const std::wstring& line);
bool IsStopLine(const std::wstring& line);

std::wstring Utf8ToWide(const std::string& text);
std::string WideToUtf8(const std::wstring& text);

} // namespace e2e
