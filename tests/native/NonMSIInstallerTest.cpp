#include "launcher/NonMSIRegistration.h"

#include <gtest/gtest.h>

TEST(NonMSIRegistration, EntryKeyAndInstalledFromAnotherPackage) {
    EXPECT_EQ(L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\A46D0AE102B79714B97FA2F93DA18E49",
              NonMSIRegistration::KeyPath(L"{1EA0D64A-7B20-4179-9BF7-2A9FD31AE894}"));
    EXPECT_EQ(L"", NonMSIRegistration::KeyPath(L"")); // never the list's own key
    EXPECT_EQ(L"", NonMSIRegistration::KeyPath(L"1EA0D64A-7B20-4179-9BF7-2A9FD31AE894"));
    struct Case {
        const wchar_t *registered, *package;
        bool another;
    };
    for (const Case& c :
         {Case{L"", L"{A1}", false}, Case{L"{a1}", L"{A1}", false}, Case{L"{B2}", L"{A1}", true}})
        EXPECT_EQ(c.another, NonMSIRegistration::FromAnotherPackage(c.registered, c.package)) << c.registered;
}
