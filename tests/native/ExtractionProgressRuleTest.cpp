#include "extraction/ExtractionProgressRule.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr uint64_t kMB = 1024 * 1024;

struct Read {
    uint64_t bytes;
    uint32_t nowMs;
    std::optional<int> posted;
};

void Expect(ExtractionProgressRule& rule, const std::vector<Read>& reads) {
    for (const auto& read : reads)
        EXPECT_EQ(read.posted, rule.NextPost(read.bytes, read.nowMs)) << read.bytes << " @" << read.nowMs;
}

} // namespace

TEST(ExtractionProgressRule, PositionsAreWholeThirtiethsOfAllCabinets) {
    ExtractionProgressRule rule;
    EXPECT_EQ(0, rule.PositionFor(5)); // no total yet
    rule.SetTotalBytes(90 * kMB);
    struct Case {
        uint64_t doneBefore, bytes;
        int position;
    };
    const Case cases[] = {
        {0, 0, 0},
        {0, 3 * kMB - 1, 0},
        {0, 3 * kMB, 1},
        {0, 60 * kMB, 20}, // the end of the first of a 60 MB and a 30 MB cabinet
        {60 * kMB, 0, 20},
        {60 * kMB, 30 * kMB - 1, 29},
        {60 * kMB, 30 * kMB, 30},
        {60 * kMB, 40 * kMB, 30}, // never past the range
    };
    for (const auto& c : cases) {
        rule.SetBytesDoneBefore(c.doneBefore);
        EXPECT_EQ(c.position, rule.PositionFor(c.bytes)) << c.doneBefore << "+" << c.bytes;
    }
    // Decimal megabytes too: 60,000,000 of 90,000,000 is exactly 20, not 19.
    rule.SetTotalBytes(90000000);
    rule.SetBytesDoneBefore(0);
    EXPECT_EQ(20, rule.PositionFor(60000000));
}

TEST(ExtractionProgressRule, PostsAtMostEveryHalfSecondExceptTheFinalPosition) {
    ExtractionProgressRule rule;
    rule.SetTotalBytes(30);
    Expect(rule, {
                     {0, 1000, std::nullopt}, // unchanged from the start
                     {1, 1000, 1},            // the first change posts at once
                     {2, 1400, std::nullopt}, // too soon
                     {3, 1500, std::nullopt}, // exactly 500 ms is still too soon
                     {4, 1501, 4},
                     {4, 2600, std::nullopt}, // unchanged
                     {28, 2650, 28},
                     {29, 2700, std::nullopt},
                     {30, 2701, 30}, // the final position does not wait
                     {30, 2702, 30}, // and is posted again
                 });
}

TEST(ExtractionProgressRule, SixtyAndThirtyMegabyteCabinetsReachTwentyThenThirty) {
    ExtractionProgressRule rule;
    rule.SetTotalBytes(90 * kMB);
    rule.SetBytesDoneBefore(0);
    std::optional<int> last;
    uint32_t now = 0;
    for (uint64_t read = 0; read <= 60 * kMB; read += kMB / 2) {
        now += 50;
        if (auto posted = rule.NextPost(read, now))
            last = posted;
    }
    // The end of the first cabinet, read after a pause, shows 20 of 30.
    now += 501;
    if (auto posted = rule.NextPost(60 * kMB, now))
        last = posted;
    EXPECT_EQ(20, last);
    rule.SetBytesDoneBefore(60 * kMB);
    for (uint64_t read = 0; read <= 30 * kMB; read += kMB / 2) {
        now += 50;
        if (auto posted = rule.NextPost(read, now))
            last = posted;
    }
    EXPECT_EQ(30, last);
}

TEST(ExtractionProgressRule, IntervalSurvivesTheTickCounterWrapping) {
    ExtractionProgressRule rule;
    rule.SetTotalBytes(30);
    Expect(rule, {
                     {1, 0xFFFFFF00u, 1},
                     {2, 0x00000010u, std::nullopt}, // 272 ms later
                     {3, 0x00000200u, 3},            // 768 ms later
                 });
}
