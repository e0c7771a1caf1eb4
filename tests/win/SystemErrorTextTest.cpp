#include "launcher/SetupResult.h"
#include "launcher/SystemInfo_win.h"

#include <gtest/gtest.h>

// The report of a failed installer action carries the system's own text for the installer error.
TEST(SystemErrorText, InstallerErrorsHaveTheSystemsDescription) {
    const std::wstring fatal = SystemErrorText(1603);
    ASSERT_FALSE(fatal.empty());
    const std::wstring text = ComposeResultText(2, 1603, fatal);
    EXPECT_EQ(L"Installation failed. (1603 - " + fatal + L")", text);
    EXPECT_TRUE(SystemErrorText(5).size() > 0);  // access denied: a plain system error
    EXPECT_EQ(L"", SystemErrorText(0x7FFFFFF0)); // no such message
    EXPECT_EQ(L"Installation failed.", ComposeResultText(2, 0x7FFFFFF0, SystemErrorText(0x7FFFFFF0)));
}
