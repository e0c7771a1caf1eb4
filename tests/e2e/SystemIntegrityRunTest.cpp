// Real launchers meeting an older release of their main product on the machine: a silent run removes it
// before going on, and an interactive run shows the proposal and removes on "Remove".
#include "LauncherRun.h"
#include "WizardDriver.h"
#include "WizardRunSupport.h"
#include "tests/products/InstalledTestProduct.h"

#include <gtest/gtest.h>

using namespace e2e;
using namespace TestProducts;

namespace {

constexpr wchar_t kProposed[] = L"SIC - Conflicts have been detected. Auto-removal is proposed.\r\n";
constexpr wchar_t kWentOn[] = L"VNT (c): Activating dialog UnpackMSIFromEXE\r\n";

LaunchOptions TwoPackages() {
    LaunchOptions options;
    options.launcher = TestProgramFolder() + L"\\" + kTwoPackagesLauncher;
    options.timeLimitMs = 60'000;
    return options;
}

} // namespace

TEST(SystemIntegrityRun, ASilentRunRemovesTheOlderReleaseInItsWay) {
    ASSERT_FALSE(IsInstalled(kHalvora101));
    ScratchFolder source, folder;
    const InstalledProduct old(kHalvora100, DatabaseCopiedTo(kHalvora100, source.Path()));
    ASSERT_EQ(0u, old.Result());
    ASSERT_TRUE(IsInstalled(kHalvora100));

    const RunResult run = RunLauncher({L"/qn", L"/L*v", folder.File(L"setup.log")}, TwoPackages());
    const std::wstring log = folder.File(L"setup.log");
    EXPECT_EQ(0u, run.exitCode);
    EXPECT_TRUE(LogHas(log, kWentOn));
    EXPECT_FALSE(IsInstalled(kHalvora100));
}

TEST(SystemIntegrityRun, AnInteractiveRunProposesTheRemovalAndRemovesOnRemove) {
    ASSERT_FALSE(IsInstalled(kHalvora101));
    ScratchFolder source, folder;
    const InstalledProduct old(kHalvora100, DatabaseCopiedTo(kHalvora100, source.Path()));
    ASSERT_EQ(0u, old.Result());

    LauncherProcess process(JoinArguments({L"/L*v", folder.File(L"setup.log")}), TwoPackages());
    ASSERT_TRUE(process.Started());
    HWND wizard = WizardDriver::WaitForWizard(process.ProcessId());
    ASSERT_TRUE(wizard);
    // The welcome page offers a quick install; Next goes the long way, to the integrity page, which waits.
    ASSERT_TRUE(WaitForButtons(wizard, L"Next >", L"Quick Install"));
    ASSERT_TRUE(WizardDriver::PressNext(wizard));
    // The backup options page offers the example solutions on a machine without a server.
    ASSERT_TRUE(WaitForPageText(wizard, L"Install example solutions"));
    ASSERT_TRUE(WizardDriver::PressNext(wizard));
    // The broker's page offers its installer; Next passes it by.
    ASSERT_TRUE(WaitForPageText(wizard, L"MQTT Support"));
    ASSERT_TRUE(WizardDriver::PressNext(wizard));
    ASSERT_TRUE(WaitForButtons(wizard, L"Remove", L"Retry"));
    const std::vector<std::wstring> texts = WizardDriver::PageTexts(wizard);
    const WizardDriver::Buttons buttons = WizardDriver::ReadButtons(wizard);
    EXPECT_EQ(buttons.next, L"Remove");
    EXPECT_EQ(buttons.back, L"Retry");
    const std::vector<std::wstring> expected = {
        L"A conflict with your current installations has been detected.",
        L"This setup will replace parts of your current installation.",
        L"The following products will be removed from your system:\n    Quenlis Halvora Server 10.0 (x64)",
        L"Select 'Remove' to let the wizard uninstall these products and continue with the setup."};
    EXPECT_EQ(texts, expected);
    EXPECT_TRUE(LogHas(folder.File(L"setup.log"), kProposed));
    ASSERT_TRUE(WizardDriver::PressNext(wizard));
    // The two servers' settings come next, with the defaults; Next takes them.
    ASSERT_TRUE(WaitForPageText(wizard, L"Unencrypted Connection to Web Server"));
    const std::wstring shots = TestProgramFolder() + L"\\screenshots";
    CreateDirectoryW(shots.c_str(), nullptr);
    Sleep(500); // let the page paint
    EXPECT_TRUE(WizardDriver::Screenshot(wizard, shots + L"\\service-configuration.bmp"));
    ASSERT_TRUE(WizardDriver::PressNext(wizard));
    ASSERT_TRUE(WaitForButtons(wizard, L"Finish", L"< Back"));
    ASSERT_TRUE(WizardDriver::PressNext(wizard));

    const RunResult run = process.Wait();
    EXPECT_EQ(0u, run.exitCode);
    EXPECT_TRUE(LogHas(folder.File(L"setup.log"), kWentOn));
    EXPECT_FALSE(IsInstalled(kHalvora100));
}
