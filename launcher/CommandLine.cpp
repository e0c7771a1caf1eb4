#include "launcher/CommandLine.h"

#include "support/Format.h"
#include "support/StringUtil.h"

#include <algorithm>

namespace {

uint32_t LogModeBits(wchar_t c) {
    switch (c) {
    case L'm':
        return 0x1;
    case L'e':
        return 0x2;
    case L'w':
        return 0x4;
    case L'u':
        return 0x8;
    case L'i':
        return 0x10;
    case L'o':
        return 0x80;
    case L'a':
        return 0x100;
    case L'r':
        return 0x200;
    case L'c':
        return 0x800;
    case L'v':
        return 0x1000;
    case L'x':
        return 0x2000;
    case L'*':
        return 0xF9F;
    default:
        return 0;
    }
}

uint32_t ReinstallModeBits(wchar_t c) {
    switch (c) {
    case L'p':
        return 0x2;
    case L'o':
        return 0x4;
    case L'e':
        return 0x8;
    case L'd':
        return 0x10;
    case L'c':
        return 0x20;
    case L'a':
        return 0x40;
    case L'm':
        return 0x80;
    case L'u':
        return 0x100;
    case L's':
        return 0x200;
    case L'v':
        return 0x400;
    default:
        return 0;
    }
}

std::wstring StripQuotes(std::wstring_view text) {
    return Trim(text, L"\"");
}

bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t';
}

} // namespace

void CSetupAppCommandLineInfo::ParseArguments(std::wstring_view arguments) {
    const std::vector<std::wstring> tokens = SplitArguments(arguments);
    for (size_t i = 0; i < tokens.size(); ++i) {
        std::wstring_view token = tokens[i];
        bool isSwitch = false;
        if (!token.empty() && (token[0] == L'/' || token[0] == L'-')) {
            isSwitch = true;
            token.remove_prefix(1);
        }
        ParseParam(token, isSwitch, i + 1 == tokens.size());
    }
}

void CSetupAppCommandLineInfo::ParseParam(std::wstring_view token, bool isSwitch, bool isLast) {
    if (isSwitch) {
        ParseSwitch(token);
    } else if (StartsWithNoCase(token, L"TRANSFORMS=") && transforms.empty()) {
        transforms = token.substr(11);
    } else if (StartsWithNoCase(token, L"lang=")) {
        language = token.substr(5);
    } else if (StartsWithNoCase(token, L"subPackages=")) {
        subPackages = StripQuotes(token.substr(12));
        if (EqualsNoCase(subPackages, L"all"))
            subPackages.clear();
    } else if (StartsWithNoCase(token, L"workload=")) {
        workload = StripQuotes(token.substr(9));
    } else if (expectingStatusFile && statusFile.empty()) {
        statusFile = token;
        expectingStatusFile = false;
    } else if (expectingLogFile && logFile.empty()) {
        logFile = token;
        expectingLogFile = false;
    } else if (!ParseProperty(token)) {
        invalid = true;
    }
    if (isLast)
        PostParse();
}

void CSetupAppCommandLineInfo::ParseSwitch(std::wstring_view token) {
    if (token.empty())
        return;
    const wchar_t first = FoldCase(token[0]);
    if (EqualsNoCase(token, L"?") || EqualsNoCase(token, L"h")) {
        help = true;
    } else if (EqualsNoCase(token, L"a")) {
        SetModeFlag(admin);
    } else if (first == L'f') {
        if (SetModeFlag(repair)) {
            if (token.size() == 1) {
                reinstallMode = kDefaultReinstallMode;
            } else {
                for (wchar_t c : token.substr(1))
                    reinstallMode |= ReinstallModeBits(c);
            }
        }
    } else if (EqualsNoCase(token, L"x")) {
        SetModeFlag(uninstall);
    } else if (first == L'q') {
        ParseUiLevel(token.substr(1));
    } else if (EqualsNoCase(token, L"u")) {
        SetModeFlag(extract);
    } else if (first == L'l') {
        if (token.size() > 1) {
            logMode = 0;
            for (wchar_t c : token.substr(1)) {
                logMode |= LogModeBits(c);
                if (c == L'+')
                    logAttributes |= kLogAttributeAppend;
                else if (c == L'!')
                    logAttributes |= kLogAttributeFlushEachLine;
            }
        }
        expectingLogFile = true;
    } else if (EqualsNoCase(token, L"m")) {
        expectingStatusFile = true;
    } else if (EqualsNoCase(token, L"v")) {
        validate = true;
    } else {
        invalid = true;
    }
}

// The four mode switches /a, /f, /x and /u: a fourth one after the other three is refused.
bool CSetupAppCommandLineInfo::SetModeFlag(bool& flag) {
    const int othersSet = (admin && &admin != &flag) + (repair && &repair != &flag) +
                          (uninstall && &uninstall != &flag) + (extract && &extract != &flag);
    if (othersSet == 3) {
        invalid = true;
        return false;
    }
    flag = true;
    return true;
}

