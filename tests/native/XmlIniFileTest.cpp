#include "support/XmlIniFile.h"

#include "ScratchFolder.h"

#include <gtest/gtest.h>

namespace {

ICBSXMLIniFile FromText(const std::string& content) {
    return ICBSXMLIniFile(L"", content);
}

const char kHead[] = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
                     "<config xmlns=\"http://www.quenlis.com/schemas/zorvexxml/config\" "
                     "xsi:schemaLocation=\"http://www.quenlis.com/schemas/zorvexxml/config "
                     "http://www.quenlis.com/schemas/zorvexxml/config/config.xsd\" "
                     "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
                     "xmlns:xs=\"http://www.w3.org/2001/XMLSchema\">\r\n";
const char kTail[] = "\r\n</config>\r\n";

std::string Saved(const std::string& records) {
    return kHead + records + kTail;
}

} // namespace

TEST(XmlIniFile, LineRecords) {
    enum Flags { None = 0, Element = 1, Commented = 2, Malformed = 4 };
    struct Case {
        const wchar_t* text;
        int flags;
        const wchar_t* group;
        const wchar_t* key;
        const wchar_t* value;
    };
    const Case cases[] = {
        {L"    <http.socket-port>8087</http.socket-port>", Element, L"http", L"socket-port", L"8087"},
        {L"<!-- <http.enable>true</http.enable> -->", Element | Commented, L"http", L"enable", L"true"},
        {L"<!--<http.enable>true</http.enable>-->", Element | Commented, L"http", L"enable", L"true"},
        {L"<https.enable attr=\"1\">false</https.enable>", Element, L"https", L"enable", L"false"},
        {L"<a.b/>", Element, L"", L"a.b", L""},
        {L"\t<a.b/>  ", Element, L"", L"a.b", L""},
        {L"<a.b.c>v</a.b.c>", Element, L"a", L"b.c", L"v"},
        {L"<key>&amp; x </key>", Element, L"", L"key", L"&amp; x "},
        {L"<a.b></a.b>", Element, L"a", L"b", L""},
        {L"<a>1</a><b>2</b>", Element | Malformed, L"", L"a", L"1"},
        {L"<a>1</a> tail", Element | Malformed, L"", L"a", L"1"},
        {L"<a.b>starts here", None, L"", L"", L""},
        {L"<a.b x=\"1\"/>", None, L"", L"", L""}, // a ">" is found, the end tag is not
        {L"plain text", Malformed, L"", L"", L""},
        {L"</http>", Malformed, L"", L"", L""},
        {L"<a.b/ >", Malformed, L"", L"", L""},
        {L"<abc", Malformed, L"", L"", L""},
        {L"<a x=\"1\"", Malformed, L"", L"", L""},
        {L"<!-- just a note -->", Commented, L"", L"", L""},
        {L"<!-- -->", Commented, L"", L"", L""},
        {L"<!-- open", Commented | Malformed, L"", L"", L""},
        {L"<!-- <a>1</a> x -->", Commented, L"", L"", L""},
        {L"<!-- <a>1</a> --> x", Element | Commented | Malformed, L"", L"a", L"1"},
        {L"<!-- <a>1</a>", Commented | Malformed, L"", L"", L""}, // no "-->": not an element
        {L"<!-- <a>multi", Commented, L"", L"", L""},
        {L"", None, L"", L"", L""},
        {L"   \t", None, L"", L"", L""},
    };
    for (const auto& c : cases) {
        ICBSXMLIniFile::Line line;
        ASSERT_TRUE(ICBSXMLIniFile::ParseLine(c.text, line)) << c.text;
        EXPECT_EQ((c.flags & Element) != 0, line.isElement) << c.text;
        EXPECT_EQ((c.flags & Commented) != 0, line.commented) << c.text;
        EXPECT_EQ((c.flags & Malformed) != 0, line.malformed) << c.text;
        EXPECT_EQ(c.text, line.text);
        if (line.isElement) {
            EXPECT_EQ(c.group, line.group) << c.text;
            EXPECT_EQ(c.key, line.key) << c.text;
            EXPECT_EQ(c.value, line.value) << c.text;
        }
    }

    for (const wchar_t* dropped : {L"<?xml version=\"1.0\"?>", L"  <config xmlns=\"x\">", L"</config>",
                                   L"<configuration>", L"\t</config >"}) {
        ICBSXMLIniFile::Line line;
        EXPECT_FALSE(ICBSXMLIniFile::ParseLine(dropped, line)) << dropped;
    }
}

