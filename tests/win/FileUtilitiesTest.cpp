#include "FileTestSupport.h"

#include "support/FilePath.h"
#include "support/FileUtilities_win.h"
#include "support/FolderPath.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace FileTest;
namespace Files = ICBSFileUtilities;

TEST(FileUtilities, TellsFilesFromFoldersAndListsFiles) {
    Folder scratch(L"exists");
    ASSERT_TRUE(WriteText(scratch / L"Server.msi", "x"));
    ASSERT_TRUE(WriteText(scratch / L"Companion.MSI", "x"));
    ASSERT_TRUE(WriteText(scratch / L"notes.txt", "x"));
    ASSERT_TRUE(CreateDirectoryW((scratch / L"folder.msi").c_str(), nullptr));
    struct Case {
        std::wstring path;
        bool exists, isFolder;
    };
    const Case cases[] = {{scratch / L"notes.txt", true, false},
                          {scratch.Path() + L"\\", true, true},
                          {scratch / L"missing\\deeper", false, false},
                          {L"C:\\", true, true},
                          {L"", false, false}};
    for (const auto& c : cases) {
        EXPECT_EQ(c.exists, Files::Exists(c.path)) << c.path;
        EXPECT_EQ(c.isFolder, Files::IsFolder(c.path)) << c.path;
    }
    EXPECT_FALSE(ICBSFolderPath(scratch / L"notes.txt").Exists());
    EXPECT_TRUE(ICBSFilePath(scratch.Path()).Exists()); // a folder counts for a file path

    auto files = ICBSFolderPath(scratch.Path()).ListFiles(L"*.msi");
    std::sort(files.begin(), files.end());
    EXPECT_EQ((std::vector<std::wstring>{scratch / L"Companion.MSI", scratch / L"Server.msi"}), files);
    EXPECT_TRUE(Files::ListFiles(scratch / L"missing", L"*.msi").empty());
}

TEST(FileUtilities, CreatesFolderTrees) {
    Folder scratch(L"ensure");
    EXPECT_TRUE(Files::EnsureParentFolder(scratch / L"a\\b\\c\\file.txt"));
    EXPECT_TRUE(Files::IsFolder(scratch / L"a\\b\\c"));
    EXPECT_FALSE(Exists(scratch / L"a\\b\\c\\file.txt"));
    EXPECT_TRUE(Files::EnsureParentFolder(scratch / L"a\\b\\c\\file.txt")); // already there
    EXPECT_FALSE(Files::EnsureParentFolder(L"no-folder-part.txt"));
    ASSERT_TRUE(WriteText(scratch / L"blocker", "x")); // a file where a folder should be
    EXPECT_FALSE(Files::EnsureParentFolder(scratch / L"blocker\\inner\\file.txt"));
    EXPECT_FALSE(Files::CreateFolder(scratch / L"blocker", false));
    EXPECT_TRUE(ICBSFolderPath(scratch / L"p\\q").Create());
    EXPECT_TRUE(Files::IsFolder(scratch / L"p\\q"));

    EXPECT_TRUE(Files::CreateFolder(scratch / L"restricted", true));
    EXPECT_TRUE(Files::CreateFolder(scratch / L"restricted", true));
    EXPECT_TRUE(WriteText(scratch / L"restricted\\file.txt", "x")); // administrators keep full access
}

