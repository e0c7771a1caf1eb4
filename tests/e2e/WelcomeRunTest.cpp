// A real launcher greeting a machine with an older release of its main product: the welcome page offers a
// quick install, and Quick Install runs the rest of the wizard without a question, removing the older
// release on the way.
#include "LauncherRun.h"
#include "WizardDriver.h"
#include "WizardRunSupport.h"
#include "tests/products/InstalledTestProduct.h"

#include <gtest/gtest.h>

using namespace e2e;
using namespace TestProducts;

TEST(WelcomeRun, QuickInstallReplacesTheOlderReleaseWithoutQuestions) {
    ASSERT_FALSE(IsInstalled(kHalvora101));
    ScratchFolder source, folder;
    const InstalledProduct old(kHalvora100, DatabaseCopiedTo(kHalvora100, source.Path()));
    ASSERT_EQ(0u, old.Result());

    LaunchOptions options;
    options.launcher = TestProgramFolder() + L"\\" + kTwoPackagesLauncher;
    options.timeLimitMs = 60'000;
    const std::wstring log = folder.File(L"setup.log");
    LauncherProcess process(JoinArguments({L"/L*v", log}), options);
    ASSERT_TRUE(process.Started());
    HWND wizard = WizardDriver::WaitForWizard(process.ProcessId());
    ASSERT_TRUE(wizard);
    ASSERT_TRUE(WaitForButtons(wizard, L"Next >", L"Quick Install"));
    const std::vector<std::wstring> texts = WizardDriver::PageTexts(wizard);
    ASSERT_GE(texts.size(), 3u);
    EXPECT_EQ(texts[0], L"Upgrading to");
    EXPECT_EQ(texts[1], L"Quenlis Halvora Server 10.1 (x64)");
    EXPECT_EQ(texts[2],
              L"We have found Quenlis Halvora Server 10.0 (x64) on your system. You are about to replace "
              L"your current installation.");
    EXPECT_TRUE(
        LogHas(log, L"    QUICK - This is a product upgrade of your current installation of Quenlis Halvora "
                    L"Server 10.0 (x64).\r\n"));
    ASSERT_TRUE(WizardDriver::PressBack(wizard));
    // A quick install of several packages still waits for the user on the finish page.
    ASSERT_TRUE(WaitForButtons(wizard, L"Finish", L"< Back"));
    EXPECT_FALSE(WizardDriver::ReadButtons(wizard).cancelEnabled);
    ASSERT_TRUE(WizardDriver::PressNext(wizard));

    const RunResult run = process.Wait();
    EXPECT_EQ(0u, run.exitCode);
    EXPECT_TRUE(LogHas(log, L"VNT (c): Activating dialog UnpackMSIFromEXE\r\n"));
    EXPECT_FALSE(IsInstalled(kHalvora100));
}