TEST(XmlIniFile, LookupIgnoresCommentedElementsAndCase) {
    const ICBSXMLIniFile file = FromText("<?xml version=\"1.0\"?>\r\n<config>\r\n"
                                         "    <http.socket-port>8087</http.socket-port>\r\n"
                                         "    <!-- <http.enable>true</http.enable> -->\r\n"
                                         "    <https.enable attr=\"1\">false</https.enable>\r\n"
                                         "    <plain>1</plain>\r\n"
                                         "</config>\r\n");
    EXPECT_TRUE(file.IsLoaded());
    EXPECT_FALSE(file.HasErrors());
    EXPECT_FALSE(file.IsModified());
    EXPECT_EQ(4u, file.Lines().size());
    EXPECT_EQ(L"8087", file.GetValue(L"http.socket-port"));
    EXPECT_EQ(L"8087", file.GetValue(L"HTTP.Socket-Port"));
    EXPECT_TRUE(file.HasValue(L"http", L"socket-port"));
    EXPECT_FALSE(file.HasValue(L"http.enable"));
    EXPECT_EQ(L"", file.GetValue(L"http.enable"));
    EXPECT_EQ(L"false", file.GetValue(L"https.enable"));
    EXPECT_EQ(L"1", file.GetValue(L"plain"));
    EXPECT_FALSE(file.HasValue(L"socket-port"));
}

TEST(XmlIniFile, LoadedAndErrors) {
    EXPECT_FALSE(FromText("<?xml version=\"1.0\"?>\n<config a=\"b\">\n</config>\n").IsLoaded());
    EXPECT_TRUE(FromText("<config>\n\n</config>\n").IsLoaded()); // a blank line is a record
    EXPECT_TRUE(FromText("<config>\n  stray text\n</config>\n").HasErrors());
    EXPECT_TRUE(FromText("<config>\n<a>1</a> <b>2</b>\n</config>\n").HasErrors());
    // An element over several lines: the start stays text, the lone end tag is malformed.
    EXPECT_FALSE(FromText("<a>\n").HasErrors());
    EXPECT_TRUE(FromText("<a>\n</a>\n").HasErrors());
}

TEST(XmlIniFile, SetValueCommentsActivatesAndReplaces) {
    const std::string content = "<config>\n"
                                "    <http.socket-port>8087</http.socket-port>\n"
                                "    <!-- <http.enable>true</http.enable> -->\n"
                                "</config>\n";
    struct Case {
        const char* name;
        const wchar_t* path;
        const wchar_t* value;
        bool changed;
        const char* records; // nullptr: nothing to write
    };
    const Case cases[] = {
        {"same value", L"HTTP.socket-port", L"8087", false, nullptr},
        {"replace", L"http.socket-port", L"9090", true,
         "    <http.socket-port>9090</http.socket-port>\r\n    <!-- <http.enable>true</http.enable> -->"},
        {"comment out keeps the value", L"http.socket-port", L"", true,
         "    <!--<http.socket-port>8087</http.socket-port>-->\r\n    <!-- <http.enable>true</http.enable> "
         "-->"},
        {"commented stays commented", L"http.enable", L"", false, nullptr},
        {"activate", L"http.enable", L"false", true,
         "    <http.socket-port>8087</http.socket-port>\r\n    <http.enable>false</http.enable>"},
        {"activate with the same value is a change", L"http.enable", L"true", true,
         "    <http.socket-port>8087</http.socket-port>\r\n    <http.enable>true</http.enable>"},
        {"empty value for a new key", L"http.other", L"", false, nullptr},
    };
    for (const auto& c : cases) {
        ICBSXMLIniFile file = FromText(content);
        EXPECT_EQ(c.changed, file.SetValue(c.path, c.value)) << c.name;
        EXPECT_EQ(c.records != nullptr, file.IsModified()) << c.name;
        if (c.records) {
            EXPECT_EQ(Saved(c.records), file.Text()) << c.name;
        }
    }

    ICBSXMLIniFile file = FromText(content);
    EXPECT_TRUE(file.SetValue(L"http.socket-port", L""));
    EXPECT_FALSE(file.HasValue(L"http.socket-port"));
    EXPECT_TRUE(file.SetValue(L"http.socket-port", L"1"));
    EXPECT_EQ(L"1", file.GetValue(L"http.socket-port"));
}

