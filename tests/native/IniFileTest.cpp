#include "support/IniFile.h"
#include "support/ByteFile.h"

#include "ScratchFolder.h"

#include <gtest/gtest.h>

namespace {

// An object over text only; its path is empty, so nothing is ever written.
ICBSIniFile FromText(const std::string& content) {
    return ICBSIniFile(L"", content);
}

} // namespace

TEST(IniFile, LookupAfterLoading) {
    struct Case {
        const char* content;
        const wchar_t* path;
        bool has;
        const wchar_t* value;
    };
    const Case cases[] = {
        {"[Listen]\nport=8085\n", L"Listen::port", true, L"8085"},
        {"[Listen]\nport=8085\n", L"listen::PORT", true, L"8085"},
        {"[Listen]\r\nport=8085\r\n", L"Listen::port", true, L"8085"},
        {"[Listen]\nport=8085\n", L"port", false, L""},
        {"[Listen]\nport=8085\n", L"Listen::", false, L""},
        {"[[Listen]]\nport=1\n", L"Listen::port", true, L"1"},
        {"a = b = c\n", L"a", true, L"b = c"},
        {"a = b = c\n", L"::a", true, L"b = c"},
        {" \tkey\t = \t value with  inner  spaces \t\n", L"key", true, L"value with  inner  spaces"},
        {"port=1\nport=2\n", L"port", true, L"2"},
        {"port = 1\nport =\n", L"port", false, L""},
        {"host = x\ny\n", L"host", true, L"x\r\n\ty"},
        {"host = x\n  y  \n\n; note\nz", L"host", true, L"x\r\n\ty\r\n\tz"},
        // A continuation after a header adds the previous key, with its value, to the new section.
        {"[A]\nk=v\n[B]\nmore\n", L"B::k", true, L"v\r\n\tmore"},
        {"[A]\nk=v\n[B]\nmore\n", L"A::k", true, L"v"},
        {"#port=1\n", L"#port", true, L"1"},
        {"; port=1\n// host=2\n", L"port", false, L""},
        {"[S]\nk=\xe9t\xe9\n", L"S::k", true, L"\u00e9t\u00e9"},
        {"[Stra\xdf"
         "e]\nk=1\n",
         L"STRA\u00dfE::k", true, L"1"},
        {"[\xc9t\xe9]\nk=1\n", L"\u00e9T\u00c9::K", true, L"1"},
        {"[A]\nk=1\n[a]\nk=2\n", L"A::k", true, L"2"},
        {"x=1\r", L"x", true, L"1"},
        {"", L"x", false, L""},
    };
    for (const auto& c : cases) {
        const ICBSIniFile file = FromText(c.content);
        EXPECT_EQ(c.has, file.HasValue(c.path)) << c.content;
        EXPECT_EQ(c.value, file.GetValue(c.path)) << c.content;
        EXPECT_FALSE(file.IsModified()) << c.content;
        EXPECT_FALSE(file.HasErrors());
    }
}

