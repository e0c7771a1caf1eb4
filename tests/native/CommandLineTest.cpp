#include "launcher/CommandLine.h"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>

namespace {

std::string Narrow(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text)
        out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
}

// Every setting on one line each, so that a failing case shows exactly which settings differ.
std::string Describe(const CSetupAppCommandLineInfo& c) {
    std::ostringstream out;
    out << std::hex << std::showbase;
    out << "invalid=" << c.invalid << "\nhelp=" << c.help << "\nextract=" << c.extract
        << "\nadmin=" << c.admin << "\nuninstall=" << c.uninstall << "\noemMode=" << c.oemMode
        << "\nuiLevel=" << c.uiLevel << "\nlogFile=" << Narrow(c.logFile) << "\nlogMode=" << c.logMode
        << "\nlogAttributes=" << c.logAttributes << "\nexpectingLogFile=" << c.expectingLogFile
        << "\ntransforms=" << Narrow(c.transforms) << "\nallUsersGiven=" << c.allUsersGiven
        << "\noemRequested=" << c.oemRequested << "\nproperties=";
    for (const auto& property : c.properties)
        out << "[" << Narrow(property) << "]";
    out << "\nrepair=" << c.repair << "\nreinstallMode=" << c.reinstallMode
        << "\nexpectingStatusFile=" << c.expectingStatusFile << "\nstatusFile=" << Narrow(c.statusFile)
        << "\nvalidate=" << c.validate << "\nlanguage=" << Narrow(c.language)
        << "\nsubPackages=" << Narrow(c.subPackages) << "\nworkload=" << Narrow(c.workload) << "\n";
    return out.str();
}

using Settings = std::function<void(CSetupAppCommandLineInfo&)>;

struct Case {
    const wchar_t* arguments; // the text after the program name, split by the runtime's rules
    Settings expected;        // applied to the initial settings
};

} // namespace

