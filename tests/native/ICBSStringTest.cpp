#include "support/ICBSString.h"
#include "support/StringUtil.h"

#include <gtest/gtest.h>

#include <climits>

TEST(ICBSString, ComparesAndFindsWithOrWithoutCase) {
    struct Case {
        const wchar_t *a, *b;
        bool ignoreCase;
        int sign;
    };
    const Case cases[] = {
        {L"abc", L"ABC", false, 1},
        {L"abc", L"ABC", true, 0},
        {L"ab", L"abc", true, -1},
        {L"abd", L"ABC", true, 1},
        {L"\u00c4rger", L"\u00e4RGER", true, 0},
        {L"", L"", false, 0},
    };
    for (const auto& c : cases) {
        const int result = ICBSString(c.a).Compare(c.b, c.ignoreCase);
        EXPECT_EQ(c.sign, (result > 0) - (result < 0)) << c.a << L" vs " << c.b;
        EXPECT_EQ(c.sign == 0, ICBSString(c.a).Equals(c.b, c.ignoreCase)) << c.a;
    }
    const ICBSString text = L"Setup.EXE /x Setup.exe";
    EXPECT_EQ(6u, text.Find(L"exe", 0, true));
    EXPECT_EQ(19u, text.Find(L"exe", 7, true));
    EXPECT_EQ(19u, text.Find(L"exe"));
    EXPECT_TRUE(text.StartsWith(L"setup", true));
    EXPECT_FALSE(text.StartsWith(L"setup"));
    EXPECT_TRUE(text.EndsWith(L".EXE", true));
    EXPECT_FALSE(ICBSString(L"x").EndsWith(L"xx"));
}

TEST(ICBSString, SplitsAtFirstOrLastSeparator) {
    struct Case {
        const wchar_t *text, *separator;
        bool last, found;
        const wchar_t *left, *right;
    };
    const Case cases[] = {
        {L"SV::E", L"::", false, true, L"SV", L"E"}, {L"a=b=c", L"=", false, true, L"a", L"b=c"},
        {L"a=b=c", L"=", true, true, L"a=b", L"c"},  {L"x=", L"=", true, true, L"x", L""},
        {L"none", L"=", false, false, L"none", L""}, {L"none", L"", true, false, L"none", L""},
    };
    for (const auto& c : cases) {
        ICBSString left = L"stale", right = L"stale";
        const ICBSString text = c.text;
        EXPECT_EQ(c.found, c.last ? text.SplitAtLast(c.separator, left, right)
                                  : text.SplitAtFirst(c.separator, left, right));
        EXPECT_EQ(c.left, left) << c.text;
        EXPECT_EQ(c.right, right) << c.text;
    }
    ICBSString self = L"key=value", rest; // a part may be the string itself
    self.SplitAtFirst(L"=", self, rest);
    EXPECT_EQ(L"key", self);
    EXPECT_EQ(L"value", rest);
}

TEST(ICBSString, TrimsConvertsCaseParsesAndFormats) {
    EXPECT_EQ(L"a b", ICBSString(L" \t a b\r\n").Trimmed());
    EXPECT_EQ(L"x", ICBSString(L"\"x\"").Trimmed(L"\""));
    EXPECT_EQ(L"GR\u00dc\u00dfE \u0178\u00f7", ICBSString(L"gr\u00fc\u00dfe \u00ff\u00f7").Upper());
    EXPECT_EQ(L"gr\u00fc\u00dfe", ICBSString(L"GR\u00dc\u00dfE").Lower());

    struct Number {
        const wchar_t* text;
        std::optional<long long> whole;
        long long leading;
    };
    const Number numbers[] = {{L"42", 42, 42},        {L" -7", -7, -7},         {L"12ab", std::nullopt, 12},
                              {L"", std::nullopt, 0}, {L"  ", std::nullopt, 0}, {L"0x10", std::nullopt, 0}};
    for (const auto& n : numbers) {
        EXPECT_EQ(n.whole, ICBSString(n.text).ParseDecimal()) << n.text;
        EXPECT_EQ(n.leading, ICBSString(n.text).DecimalValue()) << n.text;
    }

    ICBSString text = ICBSString::Format(L"%d of %s", 3, L"x");
    text.AppendFormat(L" %04x %s", 255u);
    EXPECT_EQ(L"3 of x 00ff %s", text);
}

