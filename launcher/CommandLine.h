// The launcher's command line: msiexec-style switches, the launcher's own options and public
// properties, parsed token by token into the settings every other part of the run reads.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Windows Installer user-interface levels and flags as the command line stores them.
namespace UiLevel {
constexpr int32_t None = 2;
constexpr int32_t Basic = 3;
constexpr int32_t Reduced = 4;
constexpr int32_t Full = 5;
constexpr int32_t EndDialog = 0x80;
} // namespace UiLevel

constexpr uint32_t kDefaultLogMode = 0x397;
constexpr uint32_t kLogAttributeAppend = 1;
constexpr uint32_t kLogAttributeFlushEachLine = 2;
constexpr uint32_t kDefaultReinstallMode = 0x7C0;

class CSetupAppCommandLineInfo {
public:
    // One token as the process command-line splitter delivers it; a leading "/" or "-" has been
    // removed and isSwitch set.
    void ParseParam(std::wstring_view token, bool isSwitch, bool isLast);
    // Splits the argument text (the command line without the program name) and parses every token.
    void ParseArguments(std::wstring_view arguments);

    bool invalid = false;
    bool help = false;
    bool extract = false;
    bool admin = false;
    bool uninstall = false;
    bool oemMode = false;
    int32_t uiLevel = UiLevel::Full | UiLevel::EndDialog;
    std::wstring logFile;
    uint32_t logMode = kDefaultLogMode;
    uint32_t logAttributes = 0;
    bool expectingLogFile = false;
    std::wstring transforms;
    bool allUsersGiven = false;
    bool oemRequested = false;
    std::vector<std::wstring> properties;
    bool repair = false;
    uint32_t reinstallMode = 0;
    bool expectingStatusFile = false;
    std::wstring statusFile;
    bool validate = false;
    std::wstring language;
    std::wstring subPackages;
    std::wstring workload;

    // Levels none and basic, with or without the end dialog: no message boxes of the launcher.
    bool IsQuiet() const { return (uiLevel & 2) != 0; }

private:
    void ParseSwitch(std::wstring_view token);
    void ParseUiLevel(std::wstring_view suffix);
    bool SetModeFlag(bool& flag);
    bool ParseProperty(std::wstring_view token);
    void PostParse();
};

// Splits a command line by the C runtime's argument rules (backslashes before quotes, doubled quotes).
std::vector<std::wstring> SplitArguments(std::wstring_view arguments);
// One argument with the range of the command line it was read from.
struct ArgumentSpan {
    size_t begin = 0, end = 0;                    // [begin, end) of the command line
    std::wstring text;                            // as SplitArguments gives it
    size_t firstEquals = std::wstring_view::npos; // the first "=" of the range that is part of the text
    bool quotedAtEquals = false;                  // that "=" stands inside double quotes
};
std::vector<ArgumentSpan> SplitArgumentSpans(std::wstring_view arguments);
// The command line as the log may show it: the value of every property whose name ends with
// "_Service_Password" (any case) replaced by asterisks, the rest unchanged.
std::wstring MaskServicePasswords(std::wstring_view arguments);
// The part of a full process command line after the program name, as the runtime skips it.
std::wstring_view ArgumentsAfterProgramName(std::wstring_view commandLine);
