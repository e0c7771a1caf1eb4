#include "FileTestSupport.h"

#include "launcher/ExitCleanup.h"
#include "support/CodePage_win.h"
#include "support/FileUtilities_win.h"
#include "support/Handle_win.h"
#include "support/ICBSString.h"

#include <gtest/gtest.h>

using namespace FileTest;
namespace Files = ICBSFileUtilities;

// The launcher's last act after an uninstall: a batch file in the base folder removes the main package's
// folder and then itself. The launcher copy inside the folder is still running when the batch starts, so the
// batch must keep trying until the file is free. Written and started here the way the launcher does it, with
// an open file standing in for the running copy.
TEST(SelfDeleteBatch, RemovesAFolderWithSpacesOnceItIsFreeAndThenItself) {
    UseSystemCodePages();
    Folder scratch(L"self delete");
    const std::wstring base = scratch / L"Base Folder";
    const std::wstring package = base + L"\\Main Package {A1B2}";
    const std::wstring sibling = base + L"\\Other Package";
    ASSERT_TRUE(Files::EnsureParentFolder(package + L"\\sub folder\\"));
    ASSERT_TRUE(Files::EnsureParentFolder(sibling + L"\\"));
    ASSERT_TRUE(WriteText(package + L"\\Setup.exe", "x"));
    ASSERT_TRUE(WriteText(package + L"\\sub folder\\data.cab", "x", FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(WriteText(sibling + L"\\keep.msi", "x"));
    FileHandle running(CreateFileW((package + L"\\Setup.exe").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(running);

    const std::wstring batch = base + L"\\SelfDelete.bat";
    const auto text = ICBSString(SelfDeleteBatchText(package)).ToCodePage(kCodePageAnsi);
    ASSERT_TRUE(text.has_value());
    ASSERT_TRUE(WriteText(batch, *text));
    HANDLE started = nullptr;
    ASSERT_EQ(0, Files::Wait(L"\"" + batch + L"\"", false, L"", nullptr, INFINITE, false, &started));
    const KernelHandle process(started);

    // While the file is held, the batch waits and the folder stays.
    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), WaitForSingleObject(process.Get(), 2500));
    EXPECT_TRUE(Exists(package + L"\\Setup.exe"));
    running.Close();
    ASSERT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), WaitForSingleObject(process.Get(), 60000));
    EXPECT_FALSE(Exists(package));
    EXPECT_FALSE(Exists(batch));
    EXPECT_TRUE(Exists(sibling + L"\\keep.msi")) << "only the named folder goes";
    EXPECT_TRUE(Exists(base));
}
