// The portable rules of the setup log: verbosity from the log mode, the fixed start and stop lines,
// and the line-length limit. The file itself is handled by SetupLog_win.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

constexpr int kLogLevelFailure = 1;   // start, stop, failures
constexpr int kLogLevelOperation = 2; // command line, warnings, refused checks
constexpr int kLogLevelProgress = 3;

// A formatted line is cut to this many characters (the 2048-character buffer with its terminating zero).
constexpr size_t kMaxLogLineLength = 2047;

struct LocalTime {
    int year, month, day, hour, minute, second;
};

struct FileVersion {
    bool present = false;
    int major = 0, minor = 0, build = 0, revision = 0;
};

int LogVerbosityFromMode(uint32_t logMode);
std::wstring StartLine(const LocalTime& now, const FileVersion& version);
std::wstring StopLine(const LocalTime& now);
// The command-line line that follows the start line; service passwords are masked, the log being readable
// by more people than the command line.
std::wstring CommandLineLogLine(std::wstring_view arguments);
// The line as it goes into the file: cut at the buffer limit, never longer.
std::wstring LimitLogLine(std::wstring line);
