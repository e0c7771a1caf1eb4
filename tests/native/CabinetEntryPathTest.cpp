#include "extraction/CabinetEntryPath.h"

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
