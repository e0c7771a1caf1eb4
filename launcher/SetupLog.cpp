#include "launcher/SetupLog.h"

#include "launcher/CommandLine.h"
#include "support/Format.h"

int LogVerbosityFromMode(uint32_t logMode) {
    int verbosity = 0;
    if (logMode & 0x2)
        verbosity = 1;
    if (logMode & 0x4)
        verbosity = 2;
    if (logMode & 0x10)
        verbosity = 3;
    if (logMode & 0x1000)
        verbosity = 4;
    return verbosity;
}

namespace {
std::wstring TimeText(const LocalTime& t) {
    return Format(L"%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute, t.second);
}
} // namespace

std::wstring StartLine(const LocalTime& now, const FileVersion& version) {
    std::wstring line = L"=== SetupLauncher started: " + TimeText(now) + L" Build type: SHIP ANSI ";
    if (version.present)
        line += Format(L"%i.%i.%i.%i", version.major, version.minor, version.build, version.revision);
    return line + L"\r\n";
}

std::wstring StopLine(const LocalTime& now) {
    return L"=== SetupLauncher stopped: " + TimeText(now) + L"\r\n";
}

std::wstring CommandLineLogLine(std::wstring_view arguments) {
    return L"VNT (c): CommandLine: " + MaskServicePasswords(arguments) + L"\r\n";
}

std::wstring LimitLogLine(std::wstring line) {
    if (line.size() > kMaxLogLineLength)
        line.resize(kMaxLogLineLength);
    return line;
}
