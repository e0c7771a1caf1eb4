#include "support/DownloadRules.h"

#include <gtest/gtest.h>

#include <cstdint>

using namespace DownloadRules;

TEST(DownloadRules, NumberedNamesStayInTheFolderBeforeTheExtension) {
    EXPECT_EQ(L"C:\\d\\setup(1).cab", NumberedName(L"C:\\d\\setup.cab", 1));
    EXPECT_EQ(L"C:\\d\\setup.x64(99).cab", NumberedName(L"C:\\d\\setup.x64.cab", 99));
    EXPECT_EQ(L"C:\\d.old\\setup(2)", NumberedName(L"C:\\d.old\\setup", 2)); // the folder's dot is not it
    EXPECT_EQ(L"setup(3)", NumberedName(L"setup", 3));
}

TEST(DownloadRules, PercentAndSpeedAreCutAndNeverOverflow) {
    const int64_t fiveGiB = int64_t{5} << 30;
    struct Case {
        int64_t received, total;
        std::optional<int> percent;
    } cases[] = {
        {0, 0, std::nullopt},    {10, -1, std::nullopt}, {0, 100, 0},
        {999, 1000, 99},         {1000, 1000, 100},      {fiveGiB - 1, fiveGiB, 99},
        {fiveGiB, fiveGiB, 100}, {2000, 1000, 100}, // more than announced
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.percent, Percent(c.received, c.total)) << c.received << "/" << c.total;

    EXPECT_EQ(0, SpeedKiBPerSecond(5000, 0));
    EXPECT_EQ(0, SpeedKiBPerSecond(0, 3));
    EXPECT_EQ(1, SpeedKiBPerSecond(2047, 1));
    EXPECT_EQ(2560, SpeedKiBPerSecond(int64_t{10} << 20, 4));
    EXPECT_EQ(1310720, SpeedKiBPerSecond(fiveGiB, 4)); // 5 GiB in 4 s, beyond 32-bit bytes
}
