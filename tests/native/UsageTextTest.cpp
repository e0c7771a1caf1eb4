#include "launcher/UsageText.h"
#include "launcher/UsageTable.h"

#include <gtest/gtest.h>

#include <map>

namespace {

// Placeholder words come from the loader; other ids load as "#<id>" so that the layout can be read.
StringLoader Loader(const std::map<int, std::wstring>& texts = {}) {
    return [texts](int id) {
        const auto found = texts.find(id);
        return found != texts.end() ? found->second : L"#" + std::to_wstring(id);
    };
}

std::vector<std::wstring> OptionSyntaxes(const UsageTable& table, size_t command) {
    std::vector<std::wstring> syntaxes;
    for (size_t index : table.commands[command].options)
        syntaxes.push_back(table.options[index].syntax);
    return syntaxes;
}

} // namespace

TEST(WrapText, BreaksLinesAsSpecified) {
    const std::wstring a70(70, L'a');
    const std::wstring x100(100, L'x');
    struct Case {
        const wchar_t* label;
        std::wstring text;
        size_t indent;
        std::wstring replacement;
        std::wstring expected;
    };
    const Case cases[] = {
        {L"empty", L"", 4, L"x", L""},
        {L"short", L"Display this message.", 4, L"", L"    Display this message."},
        {L"exactly 79 columns", a70 + L" bbbbbbbb", 0, L"", a70 + L" bbbbbbbb"},
        {L"80 columns wrap", a70 + L" bbbbbbbbb", 0, L"", a70 + L"\nbbbbbbbbb"},
        {L"wrap keeps indent", std::wstring(66, L'a') + L" bbbbbbbbb", 4, L"",
         L"    " + std::wstring(66, L'a') + L"\n    bbbbbbbbb"},
        {L"replacement", L"x %s y", 4, L"Setup.exe", L"    x Setup.exe y"},
        {L"no replacement", L"x %s y", 4, L"", L"    x  y"},
        {L"replacement ends a word", L"run %s.", 0, L"S.exe", L"run S.exe."},
        {L"quoted token kept whole", L"say \"a b c\" now", 0, L"", L"say \"a b c\" now"},
        {L"quoted token wraps without its space", std::wstring(75, L'a') + L" \"x y\"", 0, L"",
         std::wstring(75, L'a') + L" \n\"x y\""},
        {L"unclosed quote runs to the end", L"a \"b c", 0, L"", L"a \"b c"},
        {L"line feed and tab", L"Use:\n\t%s lang=German", 8, L"Setup.exe",
         L"        Use:\n            \tSetup.exe lang=German"},
        {L"several line feeds", L"a\n\nb", 2, L"", L"  a\n  \n  b"},
        {L"line feed resets the column", a70 + L"\nbbbbbbbbbb cc", 0, L"", a70 + L"\nbbbbbbbbbb cc"},
        {L"leading space dropped at line start", L" a", 0, L"", L"a"},
        {L"space after line feed dropped", L"a\n b", 4, L"", L"    a\n    b"},
        {L"token longer than a line", L"short " + x100 + L" end", 4, L"",
         L"    short\n    " + x100 + L"\n    end"},
        {L"first token longer than a line", x100, 4, L"", L"    \n    " + x100},
        {L"percent without s is text", L"100% sure", 0, L"X", L"100% sure"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, WrapText(c.text, c.indent, c.replacement)) << c.label;
}

TEST(UsageTable, OptionsFollowTheLaunchersResources) {
    struct Case {
        bool german;
        long long packages;
        std::vector<std::wstring> installOptions;
    };
    const std::wstring lang = L"lang=<LanguageName>", level = L"/q[n|r|f|b][+]",
                       log = L"/L[i|w|e|a|r|u|c|m|o|v|x|*|+|!] <LogFile>", mif = L"/m <MIF File>",
                       sub = L"SubPackages=all|none|<PackageNamePart>{,<PackageNamePart>}",
                       transforms = L"TRANSFORMS=<Transforms>", property = L"<Property>=<Value>";
    const Case cases[] = {
        {true, 3, {lang, level, log, mif, sub, transforms, property}},
        {false, 2, {level, log, mif, sub, transforms, property}},
        {true, 1, {lang, level, log, mif, transforms, property}},
        {false, 0, {level, log, mif, transforms, property}},
    };
    const auto english = Loader({{1070, L"PackageNamePart"},
                                 {1071, L"LanguageName"},
                                 {1072, L"Transforms"},
                                 {1073, L"Property"},
                                 {1074, L"Value"},
                                 {1075, L"LogFile"},
                                 {1076, L"MIF File"}});
    for (const auto& c : cases) {
        const UsageTable table = BuildUsageTable({c.german, c.packages, L""}, english);
        ASSERT_EQ(6u, table.commands.size());
        // /h and /u take no options; install, repair, uninstall and administrative share one list.
        EXPECT_EQ(std::vector<std::wstring>{}, OptionSyntaxes(table, 0));
        EXPECT_EQ(std::vector<std::wstring>{}, OptionSyntaxes(table, 5));
        for (size_t i = 1; i < 5; ++i)
            EXPECT_EQ(c.installOptions, OptionSyntaxes(table, i));
    }
}

TEST(UsageTable, PlaceholderWordsAreFixedWhenBuilt) {
    std::wstring language = L"German";
    const StringLoader load = [&language](int id) {
        return id == 1071 ? (language == L"German" ? L"Sprachname" : L"LanguageName")
                          : L"w" + std::to_wstring(id);
    };
    const UsageTable table = BuildUsageTable({true, 2, L""}, load);
    language = L"English"; // the wizard switches language later
    const std::wstring text = ComposeUsageText(table, L"S.exe", load);
    EXPECT_NE(std::wstring::npos, text.find(L"    lang=<Sprachname>\n"));
    EXPECT_EQ(std::wstring::npos, text.find(L"<LanguageName>"));
}

TEST(UsageTable, PropertyGroupsByProductName) {
    struct Case {
        const wchar_t* productName;
        std::vector<int> headers;
    };
    const Case cases[] = {
        {L"Quenlis Kestrum 3.17 (x64)", {1267, 1268}},
        {L"Quenlis Halvora Server 10.1 (x64)", {1267, 1268, 1273, 1274, 1275, 1278}},
        {L"Quenlis Gavrin Server 2024", {1267, 1268, 1269, 1270}},
        {L"Quenlis ZorvexXML Server 2024", {1267, 1268, 1269, 1270}},
        {L"Quenlis ZorvexXML+XBRL Server 2024", {1267, 1268, 1271, 1272}},
        {L"Quenlis Muntac Server 5", {1267, 1268, 1325, 1326}},
        {L"Quenlis Pennix Server 1", {1267, 1268}},
        {L"Quenlis Trelmo Server 1", {1267, 1268}},
        {L"Quenlis Kestrum", {}},            // the prefixes end in a space
        {L"quenlis kestrum 3.17", {}},       // and letter case counts
        {L"Quenlis ZorvexXML 2024", {}},     // a desktop product, not a server
        {L"Other Quenlis Kestrum 3.17", {}}, // a prefix, not a substring
        {L"", {}},
    };
    for (const auto& c : cases) {
        const UsageTable table = BuildUsageTable({false, 1, c.productName}, Loader());
        std::vector<int> headers;
        for (const auto& group : table.groups)
            headers.push_back(group.headerId);
        EXPECT_EQ(c.headers, headers) << c.productName;
    }
}

TEST(UsageText, ExecutableFileNameAfterTheLastSeparator) {
    struct Case {
        const wchar_t* path;
        const wchar_t* name;
    };
    const Case cases[] = {
        {L"C:\\setup\\SetupLauncher.exe", L"SetupLauncher.exe"},
        {L"/home/u/SetupLauncher.exe", L"SetupLauncher.exe"},
        {L"C:\\a/b\\c/d.exe", L"c/d.exe"}, // a backslash wins over a later slash
        {L"Setup.exe", L"Setup.exe"},
        {L"C:\\dir\\", L""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.name, ExecutableFileName(c.path)) << c.path;
}