TEST(FileUtilities, CopiesIntoNewFoldersOverReadOnlyTargetsAndAtLength) {
    Folder scratch(L"copy");
    const std::wstring source = scratch / L"source.txt";
    ASSERT_TRUE(WriteText(source, "new"));
    EXPECT_TRUE(Files::CopyFile(source, scratch / L"new\\tree\\target.txt", true));
    EXPECT_EQ("new", ReadText(scratch / L"new\\tree\\target.txt"));

    const std::wstring kept = scratch / L"kept.txt";
    ASSERT_TRUE(WriteText(kept, "old", FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(Files::CopyFile(source, kept, true));
    EXPECT_EQ("old", ReadText(kept));
    EXPECT_TRUE(GetFileAttributesW(kept.c_str()) & FILE_ATTRIBUTE_READONLY); // a kept target stays as it was
    EXPECT_TRUE(ICBSFilePath(source).CopyTo(kept, false));
    EXPECT_EQ("new", ReadText(kept));
    EXPECT_FALSE(Files::CopyFile(scratch / L"missing.txt", scratch / L"copy.txt", false));

    std::wstring deep = scratch.Path();
    while (deep.size() < 300)
        deep += L"\\a-folder-name-of-some-length";
    EXPECT_TRUE(Files::CopyFile(source, deep + L"\\target.txt", false));
    EXPECT_EQ(3u, Files::FileSize32(deep + L"\\target.txt"));
    EXPECT_TRUE(Files::CopyFile(deep + L"\\target.txt", scratch / L"back.txt", false));
    EXPECT_EQ("new", ReadText(scratch / L"back.txt"));
    EXPECT_TRUE(Files::DeleteTree(scratch / L"a-folder-name-of-some-length"));
}

TEST(FileUtilities, MeasuresFilesAlsoWhileTheyAreWritten) {
    Folder scratch(L"size");
    ASSERT_TRUE(WriteText(scratch / L"five.bin", "12345"));
    HANDLE writer = CreateFileW((scratch / L"five.bin").c_str(), GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(5u, Files::FileSize32(scratch / L"five.bin"));
    EXPECT_EQ(5, ICBSFilePath(scratch / L"five.bin").Size());
    CloseHandle(writer);
    EXPECT_EQ(0u, Files::FileSize32(scratch / L"missing.bin"));
    EXPECT_EQ(0, ICBSFilePath(scratch / L"missing.bin").Size());
}

TEST(FileUtilities, CreatesUniqueFiles) {
    Folder scratch(L"unique");
    const std::wstring pattern = L"MicrosoftEdgeWebview2Setup_%x.exe";
    for (const wchar_t* taken : {L"0", L"1", L"2", L"3"})
        ASSERT_TRUE(
            WriteText(scratch / (L"MicrosoftEdgeWebview2Setup_" + std::wstring(taken) + L".exe"), "taken"));
    const std::wstring made = Files::CreateUniqueFile(scratch.Path(), pattern, 100);
    EXPECT_EQ(scratch / L"MicrosoftEdgeWebview2Setup_4.exe", made);
    EXPECT_EQ("", ReadText(made)); // new, empty, and closed again
    EXPECT_EQ("taken", ReadText(scratch / L"MicrosoftEdgeWebview2Setup_0.exe"));
    EXPECT_EQ(L"", Files::CreateUniqueFile(scratch.Path() + L"\\", pattern, 5)); // 0 to 4 all taken now
    EXPECT_EQ(L"", Files::CreateUniqueFile(scratch.Path(), pattern, 0));
    EXPECT_EQ(L"", Files::CreateUniqueFile(scratch / L"missing", pattern, 3));
}

TEST(FileUtilities, NamesFoldersAndReadsVersions) {
    const std::wstring temp = Files::TempFolder();
    EXPECT_EQ(L'\\', temp.back());
    EXPECT_TRUE(Files::IsFolder(temp));
    Folder scratch(L"current");
    const std::wstring previous = Files::CurrentFolder();
    ASSERT_TRUE(SetCurrentDirectoryW(scratch.Path().c_str()));
    EXPECT_EQ(ICBSFolderPath(scratch.Path()), ICBSFolderPath(Files::CurrentFolder()));
    SetCurrentDirectoryW(previous.c_str());

    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    const std::wstring version = ICBSFilePath(std::wstring(system) + L"\\kernel32.dll").Version();
    EXPECT_EQ(3, std::count(version.begin(), version.end(), L'.')) << version;
    ASSERT_TRUE(WriteText(scratch / L"plain.txt", "no resources"));
    EXPECT_EQ(L"", ICBSFilePath(scratch / L"plain.txt").Version());
    EXPECT_EQ(ProgramPath(), ICBSFilePath::ModulePath(nullptr).FullPath());
}
