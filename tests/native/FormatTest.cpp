#include "support/Format.h"

#include <gtest/gtest.h>

TEST(Format, ConversionsMatchPrintf) {
    struct Case {
        std::wstring expected, actual;
    };
    const Case cases[] = {
        {L"a b", Format(L"%s %s", L"a", std::wstring(L"b"))},
        {L"0042", Format(L"%04d", 42)},
        {L"05", Format(L"%0.2d", 5)},
        {L"-7", Format(L"%i", -7)},
        {L"ff FF", Format(L"%x %X", 255u, 255)},
        {L"4294967295", Format(L"%u", -1)},
        {L"100%", Format(L"%d%%", 100)},
        {L"  ab|ab  ", Format(L"%4s|%-4s", L"ab", L"ab")},
        {L"abc", Format(L"%.3s", L"abcdef")},
        {L"-0042", Format(L"%05d", -42)},
        {L"1.50", Format(L"%.2f", 1.5)},
        {L"2020-01-02 03:04:05", Format(L"%04d-%02d-%02d %02d:%02d:%02d", 2020, 1, 2, 3, 4, 5)},
        {L"1.2.3.4", Format(L"%i.%i.%i.%i", 1, 2, 3, 4)},
        {L"%~f0", Format(L"%%~f0")},
        {L"12345678901", Format(L"%lld", 12345678901LL)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, c.actual);
}

TEST(Format, MismatchedPlaceholdersNeverReadPastArguments) {
    // A translation with more placeholders than arguments keeps the extra ones as text.
    EXPECT_EQ(L"x %s %d", Format(L"%s %s %d", L"x"));
    EXPECT_EQ(L"%s", Format(L"%s"));
    // Wrong kinds print what they can instead of crashing.
    EXPECT_EQ(L"12", Format(L"%s", 12));
    EXPECT_EQ(L"abc", Format(L"%d", L"abc"));
    // Unknown conversions and a trailing % are copied.
    EXPECT_EQ(L"%y 1 %", Format(L"%y %d %", 1));
    // Huge widths are capped instead of allocating without bound.
    EXPECT_LE(Format(L"%999999999d", 1).size(), 4096u);
}
