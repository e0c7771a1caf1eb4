// The launcher remembers the download identifier in its file name (a run of exactly ten digits) in the
// 32-bit registry view, once per identifier.
#include "LauncherRun.h"

#include "support/Registry_win.h"

#include <gtest/gtest.h>

using namespace e2e;

namespace {

const std::wstring kSetupKey = L"SOFTWARE\\Quenlis\\Setup";

class DownloadIdRun : public ::testing::Test {
protected:
    void SetUp() override { Clean(); }
    void TearDown() override { Clean(); }
    static void Clean() {
        RegistryKey::DeleteTree(HKEY_LOCAL_MACHINE, kSetupKey, RegistryView::Bits32);
        RegistryKey::DeleteTree(HKEY_LOCAL_MACHINE, kSetupKey, RegistryView::Bits64);
    }

    // Runs a copy of the launcher of this file name quietly in the setup mode.
    void RunCopy(const std::wstring& fileName) {
        const std::wstring copy = folder_.File(fileName);
        if (GetFileAttributesW(copy.c_str()) == INVALID_FILE_ATTRIBUTES)
            ASSERT_TRUE(CopyFileW(DefaultLauncherPath().c_str(), copy.c_str(), TRUE));
        LaunchOptions options;
        options.launcher = copy;
        EXPECT_EQ(0u, RunLauncher({L"/qn"}, options).exitCode) << WideToUtf8(fileName);
    }

    static std::optional<std::wstring> DownloadIds(RegistryView view = RegistryView::Bits32) {
        return RegistryKey::Open(HKEY_LOCAL_MACHINE, kSetupKey, view).ReadString(L"DownloadIds");
    }

    ScratchFolder folder_;
};

} // namespace

TEST_F(DownloadIdRun, TenDigitsAreRecordedOnce) {
    RunCopy(L"Setup_1234567890.exe");
    RunCopy(L"Setup_1234567890.exe");
    EXPECT_EQ(L"1234567890", DownloadIds().value_or(L"<none>"));
    // The 64-bit twin writes where the shipped 32-bit launcher writes.
    EXPECT_FALSE(DownloadIds(RegistryView::Bits64));
}

TEST_F(DownloadIdRun, NewIdentifiersAreAppended) {
    ASSERT_TRUE(RegistryKey::Create(HKEY_LOCAL_MACHINE, kSetupKey, RegistryView::Bits32)
                    .WriteString(L"DownloadIds", L"1111111111"));
    RunCopy(L"2222222222.exe");
    RunCopy(L"Setup_12345678901_3333333333.exe"); // the eleven digits are skipped, the ten count
    EXPECT_EQ(L"1111111111,2222222222,3333333333", DownloadIds().value_or(L"<none>"));
}

TEST_F(DownloadIdRun, OtherDigitRunsRecordNothing) {
    RunCopy(L"Setup_12345678901.exe");
    RunCopy(L"Setup_123456789.exe");
    EXPECT_FALSE(DownloadIds()) << WideToUtf8(DownloadIds().value_or(L""));
}