TEST(XmlIniFile, WhereNewElementsGo) {
    struct Case {
        const char* name;
        const char* content;
        const wchar_t* path;
        const char* records;
    };
    const Case cases[] = {
        {"before the last element of its group", "<a.x>1</a.x>\n<a.y>2</a.y>\n<b.z>3</b.z>", L"a.new",
         "<a.x>1</a.x>\r\n    <a.new>v</a.new>\r\n<a.y>2</a.y>\r\n<b.z>3</b.z>"},
        {"group only at index 0: blank line and element first", "<a.x>1</a.x>\n<b.z>3</b.z>", L"a.new",
         "\r\n    <a.new>v</a.new>\r\n<a.x>1</a.x>\r\n<b.z>3</b.z>"},
        {"new group before the first grouped element", "<!-- c -->\n<plain>1</plain>\n<a.x>1</a.x>", L"n.k",
         "<!-- c -->\r\n<plain>1</plain>\r\n\r\n    <n.k>v</n.k>\r\n<a.x>1</a.x>"},
        {"new group without grouped elements goes last", "<plain>1</plain>", L"n.k",
         "<plain>1</plain>\r\n\r\n    <n.k>v</n.k>"},
        {"no group: first", "<a.x>1</a.x>", L"top", "    <top>v</top>\r\n<a.x>1</a.x>"},
        {"commented elements count for the group", "<a.x>1</a.x>\n<!--<a.y>2</a.y>-->\n<b.z>3</b.z>",
         L"A.new", "<a.x>1</a.x>\r\n    <A.new>v</A.new>\r\n<!--<a.y>2</a.y>-->\r\n<b.z>3</b.z>"},
        {"empty file", "", L"a.b", "\r\n    <a.b>v</a.b>"},
    };
    for (const auto& c : cases) {
        ICBSXMLIniFile file = FromText(c.content);
        EXPECT_TRUE(file.SetValue(c.path, L"v")) << c.name;
        EXPECT_EQ(Saved(c.records), file.Text()) << c.name;
        EXPECT_EQ(L"v", file.GetValue(c.path)) << c.name;
    }
}

TEST(XmlIniFile, SaveRewritesRootAndKeepsUnchangedLines) {
    ScratchFolder folder;
    const std::string original = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n"
                                 "<config xmlns=\"old\">\n"
                                 "\t<http.socket-port>8087</http.socket-port>\n"
                                 "  <https.enable attr=\"1\">false</https.enable>\n"
                                 "\n"
                                 "</config>\n";
    folder.Write("server.xml", original);
    {
        ICBSXMLIniFile file(folder.WidePath("server.xml"));
        EXPECT_FALSE(file.SetValue(L"http.socket-port", L"8087"));
    }
    EXPECT_EQ(original, folder.Read("server.xml"));
    {
        ICBSXMLIniFile file(folder.WidePath("server.xml"));
        EXPECT_TRUE(file.SetValue(L"http.socket-port", L"9999"));
    }
    EXPECT_EQ(Saved("    <http.socket-port>9999</http.socket-port>\r\n"
                    "  <https.enable attr=\"1\">false</https.enable>\r\n"),
              folder.Read("server.xml"));

    ICBSXMLIniFile file(folder.WidePath("server.xml"));
    EXPECT_EQ(L"9999", file.GetValue(L"http.socket-port"));
    EXPECT_EQ(3u, file.Lines().size());

    ICBSXMLIniFile missing(folder.WidePath("none.xml"));
    EXPECT_FALSE(missing.IsLoaded());
    EXPECT_TRUE(missing.Save());
}
