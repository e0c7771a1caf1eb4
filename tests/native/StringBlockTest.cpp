#include "launcher/StringBlock.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A block as the resource compiler lays it out: every string counted, missing ones as length 0.
std::vector<uint16_t> Block(const std::vector<std::u16string>& strings) {
    std::vector<uint16_t> block;
    for (size_t i = 0; i < kStringsPerBlock; ++i) {
        const std::u16string text = i < strings.size() ? strings[i] : u"";
        block.push_back(static_cast<uint16_t>(text.size()));
        block.insert(block.end(), text.begin(), text.end());
    }
    return block;
}

} // namespace

TEST(StringBlock, NumbersBlocksAsTheResourceCompilerDoes) {
    EXPECT_EQ(1u, StringBlockNumber(0));
    EXPECT_EQ(1u, StringBlockNumber(15));
    EXPECT_EQ(2u, StringBlockNumber(16));
    EXPECT_EQ(88u, StringBlockNumber(1403));
    EXPECT_EQ(11u, StringBlockIndex(1403));
    EXPECT_EQ(4096u, StringBlockNumber(65535));
}

TEST(StringBlock, ReadsEachStringOfTheBlock) {
    const std::vector<uint16_t> block =
        Block({u"", u"%s - Installer Wizard", u"", u"次へ(&N) >", u"\U0001F600x"});
    EXPECT_EQ(L"", StringFromBlock(block, 0));
    EXPECT_EQ(L"%s - Installer Wizard", StringFromBlock(block, 1));
    EXPECT_EQ(L"", StringFromBlock(block, 2));
    EXPECT_EQ(L"次へ(&N) >", StringFromBlock(block, 3));
    // A character beyond the basic plane survives whatever the width of wchar_t.
    const std::wstring emoji = StringFromBlock(block, 4);
    EXPECT_EQ(L"\U0001F600x", emoji);
    EXPECT_EQ(L"", StringFromBlock(block, 15));
    EXPECT_EQ(L"", StringFromBlock(block, 16));
}

TEST(StringBlock, NeverReadsPastAShortOrDamagedBlock) {
    const std::vector<uint16_t> good = Block({u"abc", u"defg"});
    const struct {
        const char* what;
        std::vector<uint16_t> block;
        unsigned index;
    } cases[] = {
        {"empty block", {}, 0},
        {"length beyond the end", {5, 'a', 'b'}, 0},
        {"earlier length beyond the end", {40, 'a'}, 1},
        {"cut inside the wanted string", {good.begin(), good.begin() + 6}, 1},
        {"cut before the wanted string", {good.begin(), good.begin() + 4}, 1},
        {"block with fewer than 16 counts", {1, 'a'}, 3},
    };
    for (const auto& c : cases)
        EXPECT_EQ(L"", StringFromBlock(c.block, c.index)) << c.what;
    EXPECT_EQ(L"defg", StringFromBlock({good.begin(), good.begin() + 9}, 1));
}

TEST(StringBlock, KeepsUnpairedSurrogatesAsTheyAre) {
    const std::vector<uint16_t> units = {'a', 0xD800, 'b', 0xDC00};
    const std::wstring text = WideFromUtf16(units);
    ASSERT_EQ(4u, text.size());
    EXPECT_EQ(0xD800u, static_cast<unsigned>(text[1]));
    EXPECT_EQ(0xDC00u, static_cast<unsigned>(text[3]));
}