// The whole switch, option and property table, with the edge cases of each row. Each case lists only the
// settings it changes from the initial ones; every other setting must keep its initial value.
TEST(CommandLine, ParsesEveryRowOfTheTable) {
    const Case cases[] = {
        {L"", [](auto&) {}},
        {L"   \t ", [](auto&) {}},
        // An empty switch is ignored.
        {L"/", [](auto&) {}},
        {L"-", [](auto&) {}},

        // Help.
        {L"/?", [](auto& c) { c.help = true; }},
        {L"/h", [](auto& c) { c.help = true; }},
        {L"-H", [](auto& c) { c.help = true; }},
        {L"/help", [](auto& c) { c.invalid = true; }},

        // Mode switches; "-" is the same as "/", and letter case does not count.
        {L"/a", [](auto& c) { c.admin = true; }},
        {L"/x", [](auto& c) { c.uninstall = true; }},
        {L"-x", [](auto& c) { c.uninstall = true; }},
        {L"/X", [](auto& c) { c.uninstall = true; }},
        {L"/u", [](auto& c) { c.extract = true; }},
        {L"/U", [](auto& c) { c.extract = true; }},
        {L"/xa", [](auto& c) { c.invalid = true; }},
        {L"/ab", [](auto& c) { c.invalid = true; }},
        {L"/v", [](auto& c) { c.validate = true; }},
        {L"/V", [](auto& c) { c.validate = true; }},
        {L"/zz", [](auto& c) { c.invalid = true; }},

        // Repair: /f alone means a m u s v; letters add their bits, lower case only.
        {L"/f", [](auto& c) { c.repair = true, c.reinstallMode = 0x7C0; }},
        {L"/F", [](auto& c) { c.repair = true, c.reinstallMode = 0x7C0; }},
        {L"/fpecs", [](auto& c) { c.repair = true, c.reinstallMode = 0x22A; }},
        {L"/fa", [](auto& c) { c.repair = true, c.reinstallMode = 0x40; }},
        {L"/fpoedcamusv", [](auto& c) { c.repair = true, c.reinstallMode = 0x7FE; }},
        {L"/fPECS", [](auto& c) { c.repair = true; }},
        {L"/fz", [](auto& c) { c.repair = true; }},
        {L"/fp /fo", [](auto& c) { c.repair = true, c.reinstallMode = 0x6; }},
        {L"/fp /f", [](auto& c) { c.repair = true, c.reinstallMode = 0x7C0; }},

        // The mode rule: only a fourth mode switch after the other three is refused.
        {L"/a /x", [](auto& c) { c.admin = true, c.uninstall = true; }},
        {L"/a /f /x", [](auto& c) { c.admin = true, c.repair = true, c.reinstallMode = 0x7C0, c.uninstall = true; }},
        {L"/a /f /x /u",
         [](auto& c) { c.admin = true, c.repair = true, c.reinstallMode = 0x7C0, c.uninstall = true, c.invalid = true; }},
        {L"/u /x /a /fp", [](auto& c) { c.extract = true, c.uninstall = true, c.admin = true, c.invalid = true; }},
        {L"/a /a /x /x", [](auto& c) { c.admin = true, c.uninstall = true; }},

        // User-interface level: the letters after q are case-sensitive.
        {L"/q", [](auto& c) { c.uiLevel = 2; }},
        {L"/Q", [](auto& c) { c.uiLevel = 2; }},
        {L"/qn", [](auto& c) { c.uiLevel = 2; }},
        {L"/qb", [](auto& c) { c.uiLevel = 3; }},
        {L"/qr", [](auto& c) { c.uiLevel = 4; }},
        {L"/qf", [](auto& c) { c.uiLevel = 5; }},
        {L"/q+", [](auto& c) { c.uiLevel = 0x82; }},
        {L"/qn+", [](auto& c) { c.uiLevel = 0x82; }},
        {L"/qb+", [](auto& c) { c.uiLevel = 0x83; }},
        {L"/qr+", [](auto& c) { c.uiLevel = 0x84; }},
        {L"/qf+", [](auto& c) { c.uiLevel = 0x85; }},
        {L"/qN", [](auto& c) { c.uiLevel = 2, c.invalid = true; }},
        {L"/qnx", [](auto& c) { c.uiLevel = 2, c.invalid = true; }},
        {L"/qb-", [](auto& c) { c.uiLevel = 3, c.invalid = true; }},
        {L"/q+x", [](auto& c) { c.uiLevel = 0x82, c.invalid = true; }},
        {L"/qb+x", [](auto& c) { c.uiLevel = 0x83, c.invalid = true; }},
        {L"/qb /qr", [](auto& c) { c.uiLevel = 4; }},

        // Logging: letters and attributes are case-sensitive; the next free token is the file.
        {L"/L*v! log.txt",
         [](auto& c) { c.logMode = 0x1F9F, c.logAttributes = 2, c.logFile = L"log.txt"; }},
        {L"/L log.txt", [](auto& c) { c.logFile = L"log.txt"; }},
        {L"/l log.txt", [](auto& c) { c.logFile = L"log.txt"; }},
        {L"/L", [](auto& c) { c.expectingLogFile = true; }},
        {L"/Lw log.txt", [](auto& c) { c.logMode = 0x4, c.logFile = L"log.txt"; }},
        {L"/L+ log.txt", [](auto& c) { c.logMode = 0, c.logAttributes = 1, c.logFile = L"log.txt"; }},
        {L"/Lmewuioarcvx log", [](auto& c) { c.logMode = 0x3B9F, c.logFile = L"log"; }},
        {L"/LW log", [](auto& c) { c.logMode = 0, c.logFile = L"log"; }},
        {L"/L*v a.log b.log",
         [](auto& c) { c.logMode = 0x1F9F, c.logFile = L"a.log", c.invalid = true; }},
        {L"/L \"C:\\My Logs\\setup.log\"", [](auto& c) { c.logFile = L"C:\\My Logs\\setup.log"; }},
        // A second /L does not replace a file already named; its token becomes a property attempt.
        {L"/L a.log /L b.log", [](auto& c) { c.logFile = L"a.log", c.expectingLogFile = true, c.invalid = true; }},
        // A switch between /L and its file does not end the wait for the file.
        {L"/L /qn a.log", [](auto& c) { c.uiLevel = 2, c.logFile = L"a.log"; }},

        // Status file; it is served before the log file when both wait.
        {L"/m status.mif", [](auto& c) { c.statusFile = L"status.mif"; }},
        {L"/M", [](auto& c) { c.expectingStatusFile = true; }},
        {L"/L /m first second", [](auto& c) { c.statusFile = L"first", c.logFile = L"second"; }},

        // The launcher's own options; prefixes in any case.
        {L"TRANSFORMS=de.mst", [](auto& c) { c.transforms = L"de.mst"; }},
        {L"transforms=de.mst", [](auto& c) { c.transforms = L"de.mst"; }},
        {L"TRANSFORMS=a.mst TRANSFORMS=b.mst",
         [](auto& c) { c.transforms = L"a.mst", c.properties = {L"TRANSFORMS=b.mst"}; }},
        {L"TRANSFORMS= TRANSFORMS=b.mst", [](auto& c) { c.transforms = L"b.mst"; }},
        {L"lang=German", [](auto& c) { c.language = L"German"; }},
        {L"LANG=German lang=French", [](auto& c) { c.language = L"French"; }},
        {L"subPackages=Kestrum,Other", [](auto& c) { c.subPackages = L"Kestrum,Other"; }},
        {L"SUBPACKAGES=none", [](auto& c) { c.subPackages = L"none"; }},
        {L"subPackages=all", [](auto&) {}},
        {L"subPackages=ALL", [](auto&) {}},
        {L"subPackages=\\\"all\\\"", [](auto&) {}},
        {L"\"subPackages=\\\"a b\\\"\"", [](auto& c) { c.subPackages = L"a b"; }},
        {L"\"subPackages=x y\"", [](auto& c) { c.subPackages = L"x y"; }},
        {L"workload=\\\"C:\\w.json\\\"", [](auto& c) { c.workload = L"C:\\w.json"; }},
        {L"WORKLOAD=w.json", [](auto& c) { c.workload = L"w.json"; }},

        // Properties: trimmed, quoted when they hold a space, "" when empty.
        {L"PROP=value", [](auto& c) { c.properties = {L"PROP=value"}; }},
        {L"PROP=\"a b\"", [](auto& c) { c.properties = {L"PROP=\"a b\""}; }},
        {L"PROP=", [](auto& c) { c.properties = {L"PROP=\"\""}; }},
        {L"PROP=\"\"", [](auto& c) { c.properties = {L"PROP=\"\""}; }},
        {L"PROP", [](auto& c) { c.invalid = true; }},
        {L"A=1=2", [](auto& c) { c.properties = {L"A=1=2"}; }},
        {L"\" NAME\t= value \"", [](auto& c) { c.properties = {L"NAME=value"}; }},
        {L"\"PROP=\\\"a b\\\"\"", [](auto& c) { c.properties = {L"PROP=\"a b\""}; }},
        {L"B=2 A=1", [](auto& c) { c.properties = {L"B=2", L"A=1"}; }},
        {L"INSTALLDIR=\"C:\\Program Files\\X\"",
         [](auto& c) { c.properties = {L"INSTALLDIR=\"C:\\Program Files\\X\""}; }},

        // FASTOEM reaches the installer only in a quiet all-users install; then OEM mode is on.
        {L"FASTOEM=1 ALLUSERS=1 /qn",
         [](auto& c) {
             c.uiLevel = 2, c.oemRequested = true, c.allUsersGiven = true, c.oemMode = true;
             c.properties = {L"FASTOEM=1", L"ALLUSERS=1"};
         }},
        {L"/qb+ ALLUSERS=1 FASTOEM=1",
         [](auto& c) {
             c.uiLevel = 0x83, c.oemRequested = true, c.allUsersGiven = true, c.oemMode = true;
             c.properties = {L"ALLUSERS=1", L"FASTOEM=1"};
         }},
        {L"FASTOEM=1 /qn", [](auto& c) { c.uiLevel = 2, c.oemRequested = true; }},
        {L"FASTOEM=1 ALLUSERS=1",
         [](auto& c) { c.oemRequested = true, c.allUsersGiven = true, c.properties = {L"ALLUSERS=1"}; }},
        {L"FASTOEM=1 ALLUSERS=1 /qr",
         [](auto& c) { c.uiLevel = 4, c.oemRequested = true, c.allUsersGiven = true, c.properties = {L"ALLUSERS=1"}; }},
        {L"FASTOEM=1 ALLUSERS=1 /qn /x",
         [](auto& c) {
             c.uiLevel = 2, c.uninstall = true, c.oemRequested = true, c.allUsersGiven = true;
             c.properties = {L"ALLUSERS=1"};
         }},
        {L"FASTOEM=1 ALLUSERS=1 /qn /f",
         [](auto& c) {
             c.uiLevel = 2, c.repair = true, c.reinstallMode = 0x7C0, c.oemRequested = true, c.allUsersGiven = true;
             c.properties = {L"ALLUSERS=1"};
         }},
        {L"\"FASTOEM = 1\" /qn", [](auto& c) { c.uiLevel = 2, c.oemRequested = true; }},
        // Names and values of these two are compared with letter case.
        {L"fastoem=1 ALLUSERS=1 /qn",
         [](auto& c) { c.uiLevel = 2, c.allUsersGiven = true, c.properties = {L"fastoem=1", L"ALLUSERS=1"}; }},
        {L"FASTOEM=01 allusers=1 /qn",
         [](auto& c) { c.uiLevel = 2, c.properties = {L"FASTOEM=01", L"allusers=1"}; }},
    };
    for (const auto& c : cases) {
        CSetupAppCommandLineInfo expected;
        c.expected(expected);
        CSetupAppCommandLineInfo actual;
        actual.ParseArguments(c.arguments);
        EXPECT_EQ(Describe(expected), Describe(actual)) << "arguments: " << Narrow(c.arguments);
    }
}

