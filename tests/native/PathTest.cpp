#include "support/FilePath.h"
#include "support/FolderPath.h"

#include <gtest/gtest.h>

TEST(ICBSFolderPath, ParsesEveryKindOfPath) {
    struct Case {
        const wchar_t* text;
        bool valid;
        const wchar_t* root;
        bool absolute;
        std::vector<std::wstring> components;
        const wchar_t* printed; // ToString(true)
    };
    const Case cases[] = {
        {L"C:\\a\\b\\..\\c", true, L"C:", true, {L"a", L"c"}, L"C:\\a\\c\\"},
        {L"\\\\srv\\share\\x", true, L"\\\\srv", true, {L"share", L"x"}, L"\\\\srv\\share\\x\\"},
        {L"//srv/share", true, L"\\\\srv", true, {L"share"}, L"\\\\srv\\share\\"},
        {L"a//b\\\\c", true, L"", false, {L"a", L"b", L"c"}, L"a\\b\\c\\"},
        {L"a\\..\\..\\b", false, L"", false, {}, L""},
        {L"C:dir", false, L"", false, {}, L""},
        {L"C:", false, L"", false, {}, L""},
        {L"C:\\", true, L"C:", true, {}, L"C:\\"},
        {L"\\a\\b\\", true, L"", true, {L"a", L"b"}, L"\\a\\b\\"},
        {L"", true, L"", false, {}, L""},
        {L"..\\..\\a\\..", true, L"", false, {L"..", L".."}, L"..\\..\\"},
        {L"C:\\a\\..\\..", false, L"", false, {}, L""},
        {L"\\\\\\x", false, L"", false, {}, L""}, // a UNC path without a server
    };
    for (const auto& c : cases) {
        const ICBSFolderPath path(c.text);
        EXPECT_EQ(c.valid, path.IsValid()) << c.text;
        EXPECT_EQ(c.root, path.Root()) << c.text;
        EXPECT_EQ(c.absolute, path.IsAbsolute()) << c.text;
        EXPECT_EQ(c.components, path.Components()) << c.text;
        EXPECT_EQ(c.printed, path.ToString(true)) << c.text;
    }
    EXPECT_EQ(L"C:\\a", ICBSFolderPath(L"C:/a/").ToString());
    EXPECT_EQ(L"C:\\", ICBSFolderPath(L"C:\\a").Parent().ToString());
    EXPECT_EQ(L"C:\\", ICBSFolderPath(L"C:\\").Parent().ToString());
    ICBSFolderPath reused(L"C:\\a\\b"); // a failed parse forgets the previous path
    EXPECT_FALSE(reused.Parse(L"C:rel"));
    EXPECT_TRUE(reused.IsEmpty());
}

TEST(ICBSFolderPath, AppendsOnlyRelativePaths) {
    struct Case {
        const wchar_t *base, *appended;
        bool appends;
        const wchar_t* result;
    };
    const Case cases[] = {
        {L"C:\\base", L"sub/x/", true, L"C:\\base\\sub\\x"},
        {L"C:\\base", L"..\\other", true, L"C:\\other"},
        {L"rel", L"..\\..\\x", true, L"..\\x"},
        {L"C:\\base", L"\\abs", false, L"C:\\base"},
        {L"C:\\base", L"D:\\x", false, L"C:\\base"},
        {L"C:\\base", L"C:x", false, L"C:\\base"},
        {L"C:\\base", L"\\\\srv\\x", false, L"C:\\base"},
        {L"C:\\base", L"a\\..\\..\\x", false, L"C:\\base"},
    };
    for (const auto& c : cases) {
        ICBSFolderPath path(c.base);
        EXPECT_EQ(c.appends, path.Append(c.appended)) << c.base << L" + " << c.appended;
        EXPECT_EQ(c.result, path.ToString()) << c.base << L" + " << c.appended;
    }
}

TEST(ICBSFolderPath, EqualityIgnoresCaseAndSpelling) {
    EXPECT_EQ(ICBSFolderPath(L"C:\\Program Files\\X"), ICBSFolderPath(L"c:/program files//x/"));
    EXPECT_EQ(ICBSFolderPath(L"\\\\SRV\\Share"), ICBSFolderPath(L"//srv/share"));
    EXPECT_NE(ICBSFolderPath(L"C:\\a"), ICBSFolderPath(L"C:\\a\\b"));
    EXPECT_NE(ICBSFolderPath(L"C:\\a"), ICBSFolderPath(L"D:\\a"));
    EXPECT_NE(ICBSFolderPath(L"\\a"), ICBSFolderPath(L"a"));
}

TEST(ICBSFilePath, SplitsFolderNameAndExtension) {
    struct Case {
        const wchar_t *text, *folder, *fileName, *baseName, *extension;
    };
    const Case cases[] = {
        {L"C:\\pkg\\Server.msi", L"C:\\pkg\\", L"Server.msi", L"Server", L"msi"},
        {L"C:\\Server.msi", L"C:\\", L"Server.msi", L"Server", L"msi"}, // a file in a drive's root
        {L"a/b/c.tar.gz", L"a\\b\\", L"c.tar.gz", L"c.tar", L"gz"},
        {L"setup", L"", L"setup", L"setup", L""},
        {L".profile", L"", L".profile", L"", L"profile"},
        {L"C:\\dir.d\\file", L"C:\\dir.d\\", L"file", L"file", L""},
        {L"\\\\srv\\share\\x.cab", L"\\\\srv\\share\\", L"x.cab", L"x", L"cab"},
    };
    for (const auto& c : cases) {
        const ICBSFilePath path(c.text);
        EXPECT_EQ(c.folder, path.Folder().ToString(true)) << c.text;
        EXPECT_EQ(c.fileName, path.FileName()) << c.text;
        EXPECT_EQ(c.baseName, path.BaseName()) << c.text;
        EXPECT_EQ(c.extension, path.Extension()) << c.text;
        EXPECT_EQ(std::wstring(c.folder) + c.fileName, path.FullPath()) << c.text;
    }
    EXPECT_FALSE(ICBSFilePath(L"C:rel\\x.txt").IsValid());
}

TEST(ICBSFilePath, BuildsFromFolderNameAndExtension) {
    const ICBSFolderPath folder(L"C:\\base");
    EXPECT_EQ(L"C:\\base\\Setup.exe", ICBSFilePath(folder, L"Setup", L"exe").FullPath());
    EXPECT_EQ(L"C:\\base\\a.b.c", ICBSFilePath(folder, L"a.b", L"c").FullPath());
    const ICBSFilePath nested(folder, L"sub\\inner\\x.msi");
    EXPECT_EQ(L"C:\\base\\sub\\inner\\x.msi", nested.FullPath());
    EXPECT_EQ(L"x", nested.BaseName());
    EXPECT_EQ(L"C:\\base\\x.msi", ICBSFilePath(folder, L"D:\\elsewhere\\x.msi").FullPath());
    ICBSFilePath renamed(L"C:\\pkg\\Server.msi");
    renamed.SetExtension(L"mst");
    EXPECT_EQ(L"C:\\pkg\\Server.mst", renamed.FullPath());
    EXPECT_EQ(L"mst", renamed.Extension());
}
