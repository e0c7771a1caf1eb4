#include "wizard/FontCache.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

TEST(FontCache, HeightForPointsRoundsToTheNearestPixel) {
    struct Case {
        int points, pixelsPerInch, height;
    };
    const Case cases[] = {
        {9, 96, -12},  {9, 120, -15}, {8, 96, -11}, {7, 96, -9},
        {8, 120, -13}, {1, 36, -1},   {1, 35, 0},   {9, 0, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.height, FontHeightForPoints(c.points, c.pixelsPerInch))
            << c.points << " pt at " << c.pixelsPerInch;
}

TEST(FontCache, OneFontPerFaceSizeAndWeight) {
    struct Made {
        std::wstring face;
        int height, weight;
    };
    std::vector<Made> made;
    FontCache<std::shared_ptr<Made>> cache([&](const std::wstring& face, int height, int weight) {
        made.push_back({face, height, weight});
        return std::make_shared<Made>(made.back());
    });

    const auto* regular = cache.Get(L"Tahoma", 9, false, 96).get();
    EXPECT_EQ(regular, cache.Get(L"Tahoma", 9, false, 96).get());
    // The first request fixes the font; a later one at another resolution gets the same font.
    EXPECT_EQ(regular, cache.Get(L"Tahoma", 9, false, 120).get());
    EXPECT_NE(regular, cache.Get(L"Tahoma", 9, true, 96).get());
    EXPECT_NE(regular, cache.Get(L"Tahoma", 12, false, 96).get());
    EXPECT_NE(regular, cache.Get(L"Segoe UI", 9, false, 96).get());

    ASSERT_EQ(4u, made.size());
    EXPECT_EQ(-12, made[0].height);
    EXPECT_EQ(400, made[0].weight);
    EXPECT_EQ(700, made[1].weight);
    EXPECT_EQ(-16, made[2].height);
}
