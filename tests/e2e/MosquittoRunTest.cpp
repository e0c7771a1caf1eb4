// The MQTT broker's page in a real launcher that carries a stand-in for the broker's installer: the button
// writes the installer into the main package's folder and runs it, the wizard stays disabled until it ends.
#include "LauncherRun.h"
#include "WizardDriver.h"
#include "WizardRunSupport.h"
#include "launcher/SystemInfo_win.h"
#include "tests/products/TestProducts.h"

#include <gtest/gtest.h>

using namespace e2e;

TEST(MosquittoRun, TheButtonRunsTheCarriedInstallerWhileTheWizardWaits) {
    ScratchFolder folder;
    LaunchOptions options;
    options.launcher = TestProgramFolder() + L"\\TestBroker.exe";
    LauncherProcess process(JoinArguments({L"/L*v", folder.File(L"setup.log")}), options);
    ASSERT_TRUE(process.Started());
    HWND wizard = WizardDriver::WaitForWizard(process.ProcessId());
    ASSERT_TRUE(wizard);
    ASSERT_TRUE(WaitForButtons(wizard, L"Next >", L"< Back"));
    ASSERT_TRUE(WizardDriver::PressNext(wizard));
    // The backup options page offers the example solutions on a machine without a server.
    ASSERT_TRUE(WaitForPageText(wizard, L"Install example solutions"));
    ASSERT_TRUE(WizardDriver::PressNext(wizard));
    ASSERT_TRUE(WaitForPageText(wizard, L"MQTT Support"));
    const std::wstring shots = TestProgramFolder() + L"\\screenshots";
    CreateDirectoryW(shots.c_str(), nullptr);
    Sleep(300);
    EXPECT_TRUE(WizardDriver::Screenshot(wizard, shots + L"\\mosquitto.bmp"));

    const std::wstring packageFolder = LauncherBaseFolder() + L"\\" + TestProducts::kHalvora101.packageCode;
    ASSERT_TRUE(
        WindowDriver::PressButton(WizardDriver::CurrentPage(wizard), L"Launch Eclipse Mosquitto Installer"));
    // The stand-in takes a moment; meanwhile nothing of the wizard can be pressed.
    bool disabledWhileRunning = false;
    for (int waited = 0; waited < 10'000 && !disabledWhileRunning; waited += 50, Sleep(50))
        disabledWhileRunning = !IsWindowEnabled(wizard) && !WizardDriver::ReadButtons(wizard).cancelEnabled;
    EXPECT_TRUE(disabledWhileRunning);
    bool enabledAgain = false;
    for (int waited = 0; waited < 20'000 && !enabledAgain; waited += 100, Sleep(100))
        enabledAgain = IsWindowEnabled(wizard) && WizardDriver::ReadButtons(wizard).nextEnabled;
    EXPECT_TRUE(enabledAgain);
    EXPECT_NE(INVALID_FILE_ATTRIBUTES,
              GetFileAttributesW((packageFolder + L"\\mosquitto-2.0.15-install-windows-x64.exe").c_str()));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((packageFolder + L"\\broker-ran.txt").c_str()));

    ASSERT_TRUE(WizardDriver::PressCancel(wizard));
    ASSERT_TRUE(WaitForButtons(wizard, L"Finish", L"< Back"));
    ASSERT_TRUE(WizardDriver::PressNext(wizard));
    EXPECT_EQ(3u, process.Wait().exitCode);
    EXPECT_TRUE(LogHas(folder.File(L"setup.log"), L"VNT (c): Created InstallMosquittoThread\r\n"));
}
