#include "support/Registry_win.h"

#include <gtest/gtest.h>

TEST(Registry, WritesAndReadsInBothViews) {
    for (RegistryView view : {RegistryView::Bits32, RegistryView::Bits64}) {
        const std::wstring path = L"SOFTWARE\\Quenlis\\LauncherTests\\Smoke";
        RegistryKey key = RegistryKey::Create(HKEY_LOCAL_MACHINE, path, view);
        ASSERT_TRUE(key.IsOpen());
        ASSERT_TRUE(key.WriteString(L"Value", L"text"));
        EXPECT_EQ(L"text",
                  RegistryKey::Open(HKEY_LOCAL_MACHINE, path, view).ReadString(L"Value").value_or(L""));
        EXPECT_TRUE(RegistryKey::DeleteTree(HKEY_LOCAL_MACHINE, path, view));
    }
}
