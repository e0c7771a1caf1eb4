// The WebView2 page in a real desktop product's launcher: the fixed runtime downloaded from the download
// server the launcher carries the address of (the tests' loopback server) and unpacked, then the product
// installed.
// The server first: winsock2.h must come before windows.h.
#include "tests/win/LoopbackHttpServer.h"

#include "LauncherRun.h"
#include "RunLeftovers.h"
#include "WizardDriver.h"
#include "WizardRunSupport.h"
#include "prerequisites/WebView2Rules.h"
#include "support/FileUtilities_win.h"
#include "support/Registry_win.h"
#include "tests/products/InstalledTestProduct.h"

#include <gtest/gtest.h>

#include <knownfolders.h>

using namespace e2e;

namespace {

// tests/bundles/webview2-server.txt
constexpr unsigned short kDownloadServerPort = 18473;
constexpr int kFixedRadio = 1397;
constexpr int kLicenceTextId = 1380;

// Wine reports an older Windows unless told otherwise, and the fixed runtime is offered from Windows 10
// on: the launcher runs as Windows 10 through Wine's per-program setting (a key Windows ignores).
constexpr wchar_t kWineVersionKey[] = L"Software\\Wine\\AppDefaults\\TestDesktop.exe";

struct RuntimeCleanup {
    RuntimeCleanup() {
        RegistryKey::Create(HKEY_CURRENT_USER, kWineVersionKey, RegistryView::Default)
            .WriteString(L"Version", L"win10");
    }
    ~RuntimeCleanup() {
        RegistryKey::DeleteTree(HKEY_CURRENT_USER, kWineVersionKey, RegistryView::Default);
        ICBSFileUtilities::DeleteTree(L"C:\\ProgramData\\Quenlis\\WebView2");
        DeleteFileW(
            WebView2::CabinetDownloadPath(ICBSFileUtilities::KnownFolderPath(FOLDERID_Downloads)).c_str());
    }
};

} // namespace

TEST(WebView2Run, TheFixedRuntimeIsDownloadedAndUnpackedBeforeTheInstall) {
    const UndoInstalls undo;
    const RuntimeCleanup cleanup;
    LoopbackHttpServer server(0, kDownloadServerPort);
    ASSERT_TRUE(server.Ready()) << "port " << kDownloadServerPort << " is taken";
    const std::wstring path(WebView2::kCabinetUrlPath64);
    server.ServeFile(std::string(path.begin(), path.end()),
                     TestProgramFolder() + L"\\testdata\\cabinets\\webview2_x64.cab");

    ScratchFolder folder;
    LaunchOptions options;
    options.launcher = TestProgramFolder() + L"\\TestDesktop.exe";
    options.timeLimitMs = 120'000;
    LauncherProcess process(JoinArguments({L"/L*v", folder.File(L"setup.log")}), options);
    ASSERT_TRUE(process.Started());
    HWND wizard = WizardDriver::WaitForWizard(process.ProcessId());
    ASSERT_TRUE(wizard);
    ASSERT_TRUE(WaitForButtons(wizard, L"Next >", L"< Back"));
    ASSERT_TRUE(WizardDriver::PressNext(wizard));
    ASSERT_TRUE(WaitForPageText(wizard, L"Installation of Microsoft Edge WebView2 Runtime"));
    ASSERT_TRUE(WindowDriver::Click(GetDlgItem(WizardDriver::CurrentPage(wizard), kFixedRadio)));
    ASSERT_TRUE(WizardDriver::PressNext(wizard));
    HWND licence = WindowDriver::WaitForWindow(
        process.ProcessId(), [](HWND window) { return GetDlgItem(window, kLicenceTextId) != nullptr; });
    ASSERT_TRUE(licence);
    ASSERT_TRUE(WindowDriver::PressButtonById(licence, IDOK));

    // One package: the wizard ends after its install.
    EXPECT_EQ(0u, process.Wait().exitCode);
    EXPECT_TRUE(TestProducts::IsInstalled(TestProducts::kPennix2024));
    EXPECT_TRUE(
        ICBSFileUtilities::Exists(std::wstring(WebView2::kFixedRuntimeFolder64) + L"\\msedgewebview2.exe"));
    EXPECT_TRUE(LogHas(folder.File(L"setup.log"), L"VNT (c): Activating dialog WebView2\r\n"));
}