// Tokens as the toolkit hands them over, for the cases that the splitter cannot produce from a command line.
TEST(CommandLine, ParseParamTakesTokensAsDelivered) {
    struct TokenCase {
        std::vector<std::pair<std::wstring, bool>> tokens; // text and switch flag
        Settings expected;
    };
    const TokenCase cases[] = {
        {{{L"subPackages=\"all\"", false}}, [](auto&) {}},
        {{{L"subPackages=\"\"Kestrum\"\"", false}}, [](auto& c) { c.subPackages = L"Kestrum"; }},
        {{{L"PROP=\"x y\"", false}}, [](auto& c) { c.properties = {L"PROP=\"x y\""}; }},
        {{{L"", true}}, [](auto&) {}},
        {{{L"", false}}, [](auto& c) { c.invalid = true; }},
        // The post-parse step runs with the last token: FASTOEM is dropped only then.
        {{{L"FASTOEM=1", false}, {L"qn", true}}, [](auto& c) { c.uiLevel = 2, c.oemRequested = true; }},
    };
    for (const auto& c : cases) {
        CSetupAppCommandLineInfo expected;
        c.expected(expected);
        CSetupAppCommandLineInfo actual;
        for (size_t i = 0; i < c.tokens.size(); ++i)
            actual.ParseParam(c.tokens[i].first, c.tokens[i].second, i + 1 == c.tokens.size());
        EXPECT_EQ(Describe(expected), Describe(actual)) << "first token: " << Narrow(c.tokens[0].first);
    }
}