void CSetupAppCommandLineInfo::ParseUiLevel(std::wstring_view suffix) {
    uiLevel = UiLevel::None;
    if (suffix.empty())
        return;
    if (suffix[0] == L'+') {
        uiLevel = UiLevel::None | UiLevel::EndDialog;
        if (suffix.size() > 1)
            invalid = true;
        return;
    }
    int32_t level = 0;
    switch (suffix[0]) {
    case L'b':
        level = UiLevel::Basic;
        break;
    case L'r':
        level = UiLevel::Reduced;
        break;
    case L'f':
        level = UiLevel::Full;
        break;
    case L'n':
        level = UiLevel::None;
        break;
    default:
        invalid = true;
        return;
    }
    uiLevel = level;
    if (suffix.size() == 1)
        return;
    if (suffix[1] != L'+') {
        invalid = true;
        return;
    }
    uiLevel = level | UiLevel::EndDialog;
    if (suffix.size() > 2)
        invalid = true;
}

bool CSetupAppCommandLineInfo::ParseProperty(std::wstring_view token) {
    const size_t equals = token.find(L'=');
    if (equals == std::wstring_view::npos)
        return false;
    const std::wstring name = Trim(token.substr(0, equals));
    std::wstring value = Trim(token.substr(equals + 1));
    if (name == L"FASTOEM" && value == L"1")
        oemRequested = true;
    if (name == L"ALLUSERS" && value == L"1")
        allUsersGiven = true;
    if (value.empty())
        value = L"\"\"";
    else if (value.find(L' ') != std::wstring::npos && value[0] != L'"')
        value = L"\"" + value + L"\"";
    properties.push_back(name + L"=" + value);
    return true;
}

void CSetupAppCommandLineInfo::PostParse() {
    if (!admin && !repair && !uninstall && IsQuiet() && allUsersGiven && oemRequested)
        oemMode = true;
    if (oemRequested && !oemMode) {
        const std::wstring fastOem = Format(L"%s=%s", L"FASTOEM", L"1");
        std::erase(properties, fastOem);
    }
}

std::wstring_view ArgumentsAfterProgramName(std::wstring_view commandLine) {
    size_t i = 0;
    if (!commandLine.empty() && commandLine[0] == L'"') {
        const size_t close = commandLine.find(L'"', 1);
        i = close == std::wstring_view::npos ? commandLine.size() : close + 1;
    } else {
        while (i < commandLine.size() && !IsBlank(commandLine[i]))
            ++i;
    }
    while (i < commandLine.size() && IsBlank(commandLine[i]))
        ++i;
    return commandLine.substr(i);
}

std::vector<ArgumentSpan> SplitArgumentSpans(std::wstring_view text) {
    std::vector<ArgumentSpan> spans;
    size_t i = 0;
    for (;;) {
        while (i < text.size() && IsBlank(text[i]))
            ++i;
        if (i >= text.size())
            break;
        ArgumentSpan span;
        span.begin = i;
        std::wstring& token = span.text;
        bool quoted = false;
        while (i < text.size() && (quoted || !IsBlank(text[i]))) {
            size_t backslashes = 0;
            while (i < text.size() && text[i] == L'\\') {
                ++backslashes;
                ++i;
            }
            if (i < text.size() && text[i] == L'"') {
                token.append(backslashes / 2, L'\\');
                if (backslashes % 2 == 1) {
                    token += L'"';
                } else if (quoted && i + 1 < text.size() && text[i + 1] == L'"') {
                    token += L'"'; // "" inside quotes is a literal quote
                    ++i;
                } else {
                    quoted = !quoted;
                }
                ++i;
            } else {
                token.append(backslashes, L'\\');
                if (backslashes == 0 && i < text.size()) {
                    if (text[i] == L'=' && span.firstEquals == std::wstring_view::npos) {
                        span.firstEquals = i;
                        span.quotedAtEquals = quoted;
                    }
                    token += text[i++];
                }
            }
        }
        span.end = i;
        spans.push_back(std::move(span));
    }
    return spans;
}

std::vector<std::wstring> SplitArguments(std::wstring_view text) {
    std::vector<std::wstring> tokens;
    for (ArgumentSpan& span : SplitArgumentSpans(text))
        tokens.push_back(std::move(span.text));
    return tokens;
}

std::wstring MaskServicePasswords(std::wstring_view arguments) {
    constexpr std::wstring_view kPasswordSuffix = L"_Service_Password";
    constexpr std::wstring_view kMask = L"********";
    std::wstring masked;
    size_t copied = 0;
    for (const ArgumentSpan& span : SplitArgumentSpans(arguments)) {
        if (span.firstEquals == std::wstring_view::npos)
            continue;
        const std::wstring name = Trim(std::wstring_view(span.text).substr(0, span.text.find(L'=')));
        if (name.size() < kPasswordSuffix.size() ||
            !EqualsNoCase(std::wstring_view(name).substr(name.size() - kPasswordSuffix.size()),
                          kPasswordSuffix))
            continue;
        // Everything after the equals sign goes, its quotes included; a quote open before the sign is
        // closed again so the line still reads as one token.
        masked.append(arguments.substr(copied, span.firstEquals + 1 - copied));
        masked.append(kMask);
        if (span.quotedAtEquals)
            masked += L'"';
        copied = span.end;
    }
    masked.append(arguments.substr(copied));
    return masked;
}
