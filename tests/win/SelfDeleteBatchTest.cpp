#include "FileTestSupport.h"

#include "launcher/ExitCleanup.h"
#include "support/CodePage_win.h"
#include "support/FileUtilities_win.h"
#include "support/ICBSString.h"

#include <gtest/gtest.h>

using namespace FileTest;
namespace Files = ICBSFileUtilities;

// The launcher's last act after an uninstall: a batch file in the base folder removes the main package's
// folder and then itself. Written and started here the way the launcher does it.
TEST(SelfDeleteBatch, RemovesAFolderWithSpacesAndThenItself) {
    UseSystemCodePages();
    Folder scratch(L"self delete");
    const std::wstring base = scratch / L"Base Folder";
    const std::wstring package = base + L"\\Main Package {A1B2}";
    const std::wstring sibling = base + L"\\Other Package";
    ASSERT_TRUE(Files::EnsureParentFolder(package + L"\\sub folder\\"));
    ASSERT_TRUE(Files::EnsureParentFolder(sibling + L"\\"));
    ASSERT_TRUE(WriteText(package + L"\\Server.msi", "x"));
    ASSERT_TRUE(WriteText(package + L"\\sub folder\\data.cab", "x", FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(WriteText(sibling + L"\\keep.msi", "x"));

    const std::wstring batch = base + L"\\SelfDelete.bat";
    const auto text = ICBSString(SelfDeleteBatchText(package)).ToCodePage(kCodePageAnsi);
    ASSERT_TRUE(text.has_value());
    ASSERT_TRUE(WriteText(batch, *text));

    const int exitCode = Files::Wait(L"\"" + batch + L"\"", true, L"", nullptr, 60000, true, nullptr);
    EXPECT_EQ(0, exitCode);
    EXPECT_FALSE(Exists(package));
    EXPECT_FALSE(Exists(batch));
    EXPECT_TRUE(Exists(sibling + L"\\keep.msi")) << "only the named folder goes";
    EXPECT_TRUE(Exists(base));
}