// The runtime's splitting rules: quotes group, backslashes are literal except before a quote.
TEST(CommandLine, SplitsLikeTheRuntime) {
    const struct {
        const wchar_t* text;
        std::vector<std::wstring> tokens;
    } cases[] = {
        {L"", {}},
        {L"  a   b\tc  ", {L"a", L"b", L"c"}},
        {L"\"a b\" c", {L"a b", L"c"}},
        {L"x\"a b\"y", {L"xa by"}},
        {L"\"\"", {L""}},
        {L"a \"\" b", {L"a", L"", L"b"}},
        {L"C:\\dir\\file", {L"C:\\dir\\file"}},
        {L"a\\\\b", {L"a\\\\b"}},
        {L"a\\\"b", {L"a\"b"}},
        {L"a\\\\\"b c\"", {L"a\\b c"}},
        {L"a\\\\\\\"b", {L"a\\\"b"}},
        {L"\"C:\\dir\\\\\" next", {L"C:\\dir\\", L"next"}},
        {L"\"C:\\dir\\\" next", {L"C:\\dir\" next"}},
        {L"\"unclosed quote", {L"unclosed quote"}},
        {L"\"a\"\"b\"", {L"a\"b"}},
        {L"trailing\\", {L"trailing\\"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.tokens, SplitArguments(c.text)) << Narrow(c.text);
}

// The raw command line in the log is what follows the program name; nothing for a bare program name.
TEST(CommandLine, ArgumentsFollowTheProgramName) {
    const struct {
        const wchar_t* commandLine;
        const wchar_t* arguments;
    } cases[] = {
        {L"", L""},
        {L"setup.exe", L""},
        {L"setup.exe   ", L""},
        {L"\"C:\\Program Files\\setup.exe\"", L""},
        {L"\"C:\\Program Files\\setup.exe\" /qn  /L*v \"a b.log\"", L"/qn  /L*v \"a b.log\""},
        {L"setup.exe\t/x", L"/x"},
        {L"\"C:\\a b\\setup.exe\"/qn", L"/qn"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(std::wstring(c.arguments), ArgumentsAfterProgramName(c.commandLine))
            << Narrow(c.commandLine);
}
