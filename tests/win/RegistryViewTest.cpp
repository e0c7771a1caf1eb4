#include "support/Registry_win.h"

#include <gtest/gtest.h>

namespace {

const std::wstring kTestKey = L"SOFTWARE\\Quenlis\\LauncherTests\\Views";

// Removes the test key from both views before and after each test.
class RegistryViews : public ::testing::Test {
protected:
    void SetUp() override { TearDown(); }
    void TearDown() override {
        RegistryKey::DeleteTree(HKEY_LOCAL_MACHINE, kTestKey, RegistryView::Bits32);
        RegistryKey::DeleteTree(HKEY_LOCAL_MACHINE, kTestKey, RegistryView::Bits64);
    }
};

} // namespace

// The 32-bit launcher's keys live in the 32-bit view; the 64-bit twin must name that view to share them.
TEST_F(RegistryViews, EachViewHasItsOwnKeys) {
    ASSERT_TRUE(
        RegistryKey::Create(HKEY_LOCAL_MACHINE, kTestKey, RegistryView::Bits32).WriteString(L"V", L"32"));
    EXPECT_FALSE(RegistryKey::Open(HKEY_LOCAL_MACHINE, kTestKey, RegistryView::Bits64).IsOpen());
    // A 64-bit program without a view sees the 64-bit one; the 32-bit keys sit under WOW6432Node there.
    EXPECT_FALSE(RegistryKey::Open(HKEY_LOCAL_MACHINE, kTestKey, RegistryView::Default).IsOpen());
    EXPECT_EQ(L"32",
              RegistryKey::Open(HKEY_LOCAL_MACHINE, L"SOFTWARE\\WOW6432Node\\Quenlis\\LauncherTests\\Views",
                                RegistryView::Bits64)
                  .ReadString(L"V")
                  .value_or(L"<none>"));

    ASSERT_TRUE(
        RegistryKey::Create(HKEY_LOCAL_MACHINE, kTestKey, RegistryView::Bits64).WriteString(L"V", L"64"));
    EXPECT_EQ(L"32", RegistryKey::Open(HKEY_LOCAL_MACHINE, kTestKey, RegistryView::Bits32).ReadString(L"V"));
    EXPECT_EQ(L"64", RegistryKey::Open(HKEY_LOCAL_MACHINE, kTestKey, RegistryView::Bits64).ReadString(L"V"));

    EXPECT_TRUE(RegistryKey::DeleteTree(HKEY_LOCAL_MACHINE, kTestKey, RegistryView::Bits32));
    EXPECT_FALSE(RegistryKey::Open(HKEY_LOCAL_MACHINE, kTestKey, RegistryView::Bits32).IsOpen());
    EXPECT_TRUE(RegistryKey::Open(HKEY_LOCAL_MACHINE, kTestKey, RegistryView::Bits64).IsOpen());
}

TEST_F(RegistryViews, ValuesOfEachKindAndMissingOnes) {
    RegistryKey key =
        RegistryKey::Create(HKEY_LOCAL_MACHINE, kTestKey + L"\\Sub\\Deeper", RegistryView::Bits32);
    ASSERT_TRUE(key.IsOpen());
    ASSERT_TRUE(key.WriteString(L"Text", L"a,b"));
    ASSERT_TRUE(key.WriteString(L"Empty", L""));
    ASSERT_TRUE(key.WriteString(L"Expand", L"%SystemRoot%\\x", REG_EXPAND_SZ));
    ASSERT_TRUE(key.WriteDword(L"Number", 0x80000001));
    const wchar_t multi[] = L"one\0two\0\0";
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(key.Get(), L"Multi", 0, REG_MULTI_SZ,
                                            reinterpret_cast<const BYTE*>(multi), sizeof multi));
    // A string stored without its terminating zero is read whole.
    const wchar_t bare[] = {L'a', L'b', L'c'};
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(key.Get(), L"Bare", 0, REG_SZ,
                                            reinterpret_cast<const BYTE*>(bare), sizeof bare));

    const RegistryKey read =
        RegistryKey::Open(HKEY_LOCAL_MACHINE, kTestKey + L"\\Sub\\Deeper", RegistryView::Bits32);
    EXPECT_EQ(L"a,b", read.ReadString(L"Text"));
    EXPECT_EQ(L"", read.ReadString(L"Empty"));
    EXPECT_EQ(L"%SystemRoot%\\x", read.ReadString(L"Expand")); // not expanded
    EXPECT_EQ(L"abc", read.ReadString(L"Bare"));
    EXPECT_EQ(0x80000001u, read.ReadDword(L"Number"));
    EXPECT_EQ((std::vector<std::wstring>{L"one", L"two"}), read.ReadMultiString(L"Multi"));
    // Missing values and values of another kind read as nothing.
    EXPECT_FALSE(read.ReadString(L"Missing"));
    EXPECT_FALSE(read.ReadString(L"Number"));
    EXPECT_FALSE(read.ReadDword(L"Text"));
    EXPECT_FALSE(read.ReadMultiString(L"Text"));

    EXPECT_TRUE(key.DeleteValue(L"Text"));
    EXPECT_FALSE(key.DeleteValue(L"Text"));
    EXPECT_FALSE(read.ReadString(L"Text"));

    // The whole tree goes, and deleting what is not there succeeds.
    EXPECT_TRUE(RegistryKey::DeleteTree(HKEY_LOCAL_MACHINE, kTestKey, RegistryView::Bits32));
    EXPECT_FALSE(RegistryKey::Open(HKEY_LOCAL_MACHINE, kTestKey + L"\\Sub", RegistryView::Bits32).IsOpen());
    EXPECT_TRUE(RegistryKey::DeleteTree(HKEY_LOCAL_MACHINE, kTestKey, RegistryView::Bits32));
}
