// The launcher doing its main job under wine64 with the real test product line: silent installs that
// really install, the installed-programs entry that later removes them, a failing package, an
// administrative install, a package's question answered in a message box, and an interactive install
// through the wizard. Every case reads back what is installed afterwards.
#include "LauncherRun.h"
#include "RunLeftovers.h"
#include "WizardDriver.h"
#include "WizardRunSupport.h"

#include "launcher/SystemInfo_win.h"
#include "support/Registry_win.h"
#include "tests/products/InstalledTestProduct.h"

#include <gtest/gtest.h>

using namespace e2e;
using namespace TestProducts;

namespace {

const std::wstring kUninstallKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

RegistryKey Entry(const Product& product) {
    return RegistryKey::Open(HKEY_LOCAL_MACHINE, kUninstallKey + product.productCode, RegistryView::Bits64);
}

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Something a process that outlives the launcher removes (the self-deleting batch) goes within a minute.
bool GoneWithinAMinute(const std::wstring& path) {
    for (int waited = 0; waited < 60'000 && Exists(path); waited += 250)
        Sleep(250);
    return !Exists(path);
}

LaunchOptions Launcher(const std::wstring& path, DWORD timeLimitMs = 60'000) {
    LaunchOptions options;
    options.launcher = path;
    options.timeLimitMs = timeLimitMs;
    return options;
}

} // namespace

// A launcher whose file name holds spaces installs the demo line silently; the main product's entry then
// runs the launcher copy (quoted) with /x, which removes the whole line again.
TEST(InstallRun, SilentInstallOfTheDemoLineAndRemovalThroughTheEntry) {
    ScratchFolder folder;
    const std::wstring launcher = folder.File(L"Quenlis Demo Setup.exe");
    ASSERT_TRUE(CopyFileW((TestProgramFolder() + L"\\" + kDemoLauncher).c_str(), launcher.c_str(), FALSE));
    const RunResult install = RunLauncher({L"/qn"}, Launcher(launcher));
    ASSERT_EQ(0u, install.exitCode);
    for (const Product* product : {&kHalvora101, &kKestrum317, &kZorvex2024})
        EXPECT_TRUE(IsInstalled(*product)) << WideToUtf8(product->stem);

    const std::wstring copy =
        LauncherBaseFolder() + L"\\" + kHalvora101.packageCode + L"\\Quenlis Demo Setup.exe";
    EXPECT_TRUE(Exists(copy));
    const RegistryKey entry = Entry(kHalvora101);
    ASSERT_TRUE(entry.IsOpen());
    EXPECT_EQ(0u, entry.ReadDword(L"WindowsInstaller").value_or(7));
    // Quoted: Windows would otherwise run "C:\ProgramData\...\Quenlis" with the rest as arguments.
    const std::wstring uninstall = entry.ReadString(L"UninstallString").value_or(L"");
    EXPECT_EQ(L"\"" + copy + L"\" /x lang=English", uninstall);
    EXPECT_EQ(L"\"" + copy + L"\" lang=English", entry.ReadString(L"ModifyPath").value_or(L""));

    // Run as the installed-programs list runs it (here silently).
    const RunResult removal = RunLauncherWithText(L"/x lang=English /qn", Launcher(copy));
    EXPECT_EQ(0u, removal.exitCode);
    for (const Product* product : {&kHalvora101, &kKestrum317, &kZorvex2024})
        EXPECT_FALSE(IsInstalled(*product)) << WideToUtf8(product->stem);
    EXPECT_FALSE(Entry(kHalvora101).IsOpen());
    // No cached package is left: the companions' folders go as the launcher ends, the main one, which held
    // the copy that ran, with the batch once the copy has ended.
    EXPECT_FALSE(Exists(LauncherBaseFolder() + L"\\" + kKestrum317.packageCode));
    EXPECT_FALSE(Exists(LauncherBaseFolder() + L"\\" + kZorvex2024.packageCode));
    EXPECT_TRUE(GoneWithinAMinute(LauncherBaseFolder() + L"\\" + kHalvora101.packageCode));
    EXPECT_TRUE(GoneWithinAMinute(LauncherBaseFolder() + L"\\SelfDelete.bat"));
}

// The second package fails: the first, installed by this run, is removed again; the run ends with
// "Installation failed." (2), already reported by Windows Installer.
TEST(InstallRun, AFailingPackageLeavesNothingInstalled) {
    const RunResult run = RunLauncher({L"/qn", L"FAIL_PACKAGE=Kestrum"},
                                      Launcher(TestProgramFolder() + L"\\" + kTwoPackagesLauncher));
    EXPECT_EQ(2u, run.exitCode);
    EXPECT_FALSE(IsInstalled(kHalvora101));
    EXPECT_FALSE(IsInstalled(kKestrum317));
    EXPECT_FALSE(Entry(kHalvora101).IsOpen());
}

// An administrative install is handed to Windows Installer as such. The test products, built by wixl,
// carry no administrative sequence, and Wine's installer answers the administrative action with 1626
// ("Function could not be called"): the run reports the failure (2), installs nothing and prunes its
// package folders, as after any failure. On Windows the same packages would unpack into TARGETDIR.
TEST(InstallRun, AdministrativeInstallIsHandedToTheInstaller) {
    ScratchFolder target;
    const RunResult run = RunLauncher({L"/qn", L"/a", L"TARGETDIR=" + target.Path()},
                                      Launcher(TestProgramFolder() + L"\\" + kTwoPackagesLauncher));
    EXPECT_EQ(2u, run.exitCode);
    EXPECT_FALSE(IsInstalled(kHalvora101));
    EXPECT_FALSE(IsInstalled(kKestrum317));
    EXPECT_FALSE(Exists(LauncherBaseFolder() + L"\\" + kHalvora101.packageCode));
}

// A package asks the user a question; the launcher's handler shows it in a message box even in a silent
// run, and the answer pressed reaches the package.
TEST(InstallRun, APackagesQuestionIsAnsweredInAMessageBox) {
    LauncherProcess process(L"/qn ASK_USER=HalvoraServer",
                            Launcher(TestProgramFolder() + L"\\" + kTwoPackagesLauncher));
    ASSERT_TRUE(process.Started());
    const HWND box = WindowDriver::WaitForWindow(
        process.ProcessId(),
        [](HWND window) {
            return WindowDriver::ClassName(window) == WindowDriver::kDialogClass &&
                   WindowDriver::MessageBoxText(window).find(L"go on with the installation?") !=
                       std::wstring::npos;
        },
        30'000, process.Handle());
    ASSERT_NE(nullptr, box);
    EXPECT_TRUE(WindowDriver::PressButton(box, L"No"));
    const RunResult run = process.Wait();
    EXPECT_EQ(0u, run.exitCode);
    EXPECT_EQ(L"7", RegistryKey::Open(HKEY_LOCAL_MACHINE, kHalvora101.registrationKey, RegistryView::Bits64)
                        .ReadString(L"UserAnswer")
                        .value_or(L"")); // IDNO
}

// An interactive install: the user goes through the wizard with Next; the wizard hides while the packages
// install and comes back with the finish page.
TEST(InstallRun, InteractiveInstallThroughTheWizard) {
    LauncherProcess process(L"", Launcher(TestProgramFolder() + L"\\" + kTwoPackagesLauncher, 90'000));
    ASSERT_TRUE(process.Started());
    HWND wizard = WizardDriver::WaitForWizard(process.ProcessId());
    ASSERT_NE(nullptr, wizard);
    // Next on every page that waits, until the finish page reads "Finish".
    bool finished = false;
    for (int step = 0; step < 200 && !finished; ++step) {
        const WizardDriver::Buttons buttons = WizardDriver::ReadButtons(wizard);
        if (buttons.next == L"Finish" && IsWindowVisible(wizard)) {
            finished = true;
            break;
        }
        if (buttons.nextEnabled && IsWindowVisible(wizard))
            WizardDriver::PressNext(wizard);
        Sleep(150);
    }
    ASSERT_TRUE(finished);
    EXPECT_TRUE(IsInstalled(kHalvora101));
    EXPECT_TRUE(IsInstalled(kKestrum317));
    const std::vector<std::wstring> texts = WizardDriver::PageTexts(wizard);
    EXPECT_NE(std::find(texts.begin(), texts.end(),
                        L"Setup has successfully installed Quenlis Halvora Server 10.1 (x64)."),
              texts.end());
    const std::wstring shots = TestProgramFolder() + L"\\screenshots";
    CreateDirectoryW(shots.c_str(), nullptr);
    Sleep(300);
    EXPECT_TRUE(WizardDriver::Screenshot(wizard, shots + L"\\finish-after-install.bmp"));
    EXPECT_TRUE(WizardDriver::PressNext(wizard));
    EXPECT_EQ(0u, process.Wait().exitCode);
}
