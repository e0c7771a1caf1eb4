// The portable decisions of the transform step: references, query parameters, and what a file added
// by a transform needs beside the database.
#include "installer/TransformPlan.h"

#include <gtest/gtest.h>

using namespace TransformPlan;

TEST(TransformPlan, ReadsTransformReferences) {
    using Kind = TransformReference::Kind;
    struct Case {
        const wchar_t* reference;
        Kind kind;
        const wchar_t* path;
    };
    const Case cases[] = {
        {L"", Kind::Invalid, L""},
        {L":Stored", Kind::Embedded, L"Stored"},
        {L":", Kind::Embedded, L""},
        {L"@C:\\t\\de.mst", Kind::File, L"C:\\t\\de.mst"},
        {L"|de.mst", Kind::File, L"de.mst"},
        {L"@@x.mst", Kind::File, L"@x.mst"}, // only the first marker goes
        {L"x:y.mst", Kind::File, L"x:y.mst"},
        {L"Transform_de.mst", Kind::File, L"Transform_de.mst"},
    };
    for (const auto& c : cases) {
        const auto parsed = ParseTransformReference(c.reference);
        EXPECT_EQ(parsed.kind, c.kind) << c.reference;
        EXPECT_EQ(parsed.path, c.path) << c.reference;
    }
}

TEST(TransformPlan, SplitsListsAndJoinsFolders) {
    struct Case {
        const wchar_t* list;
        std::vector<std::wstring> references;
    };
    const Case cases[] = {
        {L"a.mst", {L"a.mst"}},           {L"a.mst;@b.mst", {L"a.mst", L"@b.mst"}},
        {L"a.mst;", {L"a.mst", L""}}, // the empty reference makes the apply step fail
        {L"a.mstb.mst", {L"a.mstb.mst"}}, {L"", {L""}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SplitTransformList(c.list), c.references) << c.list;

    EXPECT_EQ(FolderWithSeparator(L"C:\\pkg"), L"C:\\pkg\\");
    EXPECT_EQ(FolderWithSeparator(L"C:\\pkg\\"), L"C:\\pkg\\");
    EXPECT_EQ(FolderWithSeparator(L""), L"\\");
}

TEST(TransformPlan, BindsParametersToMarkersInOrder) {
    struct Case {
        const char* name;
        const wchar_t* format;
        std::vector<QueryParameter> args;
        bool bound;
        unsigned recordFields;
        std::vector<QueryParameter> values;
    };
    const Case cases[] = {
        {"one text", L"%s", {std::wstring(L"File1")}, true, 1, {std::wstring(L"File1")}},
        {"integer then text", L"%d%s", {12, std::wstring(L"x")}, true, 2, {12, std::wstring(L"x")}},
        {"other characters skipped", L"%s, %d", {std::wstring(L"a"), 3}, true, 3, {std::wstring(L"a"), 3}},
        {"no markers", L"", {}, true, 0, {}},
        {"missing argument", L"%s%s", {std::wstring(L"a")}, false, 0, {}},
        {"text for an integer", L"%d", {std::wstring(L"1")}, false, 0, {}},
        {"integer for a text", L"%s", {1}, false, 0, {}},
        {"unknown marker ignored", L"%x%s", {std::wstring(L"a")}, true, 2, {std::wstring(L"a")}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto binding = BindParameters(c.format, c.args);
        ASSERT_EQ(binding.has_value(), c.bound);
        if (!binding)
            continue;
        EXPECT_EQ(binding->recordFields, c.recordFields);
        ASSERT_EQ(binding->fields.size(), c.values.size());
        for (size_t i = 0; i < c.values.size(); ++i) {
            EXPECT_EQ(binding->fields[i].field, i + 1);
            EXPECT_EQ(binding->fields[i].value, c.values[i]);
        }
    }
}

TEST(TransformPlan, DecidesWhatAnInsertedFileNeeds) {
    using Kind = InsertedFileCopy::Kind;
    const std::vector<MediaRow> twoDisks = {{10, L"A.cab"}, {20, L"B.cab"}};
    const std::vector<MediaRow> unordered = {{1, L"#product.cab"}, {20, L"B.cab"}, {10, L"A.cab"}};
    struct Case {
        const char* name;
        int attributes;
        const wchar_t* fileName;
        int sequence;
        std::vector<MediaRow> media;
        Kind kind;
        const wchar_t* copied;
    };
    const Case cases[] = {
        {"uncompressed", 0x2000, L"Notes.txt", 1, {}, Kind::SourceFile, L"Notes.txt"},
        {"uncompressed, short|long name",
         0x2000,
         L"NOTES~1.TXT|Release Notes.txt",
         1,
         {},
         Kind::SourceFile,
         L"Release Notes.txt"},
        {"both bits: uncompressed wins", 0x6000, L"a.txt", 12, twoDisks, Kind::SourceFile, L"a.txt"},
        {"compressed, sequence 12", 0x4000, L"a.dll", 12, twoDisks, Kind::Cabinet, L"B.cab"},
        {"compressed, last sequence itself", 0x4000, L"a.dll", 10, twoDisks, Kind::Cabinet, L"A.cab"},
        {"compressed, rows out of order", 0x4000, L"a.dll", 5, unordered, Kind::Cabinet, L"A.cab"},
        {"compressed beyond every disk", 0x4000, L"a.dll", 21, twoDisks, Kind::Fail, L""},
        {"compressed without media", 0x4000, L"a.dll", 1, {}, Kind::Fail, L""},
        {"cabinet inside the database", 0x4000, L"a.dll", 1, unordered, Kind::Nothing, L"product.cab"},
        {"neither bit", 0x0200, L"a.dll", 1, twoDisks, Kind::Fail, L""},
        {"name leaving the folder", 0x2000, L"..\\evil.txt", 1, {}, Kind::Fail, L""},
        {"long name leaving the folder", 0x2000, L"EVIL.TXT|..", 1, {}, Kind::Fail, L""},
        {"absolute name", 0x2000, L"C:evil.txt", 1, {}, Kind::Fail, L""},
        {"cabinet in another folder", 0x4000, L"a.dll", 1, {{5, L"sub\\c.cab"}}, Kind::Fail, L""},
        {"disk without cabinet", 0x4000, L"a.dll", 1, {{5, L""}}, Kind::Fail, L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto copy = DecideInsertedFileCopy(c.attributes, c.fileName, c.sequence, c.media);
        EXPECT_EQ(copy.kind, c.kind);
        if (c.kind != Kind::Fail) {
            EXPECT_EQ(copy.name, c.copied);
        }
    }
}
