// Installer databases opened, queried and transformed for real: copies of the test products' databases,
// their language transforms, and transforms that add files (built by tools/bundle/msirowtransform.py).
#include "installer/MSIDatabase_win.h"
#include "tests/products/TestProducts.h"
#include "tests/win/FileTestSupport.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

using namespace TestProducts;

std::wstring ProductsFile(const std::wstring& name) {
    const std::wstring program = FileTest::ProgramPath();
    return program.substr(0, program.find_last_of(L'\\')) + L"\\" + kProductsFolder + L"\\" + name;
}

const std::wstring kGermanTransform = std::wstring(kHalvora101.stem) + L"_1031.mst";
const wchar_t* const kAddUncompressed = L"AddUncompressedFile.mst";
const wchar_t* const kAddCompressed = L"AddCompressedFile.mst";

// A scratch copy of the main product's database in target, with source beside it for transforms and
// the files they add.
class TransformFixture : public ::testing::Test {
protected:
    TransformFixture() : source_(L"msidb-source"), target_(L"msidb-target") {
        database_ = target_ / L"Product.msi";
        CopyFileW(ProductsFile(std::wstring(kHalvora101.stem) + L".msi").c_str(), database_.c_str(), FALSE);
        for (const std::wstring& transform :
             {kGermanTransform, std::wstring(kAddUncompressed), std::wstring(kAddCompressed)})
            CopyFileW(ProductsFile(transform).c_str(), (source_ / transform).c_str(), FALSE);
    }

    std::wstring Property(const std::wstring& name) {
        ICBSMSIDatabase database(database_, false);
        ICBSMSIDatabaseQuery query(database.Handle(), L"SELECT Value FROM Property WHERE Property=?", L"%s",
                                   name);
        return query.Fetch() == ERROR_SUCCESS ? query.GetString(1) : L"<none>";
    }
    bool HasFileRow(const std::wstring& key) {
        ICBSMSIDatabase database(database_, false);
        ICBSMSIDatabaseQuery query(database.Handle(), L"SELECT File FROM File WHERE File=?", L"%s", key);
        return query.Fetch() == ERROR_SUCCESS;
    }

    FileTest::Folder source_;
    FileTest::Folder target_;
    std::wstring database_;
};

TEST_F(TransformFixture, QueriesReadRowsAndFieldsWithAndWithoutParameters) {
    ICBSMSIDatabase database(database_, false);
    ASSERT_NE(database.Handle(), 0u);
    EXPECT_FALSE(database.IsModified());

    ICBSMSIDatabaseQuery byName(database.Handle(), L"SELECT Property, Value FROM Property WHERE Property=?",
                                L"%s", L"ProductVersion");
    EXPECT_EQ(byName.Status(), 0u);
    EXPECT_EQ(byName.GetString(2), L"") << "no row fetched yet";
    ASSERT_EQ(byName.Fetch(), 0u);
    EXPECT_EQ(byName.GetString(1), L"ProductVersion");
    EXPECT_EQ(byName.GetString(2), kHalvora101.versionString);
    EXPECT_NE(byName.Fetch(), 0u) << "one row only";
    EXPECT_EQ(byName.GetString(2), L"") << "the previous row is released";

    ICBSMSIDatabaseQuery mixed(database.Handle(), L"SELECT * FROM File WHERE Sequence=? AND File=?", L"%d%s",
                               1, L"ApplicationExe");
    ASSERT_EQ(mixed.Fetch(), 0u);
    EXPECT_EQ(mixed.GetString(3), L"HalvoraServer.exe");
    EXPECT_EQ(mixed.GetInteger(8), 1);

    ICBSMSIDatabaseQuery all(database.Handle(), L"SELECT * FROM Media");
    ASSERT_EQ(all.Fetch(), 0u);
    EXPECT_EQ(all.GetInteger(1), 1);
    EXPECT_EQ(all.GetString(4), L"#product.cab");
}

