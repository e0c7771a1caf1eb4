#include "FileTestSupport.h"

#include "support/FileUtilities_win.h"

#include <gtest/gtest.h>

#include <thread>

using namespace FileTest;
namespace Files = ICBSFileUtilities;

TEST(DeleteTree, RemovesNestedAndReadOnlyEntriesAndRefusesWhatIsNoFolder) {
    Folder scratch(L"delete-nested");
    const std::wstring tree = scratch / L"tree";
    ASSERT_TRUE(Files::EnsureParentFolder(tree + L"\\a\\b\\c\\"));
    ASSERT_TRUE(WriteText(tree + L"\\a\\b\\c\\deep.txt", "x"));
    ASSERT_TRUE(WriteText(tree + L"\\a\\read only.txt", "x", FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(SetFileAttributesW((tree + L"\\a\\b").c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_TRUE(Files::DeleteTree(tree + L"\\"));
    EXPECT_FALSE(Exists(tree));

    // Only cases that stay harmless should the guard ever break (a root here is the test machine's own).
    ASSERT_TRUE(WriteText(scratch / L"file.txt", "x"));
    for (const auto& path :
         {std::wstring(), std::wstring(L"C:no-such-relative"), scratch / L"file.txt", scratch / L"missing"})
        EXPECT_FALSE(Files::DeleteTree(path)) << path;
    EXPECT_TRUE(Exists(scratch / L"file.txt"));
}

TEST(DeleteTree, RetriesAHeldFileOnceAfterASecond) {
    Folder scratch(L"delete-held");
    const std::wstring tree = scratch / L"tree";
    const std::wstring file = tree + L"\\held.txt";
    ASSERT_TRUE(CreateDirectoryW(tree.c_str(), nullptr));
    ASSERT_TRUE(WriteText(file, "x"));
    auto hold = [&] {
        return CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    };

    HANDLE held = hold(); // held throughout: the deletion fails and leaves the folder
    const DWORD start = GetTickCount();
    EXPECT_FALSE(Files::DeleteTree(tree));
    EXPECT_GE(GetTickCount() - start, 900u);
    EXPECT_TRUE(Exists(file));
    CloseHandle(held);

    held = hold(); // released during the pause: the second try succeeds
    std::thread release([held] {
        Sleep(300);
        CloseHandle(held);
    });
    EXPECT_TRUE(Files::DeleteTree(tree));
    release.join();
    EXPECT_FALSE(Exists(tree));
}

TEST(DeleteTree, RemovesLinksButNeverWhatTheyPointTo) {
    Folder scratch(L"delete-link");
    const std::wstring outside = scratch / L"outside";
    const std::wstring tree = scratch / L"tree";
    const std::wstring inner = tree + L"\\link to outside";
    ASSERT_TRUE(Files::EnsureParentFolder(outside + L"\\nested\\"));
    ASSERT_TRUE(WriteText(outside + L"\\nested\\keep.txt", "precious"));
    ASSERT_TRUE(CreateDirectoryW(tree.c_str(), nullptr));
    const LinkKind kind = MakeFolderLink(inner, outside);
    if (kind == LinkKind::None)
        GTEST_SKIP() << "this system can make neither junctions nor symbolic links to folders";
    ASSERT_EQ("precious", ReadText(inner + L"\\nested\\keep.txt")); // the link really leads outside
    const std::wstring top = scratch / L"top link";                 // a link given as the tree itself
    ASSERT_EQ(kind, MakeFolderLink(top, outside));
    EXPECT_EQ(2, Files::CountFolders(tree)) << "the tree and the link, nothing behind it";

    const bool deletedTree = Files::DeleteTree(tree);
    const bool deletedTop = Files::DeleteTree(top);
    EXPECT_EQ("precious", ReadText(outside + L"\\nested\\keep.txt"));
    // Wine shows a Unix link as a link to a folder but cannot remove it: deleting stops there.
    const bool removable = kind != LinkKind::UnixSymbolicLink;
    EXPECT_EQ(removable, deletedTree);
    EXPECT_EQ(removable, deletedTop);
    EXPECT_EQ(!removable, IsLinkFolder(inner));
    RemoveFolderLink(inner, kind);
    RemoveFolderLink(top, kind);
}

TEST(CountFolders, CountsEveryFolderOnceAndDoesNotFollowALoop) {
    Folder scratch(L"count");
    const std::wstring tree = scratch / L"tree";
    ASSERT_TRUE(Files::EnsureParentFolder(tree + L"\\a\\b\\"));
    ASSERT_TRUE(Files::EnsureParentFolder(tree + L"\\c\\"));
    ASSERT_TRUE(WriteText(tree + L"\\a\\file.txt", "x"));
    EXPECT_EQ(4, Files::CountFolders(tree));
    EXPECT_EQ(0, Files::CountFolders(scratch / L"missing"));
    EXPECT_EQ(0, Files::CountFolders(tree + L"\\a\\file.txt"));

    const std::wstring loop = tree + L"\\a\\b\\up"; // a naive walk would go round for ever
    const LinkKind kind = MakeFolderLink(loop, tree);
    if (kind == LinkKind::None)
        GTEST_SKIP() << "no folder links on this system";
    EXPECT_EQ(5, Files::CountFolders(tree));
    RemoveFolderLink(loop, kind);
}
