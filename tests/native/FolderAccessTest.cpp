#include "support/FolderAccess.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <regex>
#include <string>

namespace Files = ICBSFileUtilities;

TEST(FolderAccess, AdministratorsOnlyFolderText) {
    EXPECT_EQ(L"D:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;0x1200a9;;;WD)",
              Files::AdministratorsOnlyFolderSecurity());
}

TEST(FolderAccess, AdministratorsOnlyFolderEntries) {
    // File rights, as the system headers (not available here) define them.
    constexpr uint32_t kFileAll = 0x1F01FF;
    constexpr uint32_t kGenericRead = 0x120089;
    constexpr uint32_t kGenericExecute = 0x1200A0;
    // Write or append data, write extended attributes or attributes, delete children, delete, change the
    // access list or the owner, generic write or all.
    constexpr uint32_t kAnyChange =
        0x2 | 0x4 | 0x10 | 0x40 | 0x100 | 0x10000 | 0x40000 | 0x80000 | 0x40000000 | 0x10000000;
    struct Expected {
        const wchar_t* who;
        uint32_t rights;
    };
    const Expected expected[] = {
        {L"BA", kFileAll},                       // administrators
        {L"SY", kFileAll},                       // the system, and the installer service running as it
        {L"WD", kGenericRead | kGenericExecute}, // everyone: read and run, nothing more
    };

    const std::wstring text = Files::AdministratorsOnlyFolderSecurity();
    // Protected ("P" alone): the base folder's entries must not pass in.
    ASSERT_EQ(0u, text.find(L"D:P("));
    // type; inheritance flags; rights; object; inherited object; who
    const std::wregex entry(L"\\(([A-Z]+);([A-Z]*);(FA|0x[0-9a-f]+);;;([A-Z]+)\\)");
    size_t row = 0;
    size_t parsed = 3; // "D:P"
    for (std::wsregex_iterator it(text.begin(), text.end(), entry), end; it != end; ++it, ++row) {
        const std::wsmatch& match = *it;
        EXPECT_EQ(parsed, static_cast<size_t>(match.position())) << "text between entries";
        parsed = match.position() + match.length();
        ASSERT_LT(row, std::size(expected)) << "an entry too many";
        const Expected& want = expected[row];
        const uint32_t rights =
            match[3] == L"FA" ? kFileAll : static_cast<uint32_t>(std::stoul(match[3].str(), nullptr, 16));
        EXPECT_EQ(want.who, match[4].str());
        EXPECT_EQ(L"A", match[1].str()) << want.who;
        // The folder, its files and its folders at every depth: not inherit-only (IO), not stopping after
        // one level (NP).
        EXPECT_EQ(L"OICI", match[2].str()) << want.who;
        EXPECT_EQ(want.rights, rights) << want.who;
        if (want.rights != kFileAll) {
            EXPECT_EQ(0u, rights & kAnyChange) << want.who;
        }
    }
    EXPECT_EQ(std::size(expected), row);
    EXPECT_EQ(text.size(), parsed) << "text after the entries";
}