TEST_F(TransformFixture, QueriesThatCannotRunFetchNothing) {
    ICBSMSIDatabase database(database_, false);
    struct Case {
        const char* name;
        MSIHANDLE database;
        const wchar_t* sql;
        bool withParameter;
        UINT status; // 0: any failure
    };
    const Case cases[] = {
        {"no database", 0, L"SELECT * FROM File", false, 1009},
        {"unknown table", database.Handle(), L"SELECT * FROM NoSuchTable", false, 0},
        {"text for a %d marker", database.Handle(), L"SELECT * FROM File WHERE Sequence=?", true, 87},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ICBSMSIDatabaseQuery query = c.withParameter ? ICBSMSIDatabaseQuery(c.database, c.sql, L"%d", L"1")
                                                     : ICBSMSIDatabaseQuery(c.database, c.sql);
        if (c.status)
            EXPECT_EQ(query.Status(), c.status);
        else
            EXPECT_NE(query.Status(), 0u);
        EXPECT_FALSE(query.HasView());
        EXPECT_NE(query.Fetch(), 0u);
        EXPECT_EQ(query.GetString(1), L"");
        EXPECT_EQ(query.GetInteger(1), 0);
    }
}

TEST_F(TransformFixture, AppliesTransformsCopiesWhatTheyAddAndCommitsOnDestruction) {
    struct Case {
        const char* name;
        std::vector<std::wstring> references; // "S\" stands for the source folder
        std::vector<std::wstring> sourceFiles;
        std::vector<std::wstring> existingTargetFiles;
        bool result;
        bool modified;
        std::vector<std::wstring> copied;    // target files with the source's content afterwards
        std::vector<std::wstring> notCopied; // absent from target afterwards
        const wchar_t* language;             // ProductLanguage after the database ended
        const wchar_t* addedFileRow;         // File key expected after the database ended, or null
    };
    const Case cases[] = {
        {"modifying rows only copies nothing",
         {L"S\\" + kGermanTransform},
         {},
         {},
         true,
         true,
         {},
         {},
         L"1031",
         nullptr},
        {"secure marker before the path",
         {L"@S\\" + std::wstring(kAddUncompressed)},
         {L"ExtraNotes.txt"},
         {},
         true,
         true,
         {L"ExtraNotes.txt"},
         {},
         L"1033",
         L"ExtraNotes"},
        {"the added file is already in the target",
         {L"|S\\" + std::wstring(kAddUncompressed)},
         {L"ExtraNotes.txt"},
         {L"ExtraNotes.txt"},
         false,
         true,
         {},
         {},
         L"1033",
         L"ExtraNotes"},
        {"the added file is missing from the source",
         {L"S\\" + std::wstring(kAddUncompressed)},
         {},
         {},
         false,
         true,
         {},
         {L"ExtraNotes.txt"},
         L"1033",
         L"ExtraNotes"},
        {"a compressed file takes the cabinet of its disk",
         {L"S\\" + std::wstring(kAddCompressed)},
         {L"CabinetA.cab", L"CabinetB.cab", L"Packed.dll"},
         {},
         true,
         true,
         {L"CabinetB.cab"},
         {L"CabinetA.cab", L"Packed.dll"},
         L"1033",
         L"Packed"},
        {"a stored transform after a file stops the list",
         {L"S\\" + kGermanTransform, L":Stored", L"S\\" + std::wstring(kAddUncompressed)},
         {L"ExtraNotes.txt"},
         {},
         false,
         true,
         {},
         {L"ExtraNotes.txt"},
         L"1031",
         nullptr},
        {"missing transform", {L"S\\NoSuch.mst"}, {}, {}, false, false, {}, {}, L"1033", nullptr},
        {"not a transform", {L"S\\Garbage.mst"}, {}, {}, false, false, {}, {}, L"1033", nullptr},
        {"empty reference", {L""}, {}, {}, false, false, {}, {}, L"1033", nullptr},
    };
    const std::wstring pristine = source_ / L"Pristine.msi";
    ASSERT_TRUE(CopyFileW(database_.c_str(), pristine.c_str(), FALSE));
    ASSERT_TRUE(FileTest::WriteText(source_ / L"Garbage.mst", "this is not a compound file"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(CopyFileW(pristine.c_str(), database_.c_str(), FALSE));
        for (const auto& name : {L"ExtraNotes.txt", L"CabinetA.cab", L"CabinetB.cab", L"Packed.dll"}) {
            DeleteFileW((source_ / name).c_str());
            DeleteFileW((target_ / name).c_str());
        }
        for (const auto& name : c.sourceFiles)
            ASSERT_TRUE(FileTest::WriteText(source_ / name, "source"));
        for (const auto& name : c.existingTargetFiles)
            ASSERT_TRUE(FileTest::WriteText(target_ / name, "kept"));
        std::vector<std::wstring> references;
        for (std::wstring reference : c.references) {
            const size_t at = reference.find(L"S\\");
            if (at <= 1)
                reference.replace(at, 1, source_.Path());
            references.push_back(reference);
        }
        {
            ICBSMSIDatabase database(database_, false);
            ASSERT_NE(database.Handle(), 0u);
            EXPECT_EQ(database.ApplyTransforms(references, source_.Path(), target_.Path()), c.result);
            EXPECT_EQ(database.IsModified(), c.modified);
        }
        for (const auto& name : c.copied)
            EXPECT_EQ(FileTest::ReadText(target_ / name), "source") << name;
        for (const auto& name : c.notCopied)
            EXPECT_FALSE(FileTest::Exists(target_ / name)) << name;
        for (const auto& name : c.existingTargetFiles)
            EXPECT_EQ(FileTest::ReadText(target_ / name), "kept") << name;
        EXPECT_EQ(Property(L"ProductLanguage"), c.language);
        if (c.addedFileRow)
            EXPECT_TRUE(HasFileRow(c.addedFileRow));
    }
}

TEST_F(TransformFixture, TransformListStepLogsItsOutcome) {
    using Lines = std::vector<std::pair<int, std::wstring>>;
    Lines lines;
    const auto log = [&](int level, const std::wstring& line) { lines.emplace_back(level, line); };

    const std::wstring missing = target_ / L"Missing.msi";
    ApplyTransformListToDatabase(missing, L"x.mst", source_.Path(), log);
    EXPECT_EQ(lines, (Lines{{2, L"VNT (c): Cannot open MIS database file " + missing +
                                    L". No transformations applied."}}));

    lines.clear();
    ASSERT_TRUE(FileTest::WriteText(source_ / L"ExtraNotes.txt", "notes"));
    const std::wstring list = (source_ / kGermanTransform) + L";" + (source_ / kAddUncompressed);
    ApplyTransformListToDatabase(database_, list, source_.Path(), log);
    EXPECT_EQ(lines, (Lines{{2, L"VNT (c): Applying transformations: " + list + L"\r\n"},
                            {3, L"VNT (c): Transformations successfully applied\r\n"}}));
    EXPECT_EQ(FileTest::ReadText(target_ / L"ExtraNotes.txt"), "notes") << "copied beside the database";
    EXPECT_EQ(Property(L"ProductLanguage"), L"1031");

    // A trailing separator leaves an empty reference, which fails after the transforms before it.
    lines.clear();
    const std::wstring withEmpty = (source_ / kGermanTransform) + L";";
    ApplyTransformListToDatabase(database_, withEmpty, source_.Path(), log);
    EXPECT_EQ(lines, (Lines{{2, L"VNT (c): Applying transformations: " + withEmpty + L"\r\n"},
                            {2, L"VNT (c): Transformations failed\r\n"}}));
    EXPECT_EQ(Property(L"ProductLanguage"), L"1031");
    EXPECT_TRUE(HasFileRow(L"ExtraNotes")) << "the earlier commit survives";
}

} // namespace