TEST(ICBSString, ConvertsUtf8WhateverTheWidthOfWideCharacters) {
    const std::u32string points[] = {U"", U"abc", U"\u00e9", U"\u65e5\u672c", U"\U0001F600", U"\U0010FFFF"};
    const std::string bytes[] = {
        "", "abc", "\xC3\xA9", "\xE6\x97\xA5\xE6\x9C\xAC", "\xF0\x9F\x98\x80", "\xF4\x8F\xBF\xBF"};
    for (size_t i = 0; i < std::size(points); ++i) {
        std::wstring expected; // UTF-16 where wchar_t has 16 bits, UTF-32 elsewhere
        for (char32_t p : points[i]) {
            if (WCHAR_MAX <= 0xFFFF && p >= 0x10000) {
                expected += static_cast<wchar_t>(0xD800 + ((p - 0x10000) >> 10));
                expected += static_cast<wchar_t>(0xDC00 + ((p - 0x10000) & 0x3FF));
            } else {
                expected += static_cast<wchar_t>(p);
            }
        }
        EXPECT_EQ(expected, ICBSString::FromUtf8(bytes[i]));
        EXPECT_EQ(bytes[i], ICBSString(expected).ToUtf8());
        EXPECT_EQ(bytes[i], ICBSString(expected).ToCodePage(kCodePageUtf8).value_or("<none>"));
    }
}

TEST(ICBSString, ReplacesBrokenUtf8AndLoneSurrogates) {
    const std::wstring r(1, static_cast<wchar_t>(0xFFFD));
    const std::pair<std::string, std::wstring> cases[] = {
        {"a\x80z", L"a" + r + L"z"},         // stray continuation byte
        {"\xC0\xAF", r + r},                 // overlong "/"
        {"\xED\xA0\x80", r + r + r},         // an encoded surrogate
        {"\xF4\x90\x80\x80", r + r + r + r}, // above U+10FFFF
        {"\xE6\x97", r},                     // cut short at the end
        {"\xE6\x97x", r + L"x"},             // cut short before a plain byte
    };
    for (const auto& [bytes, text] : cases) {
        EXPECT_EQ(text, ICBSString::FromUtf8(bytes)) << bytes.size();
        EXPECT_EQ(text, ICBSString::FromCodePage(bytes, kCodePageUtf8).value_or(L"<none>")) << bytes.size();
        // Refused as a whole, not cut at the broken sequence.
        EXPECT_FALSE(ICBSString::FromCodePage(bytes, kCodePageUtf8, InvalidBytes::Refuse)) << bytes.size();
    }
    // A replacement character that was sent as such is valid text.
    EXPECT_EQ(
        L"a" + r,
        ICBSString::FromCodePage("a\xEF\xBF\xBD", kCodePageUtf8, InvalidBytes::Refuse).value_or(L"<none>"));
    EXPECT_EQ(L"", ICBSString::FromCodePage("", kCodePageUtf8, InvalidBytes::Refuse).value_or(L"<none>"));
    EXPECT_EQ("\xEF\xBF\xBD"
              "a",
              ICBSString(std::wstring(1, static_cast<wchar_t>(0xD800)) + L"a").ToUtf8());
}

TEST(ICBSString, OtherCodePagesGoThroughTheInstalledConverter) {
    EXPECT_FALSE(ICBSString(L"x").ToCodePage(28591).has_value());
    static const CodePageConverter latin1{
        // a stand-in that knows only code page 28591
        [](std::wstring_view text, unsigned codePage, std::string& bytes) {
            for (wchar_t c : text)
                bytes += static_cast<char>(c);
            return codePage == 28591;
        },
        [](std::string_view bytes, unsigned codePage, InvalidBytes, std::wstring& text) {
            for (char c : bytes)
                text += static_cast<wchar_t>(static_cast<unsigned char>(c));
            return codePage == 28591;
        }};
    SetCodePageConverter(&latin1);
    EXPECT_EQ("\xE9t\xE9", ICBSString(L"\u00e9t\u00e9").ToCodePage(28591).value_or(""));
    EXPECT_EQ(L"\u00e9", ICBSString::FromCodePage("\xE9", 28591).value_or(L""));
    EXPECT_FALSE(ICBSString(L"x").ToCodePage(932).has_value());
    EXPECT_EQ("\xC3\xA9",
              ICBSString(L"\u00e9").ToCodePage(kCodePageUtf8).value_or("")); // never the converter
    SetCodePageConverter(nullptr);
}

TEST(StringUtil, CommandLinesKeepPathsWithSpacesWhole) {
    EXPECT_EQ(QuotedCommandLine(L"C:\\Documents and Settings\\All Users\\Tool.exe"),
              L"\"C:\\Documents and Settings\\All Users\\Tool.exe\"");
}
