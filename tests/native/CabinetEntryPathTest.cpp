#include "extraction/CabinetEntryPath.h"
#include "support/ICBSString.h"

#include <gtest/gtest.h>

TEST(CabinetEntryPath, AcceptsOnlyNamesThatStayBelowTheDestination) {
    struct Case {
        const wchar_t* name;
        bool safe;
    };
    const Case cases[] = {
        {L"setup.msi", true},
        {L"sub\\data.cab", true},
        {L"a/b/c.txt", true},
        {L"..data", true},
        {L"file..txt", true},
        {L"Console.txt", true},
        {L"COM10", true},
        {L"LPT", true},
        {L"", false},
        {L"..", false},
        {L"..\\escape.txt", false},
        {L"../escape.txt", false},
        {L"sub\\..\\..\\escape.txt", false},
        {L"sub\\..", false},
        {L"sub\\.\\file.txt", false},
        {L"sub\\...\\file.txt", false},
        {L"sub\\.. \\file.txt", false},
        {L"sub\\. .\\file.txt", false},
        {L"\\absolute.txt", false},
        {L"/absolute.txt", false},
        {L"\\\\server\\share\\file.txt", false},
        {L"//server/share/file.txt", false},
        {L"\\\\?\\C:\\file.txt", false},
        {L"C:\\file.txt", false},
        {L"C:file.txt", false},
        {L"file.txt:stream", false},
        {L"sub\\\\file.txt", false},
        {L"sub\\", false},
        {L"NUL", false},
        {L"sub\\con.txt", false},
        {L"aux .log", false},
        {L"com1", false},
        {L"LPT9.txt", false},
        {L"CONOUT$", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.safe, IsSafeCabinetEntryName(c.name)) << c.name;
}

TEST(CabinetEntryPath, ComposesWithinTheLengthLimitOrNotAtAll) {
    EXPECT_EQ(L"C:\\dest\\sub\\a.txt", ComposeExtractionPath(L"C:\\dest", L"sub\\a.txt").value_or(L"-"));
    EXPECT_EQ(L"C:\\dest\\a.txt", ComposeExtractionPath(L"C:\\dest\\", L"a.txt").value_or(L"-"));
    EXPECT_FALSE(ComposeExtractionPath(L"C:\\dest", L"..\\a.txt"));
    EXPECT_FALSE(ComposeExtractionPath(L"", L"a.txt")); // would be "\a.txt", the root of the drive

    // 259 characters fit the path buffer with its terminating zero; 260 would have been cut short.
    const std::wstring folder = L"C:\\" + std::wstring(250, L'f');
    const std::wstring fits = std::wstring(259 - folder.size() - 1, L'n');
    EXPECT_EQ(259u, ComposeExtractionPath(folder, fits).value_or(L"").size());
    EXPECT_FALSE(ComposeExtractionPath(folder, fits + L"n"));
    EXPECT_FALSE(ComposeExtractionPath(std::wstring(300, L'f'), L"a.txt"));
    EXPECT_TRUE(ComposeExtractionPath(folder, fits + L"n", 1000));
}

namespace {

unsigned g_askedCodePage = 0;
InvalidBytes g_askedInvalid = InvalidBytes::Replace;

// Stands for the system's converter: answers every ANSI name with "ansi" and remembers what it was asked.
const CodePageConverter kRecordingConverter{
    [](std::wstring_view, unsigned, std::string&) { return false; },
    [](std::string_view, unsigned codePage, InvalidBytes invalid, std::wstring& text) {
        g_askedCodePage = codePage;
        g_askedInvalid = invalid;
        text = L"ansi";
        return true;
    }};

} // namespace

TEST(CabinetEntryPath, NamesAreReadExactlyOrRefused) {
    struct Case {
        std::string bytes;
        bool flaggedUtf8;
        std::wstring name; // empty: refused
    };
    const Case cases[] = {
        {"Gr\xC3\xBC\xC3\x9F"
         "e\\x.txt",
         true, L"Gr\u00FC\u00DFe\\x.txt"},
        {"a\xEF\xBF\xBD.txt", true, L"a\uFFFD.txt"}, // a replacement character sent as such
        {"\xC0\xAF", true, L""},                     // an overlong "/"
        {"\xED\xA0\x80.txt", true, L""},             // an encoded surrogate
        {"a\xE6\x97", true, L""},                    // cut short
        {"a\x80z.txt", true, L""},                   // a stray continuation byte
        {"", true, L""},
        {"plain.txt", false, L""}, // ANSI without a converter: refused, not guessed at
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.name, DecodeCabinetEntryName(c.bytes, c.flaggedUtf8)) << c.bytes;

    // With a converter, an ANSI name goes through it, and invalid bytes are refused there too.
    SetCodePageConverter(&kRecordingConverter);
    EXPECT_EQ(L"ansi", DecodeCabinetEntryName("caf\xE9.txt", false));
    EXPECT_EQ(kCodePageAnsi, g_askedCodePage);
    EXPECT_EQ(InvalidBytes::Refuse, g_askedInvalid);
    g_askedCodePage = 0;
    EXPECT_EQ(L"\u00E9", DecodeCabinetEntryName("\xC3\xA9", true));
    EXPECT_EQ(0u, g_askedCodePage); // UTF-8 never goes to the converter
    SetCodePageConverter(nullptr);
}