TEST(IniFile, WrittenTextKeepsCommentsBlankLinesAndOrder) {
    struct Case {
        const char* content;
        const char* text;
    };
    const Case cases[] = {
        {"; comment\n  // other  \n\n[Listen]\nport=8085\n",
         "; comment\r\n// other\r\n\r\n[Listen]\r\nport = 8085\r\n"},
        {"a=1\n[S]\nb\t=\t2\n", "a = 1\r\n[S]\r\nb = 2\r\n"},
        {"[Empty]\n[S]\nk=v\n", "[S]\r\nk = v\r\n"},
        {"[S]\nk=v\n[Empty]\n", "[S]\r\nk = v\r\n"},
        {"[S]\n\n[T]\nk=v\n", "[S]\r\n\r\n[T]\r\nk = v\r\n"},
        {"[S]\nk=1\n[T]\nx=1\n[s]\nk=2\nj=3\n", "[S]\r\nk = 2\r\nj = 3\r\n[T]\r\nx = 1\r\n"},
        // A continued value goes out with its embedded line break, as a text-mode write stores it.
        {"host = x\ny\n", "host = x\r\r\n\ty\r\n"},
        {"k=\xe9\n", "k = \xe9\r\n"},
        // Nothing to continue: a line without "=" before any key stays a line of its own.
        {"first\nsecond\n", "first\r\nsecond\r\n"},
        {"=v\nw\n", "v\r\nw\r\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.text, FromText(c.content).Text()) << c.content;
}

TEST(IniFile, SetValueBranches) {
    struct Case {
        const char* name;
        const wchar_t* section;
        const wchar_t* key;
        const wchar_t* value;
        bool changed;
        bool modified;
        const char* text;
    };
    const char* content = "top=1\n[Listen]\nport=8085\n; keep\nhost=a\n";
    const Case cases[] = {
        {"same value", L"LISTEN", L"Port", L"8085", false, false, nullptr},
        {"replace keeps place", L"Listen", L"port", L"9000", true, true,
         "top = 1\r\n[Listen]\r\nport = 9000\r\n; keep\r\nhost = a\r\n"},
        {"values compared exactly", L"Listen", L"host", L"A", true, true,
         "top = 1\r\n[Listen]\r\nport = 8085\r\n; keep\r\nhost = A\r\n"},
        {"empty value removes", L"Listen", L"port", L"", true, true,
         "top = 1\r\n[Listen]\r\n; keep\r\nhost = a\r\n"},
        {"empty value, no key", L"Listen", L"nothing", L"", false, false, nullptr},
        {"empty value, no section", L"New", L"nothing", L"", false, true,
         "top = 1\r\n[Listen]\r\nport = 8085\r\n; keep\r\nhost = a\r\n[New]\r\n"},
        {"new key at the end", L"Listen", L"ssl", L"on", true, true,
         "top = 1\r\n[Listen]\r\nport = 8085\r\n; keep\r\nhost = a\r\nssl = on\r\n"},
        {"verbatim line", L"Listen", L"", L"# added", true, true,
         "top = 1\r\n[Listen]\r\nport = 8085\r\n; keep\r\nhost = a\r\n# added\r\n"},
        {"new section last", L"Other", L"k", L"v", true, true,
         "top = 1\r\n[Listen]\r\nport = 8085\r\n; keep\r\nhost = a\r\n[Other]\r\nk = v\r\n"},
    };
    for (const auto& c : cases) {
        ICBSIniFile file = FromText(content);
        EXPECT_EQ(c.changed, file.SetValue(c.section, c.key, c.value)) << c.name;
        EXPECT_EQ(c.modified, file.IsModified()) << c.name;
        if (c.text) {
            EXPECT_EQ(c.text, file.Text()) << c.name;
        }
    }

    // The unnamed section, made late, still comes first and has no header.
    ICBSIniFile file = FromText("[S]\nk=v\n");
    EXPECT_TRUE(file.SetValue(L"first", L"1"));
    EXPECT_EQ("first = 1\r\n[S]\r\nk = v\r\n", file.Text());
    EXPECT_TRUE(file.SetValue(L"S::k2", L"2"));
    EXPECT_EQ(L"2", file.GetValue(L"s::K2"));
    EXPECT_TRUE(file.SetValue(L"a::b::c", L"3")); // split at the first "::"
    EXPECT_EQ(L"3", file.GetValue(L"a", L"b::c"));
}

TEST(IniFile, IsLoadedWhenASectionExists) {
    EXPECT_FALSE(FromText("").IsLoaded());
    EXPECT_FALSE(FromText("[OnlyHeader]\n").IsLoaded());
    EXPECT_TRUE(FromText("\n").IsLoaded()); // a blank line is an entry of the unnamed section
    EXPECT_TRUE(FromText("; c").IsLoaded());
}

TEST(IniFile, MissingFileOrFolderGivesEmptyObjectAndWritesNothing) {
    ScratchFolder folder;
    {
        ICBSIniFile file(folder.WidePath("missing.ini"));
        EXPECT_FALSE(file.IsLoaded());
        EXPECT_FALSE(file.HasValue(L"Listen::port"));
        EXPECT_EQ(L"", file.GetValue(L"Listen::port"));
        EXPECT_TRUE(file.Save());
    }
    EXPECT_FALSE(folder.Exists("missing.ini"));

    ICBSIniFile atFolder(folder.WidePath(""));
    EXPECT_FALSE(atFolder.IsLoaded());
}

TEST(IniFile, SavesOnlyWhenModified) {
    ScratchFolder folder;
    const std::string original = "; settings\r\n[Listen]\r\n  port=8085  \r\nhost =  x\r\n";
    folder.Write("server.ini", original);
    {
        ICBSIniFile file(folder.WidePath("server.ini"));
        EXPECT_EQ(L"8085", file.GetValue(L"Listen::port"));
        EXPECT_FALSE(file.SetValue(L"Listen::port", L"8085"));
    }
    EXPECT_EQ(original, folder.Read("server.ini")); // untouched, odd spacing and all
    {
        ICBSIniFile file(folder.WidePath("server.ini"));
        EXPECT_TRUE(file.SetValue(L"Listen::port", L"9000"));
    } // the destructor saves
    EXPECT_EQ("; settings\r\n[Listen]\r\nport = 9000\r\nhost = x\r\n", folder.Read("server.ini"));

    ICBSIniFile file(folder.WidePath("server.ini"));
    EXPECT_EQ(L"9000", file.GetValue(L"Listen::port"));
    EXPECT_TRUE(file.SetValue(L"Listen::port", L"9001"));
    EXPECT_TRUE(file.Save());
    EXPECT_FALSE(file.IsModified());
}

TEST(IniFile, SaveCreatesFoldersAndKeepsModifiedWhenItCannotWrite) {
    ScratchFolder folder;
    {
        ICBSIniFile file(folder.WidePath("a/b/new.ini"));
        EXPECT_TRUE(file.SetValue(L"S::k", L"v"));
    }
    EXPECT_EQ("[S]\r\nk = v\r\n", folder.Read("a/b/new.ini"));

    folder.Write("plain", "x");
    ICBSIniFile blocked(folder.WidePath("plain/under/file.ini")); // a file where a folder must be
    EXPECT_TRUE(blocked.SetValue(L"k", L"v"));
    EXPECT_FALSE(blocked.Save());
    EXPECT_TRUE(blocked.IsModified());
}

TEST(IniFile, LongContinuationsStayLinear) {
    // Many lines without "=": before any key each stays a line; after a key they extend one value.
    std::string lines;
    for (int i = 0; i < 20000; ++i)
        lines += "line\n";
    const ICBSIniFile noKey = FromText(lines);
    EXPECT_EQ(20000u * 6, noKey.Text().size());

    const ICBSIniFile withKey = FromText("k=v\n" + lines);
    EXPECT_EQ(1 + 20000u * 7, withKey.GetValue(L"k").size());
}

TEST(ByteFile, LinesEndAtLineFeedWithOptionalCarriageReturn) {
    struct Case {
        std::string bytes;
        std::vector<std::wstring> lines;
    };
    const Case cases[] = {
        {"", {}},
        {"a", {L"a"}},
        {"a\n", {L"a"}},
        {"a\r\nb", {L"a", L"b"}},
        {"\n\n", {L"", L""}},
        {"a\rb\n", {L"a\rb"}},
        {"a\r\r\n", {L"a\r"}},
        {std::string("\xff\0z", 3), {std::wstring{L'\u00ff', L'\0', L'z'}}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.lines, ByteFile::SplitLines(c.bytes)) << c.bytes;

    EXPECT_EQ("a\r\nb\r\r\n", ByteFile::ToTextModeBytes(L"a\nb\r\n"));
    EXPECT_EQ("\xe9?", ByteFile::ToTextModeBytes(L"\u00e9\u20ac"));
}
