#include "FileTestSupport.h"

#include "launcher/SystemInfo_win.h"
#include "support/FileUtilities_win.h"

#include <gtest/gtest.h>

TEST(BaseFolder, IsCreatedOnceAndOpenedToEveryone) {
    const std::wstring base = LauncherBaseFolder();
    ASSERT_FALSE(base.empty());
    EXPECT_TRUE(ICBSFileUtilities::IsFolder(base));
    EXPECT_EQ(base, LauncherBaseFolder());
    // Everybody may at least read, write and run there (all that Wine can show of a full grant).
    const DWORD readWriteExecute = FILE_GENERIC_READ | FILE_GENERIC_WRITE | FILE_GENERIC_EXECUTE | DELETE;
    EXPECT_EQ(readWriteExecute, FileTest::InheritedRightsOfEveryone(base) & readWriteExecute);
}
