// A package that Windows Installer does not install, silently, in a real launcher: the taxonomy install
// registers the package in the user's installed-programs list, and that entry's "UninstallString" removes
// it again. Each operation takes ten one-second actions.
#include "LauncherRun.h"
#include "WholeRunSupport.h"
#include "launcher/NonMSIRegistration.h"
#include "launcher/SystemInfo_win.h"
#include "support/FileUtilities_win.h"
#include "support/Registry_win.h"

#include <gtest/gtest.h>

using namespace e2e;

namespace {

constexpr wchar_t kProductCode[] = L"{3C5D7E9F-1A2B-4C6D-8E0F-A1B2C3D4E5F6}"; // tests/bundles/taxonomy.bundle
constexpr wchar_t kPackageCode[] = L"{7D1C0E2B-40A5-4F0C-9B52-0C3F1D2E6A11}";

RegistryKey Entry() {
    return RegistryKey::Open(HKEY_CURRENT_USER, NonMSIRegistration::KeyPath(kProductCode),
                             RegistryView::Bits64);
}

struct EntryCleanup {
    ~EntryCleanup() {
        RegistryKey::DeleteTree(HKEY_CURRENT_USER, NonMSIRegistration::KeyPath(kProductCode),
                                RegistryView::Bits64);
        ICBSFileUtilities::DeleteTree(LauncherBaseFolder() + L"\\" + kPackageCode);
    }
};

} // namespace

TEST(TaxonomyRun, ASilentInstallRegistersThePackageAndItsEntryRemovesIt) {
    const EntryCleanup cleanup;
    ScratchFolder folder;
    LaunchOptions options;
    options.launcher = TestProgramFolder() + L"\\TestTaxonomy.exe";
    options.timeLimitMs = 90'000;
    {
        const FlowTimer timer("taxonomy-install");
        const RunResult run = RunLauncher({L"/qn", L"/L*v", folder.File(L"install.log")}, options);
        ASSERT_EQ(0u, run.exitCode);
    }
    EXPECT_TRUE(LogHas(folder.File(L"install.log"),
                       L"Successfully installed product Quenlis Halvora Server 10.1 (x64).\r\n"));
    const RegistryKey entry = Entry();
    ASSERT_TRUE(entry.IsOpen());
    EXPECT_EQ(kPackageCode, entry.ReadString(L"PackageGUID").value_or(L"?"));
    EXPECT_EQ(L"Quenlis", entry.ReadString(L"Publisher").value_or(L"?"));
    const EntryCommand removal = SplitEntryCommand(entry.ReadString(L"UninstallString").value_or(L""));
    EXPECT_EQ(L"/x", removal.arguments);
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(removal.program.c_str()))
        << WideToUtf8(removal.program);

    options.launcher = removal.program;
    {
        const FlowTimer timer("taxonomy-remove");
        const RunResult run = RunLauncher({L"/x", L"/qn", L"/L*v", folder.File(L"remove.log")}, options);
        EXPECT_EQ(0u, run.exitCode);
    }
    EXPECT_TRUE(LogHas(folder.File(L"remove.log"),
                       L"Successfully un-installed product Quenlis Halvora Server 10.1 (x64).\r\n"));
    EXPECT_FALSE(Entry().IsOpen());
}
