#include "support/CodePage_win.h"
#include "support/ICBSString.h"

#include <gtest/gtest.h>

TEST(CodePages, ConvertThroughTheSystem) {
    UseSystemCodePages();
    struct Case {
        unsigned codePage;
        std::wstring text;
        std::string bytes;
    };
    const Case cases[] = {
        {1252, L"Gr\u00fc\u00dfe \u20ac",
         "Gr\xFC\xDF"
         "e \x80"},
        {932, L"\u65e5\u672c", "\x93\xFA\x96\x7B"},
        {kCodePageUtf8, L"\u00e9", "\xC3\xA9"},
        {1252, L"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.bytes, ICBSString(c.text).ToCodePage(c.codePage).value_or("<failed>")) << c.codePage;
        EXPECT_EQ(c.text, ICBSString::FromCodePage(c.bytes, c.codePage).value_or(L"<failed>")) << c.codePage;
        EXPECT_EQ(c.text,
                  ICBSString::FromCodePage(c.bytes, c.codePage, InvalidBytes::Refuse).value_or(L"<failed>"))
            << c.codePage;
    }
    // A lead byte without its second byte: replaced, or the whole text refused when asked to.
    EXPECT_TRUE(ICBSString::FromCodePage("a\x93", 932).has_value());
    EXPECT_FALSE(ICBSString::FromCodePage("a\x93", 932, InvalidBytes::Refuse).has_value());
    EXPECT_FALSE(ICBSString(L"x").ToCodePage(12345).has_value()); // no such code page
}
