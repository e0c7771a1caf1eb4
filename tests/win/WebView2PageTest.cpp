// The WebView2 runtime page in the real wizard over a desktop product: the system's runtime deciding
// whether it shows, a fixed runtime in place, the fixed runtime downloaded from a loopback server and
// unpacked from a real cabinet, Cancel during that download, the stand-in bootstrapper exiting 0 or 1,
// and "Install later". Also the registry reading that stands in for the vendor's loader.
#include "LoopbackHttpServer.h"

#include "CabinetTestSupport.h"
#include "WizardTestFixture.h"

#include "StringIds.h"
#include "launcher/Workload.h"
#include "prerequisites/WebView2WizardPage_win.h"
#include "support/Registry_win.h"

#include <commctrl.h>
#include <knownfolders.h>

using namespace WebView2;

namespace {

constexpr int kNewestRadio = 1398, kFixedRadio = 1397, kLaterRadio = 1399;
constexpr int kLicenceTextId = 1380;

// The vendor's loader as a test wants it: a given installed version, the launcher's own comparison.
class FixedVersionLoader : public RuntimeLoaderIF {
public:
    std::optional<std::wstring> version;
    bool GetAvailableRuntimeVersion(std::wstring& found) override {
        if (version)
            found = *version;
        return version.has_value();
    }
    bool CompareVersions(const std::wstring& a, const std::wstring& b, int& result) override {
        return WebView2::CompareVersions(a, b, result);
    }
};

// What the page leaves on the machine goes when the test ends: the fixed runtime and the cabinet.
struct MachineCleanup {
    ~MachineCleanup() {
        ICBSFileUtilities::DeleteTree(L"C:\\ProgramData\\Quenlis\\WebView2");
        DeleteFileW(CabinetDownloadPath(ICBSFileUtilities::KnownFolderPath(FOLDERID_Downloads)).c_str());
    }
};

class WebView2PageTest : public WizardDialogTest {
protected:
    void SetUp() override {
        WizardDialogTest::SetUp();
        host_->packages.Clear();
        PackageDescription desktop;
        desktop.productName = L"Quenlis Forge 2024";
        desktop.productId = L"QF::Z";
        desktop.version = L"2024.1";
        desktop.main = true;
        host_->packages.Add(PackageInfo(desktop));
        host_->context.system.version.major = 10;
        host_->context.system.is64Bit = true;
        ASSERT_TRUE(server_.Ready());
    }

    CWizardDialog::PageFactory Pages() {
        return OnePage<WebView2WizardPage>(
            WizardPageKind::WebView2,
            [this](PageFrame& frame) {
                return std::make_unique<WebView2WizardPage>(frame, loader_, server_.Url(L""));
            },
            page_);
    }
    HWND WaitForChoices() { return WaitForWaitingPage(page_); }
    bool WaitForState(PageState state, DWORD timeoutMs = kWaitMs) {
        return WaitUntil([&] { return page_->State() == state; }, timeoutMs);
    }
    bool MovedOn() const { return host_->Logged(L"VNT (c): Activating dialog UnpackMSIFromEXE\r\n"); }
    HWND WaitForDialog(const std::function<bool(HWND)>& match) const {
        return WindowDriver::WaitForWindow(GetCurrentProcessId(), [&](HWND window) {
            return WindowDriver::ClassName(window) == WindowDriver::kDialogClass && match(window);
        });
    }
    HWND WaitForLicence() const {
        return WaitForDialog([](HWND window) { return GetDlgItem(window, kLicenceTextId) != nullptr; });
    }
    HWND WaitForMessageBox() const {
        return WaitForDialog([](HWND window) { return GetDlgItem(window, WindowDriver::kMessageBoxTextId); });
    }
    // Chooses a radio button and presses Next, then "Accept and Install".
    void ChooseAndAccept(HWND wizard, int radio, const wchar_t* licenceShot = nullptr) {
        ASSERT_TRUE(WindowDriver::Click(GetDlgItem(page_->Handle(), radio)));
        ASSERT_TRUE(WizardDriver::PressNext(wizard));
        HWND licence = WaitForLicence();
        ASSERT_TRUE(licence);
        if (licenceShot) {
            Sleep(300);
            EXPECT_TRUE(WizardDriver::Screenshot(licence, ThisFolder() + L"screenshots\\" + licenceShot));
        }
        ASSERT_TRUE(WindowDriver::PressButtonById(licence, IDOK));
    }
    std::wstring Text(unsigned id) const { return host_->context.languages.LoadString(id); }
    std::string CabinetUrlPath() const { return WideToAscii(std::wstring(kCabinetUrlPath64)); }
    static std::string WideToAscii(const std::wstring& text) { return std::string(text.begin(), text.end()); }

    LoopbackHttpServer server_;
    FixedVersionLoader loader_;
    WebView2WizardPage* page_ = nullptr;
    MachineCleanup cleanup_;
};

} // namespace

// 116 on Windows 10 and 110 on Windows 8.1 are recent enough; 110 on Windows 11 is offered an update.
TEST_F(WebView2PageTest, TheSystemsRuntimeDecidesWhetherThePageShows) {
    struct Case {
        const wchar_t* version;
        uint32_t major;
        bool shows;
    } cases[] = {{L"116.0.1938.62", 10, false}, {L"110.0.1587.57", 6, false}, {L"110.0.1587.57", 10, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.version << " on " << c.major);
        loader_.version = c.version;
        host_->context.system.version.major = c.major;
        std::wstring newestText;
        Run(Pages(), [&] {
            if (!c.shows) {
                EXPECT_TRUE(WaitUntil([&] { return MovedOn(); }));
                return;
            }
            HWND wizard = WaitForChoices();
            ASSERT_TRUE(wizard);
            newestText = WindowDriver::Text(GetDlgItem(page_->Handle(), kNewestRadio));
            EXPECT_EQ(Text(StringId::WebViewInstall), WizardDriver::ReadButtons(wizard).next);
            EXPECT_EQ(Text(StringId::WebViewCheckAgain), WizardDriver::ReadButtons(wizard).back);
            Screenshot(wizard, L"webview2-update-en.bmp");
        });
        EXPECT_EQ(c.shows ? PageState::Choosing : PageState::SystemRuntime, page_->State());
        EXPECT_EQ(!c.shows, page_->Decided());
        EXPECT_TRUE(page_->RuntimeFolder().empty());
        if (c.shows)
            EXPECT_EQ(Text(StringId::WebViewUpdate), newestText);
        host_->ClearLog();
    }
}

TEST_F(WebView2PageTest, AFixedRuntimeInPlacePassesWithItsFolder) {
    ASSERT_TRUE(ICBSFileUtilities::EnsureParentFolder(std::wstring(kFixedRuntimeFolder64) + L"\\"));
    Run(Pages(), [&] { EXPECT_TRUE(WaitUntil([&] { return MovedOn(); })); });
    EXPECT_EQ(PageState::FixedInstalled64, page_->State());
    EXPECT_EQ(kFixedRuntimeFolder64, page_->RuntimeFolder());
    EXPECT_TRUE(page_->Decided());
}

// The licence accepted, the cabinet comes from the loopback server and is unpacked into the version
// folder; the page then moves on with the runtime folder decided.
TEST_F(WebView2PageTest, TheFixedRuntimeIsDownloadedAndUnpacked) {
    server_.ServeFile(CabinetUrlPath(), CabinetTest::DataFile(L"webview2_x64.cab"));
    Run(Pages(), [&] {
        HWND wizard = WaitForChoices();
        ASSERT_TRUE(wizard);
        ASSERT_NO_FATAL_FAILURE(ChooseAndAccept(wizard, kFixedRadio, L"webview2-licence-en.bmp"));
        ASSERT_TRUE(WaitUntil([&] { return MovedOn(); }));
    });
    EXPECT_EQ(PageState::FixedInstalled64, page_->State());
    EXPECT_TRUE(page_->Decided());
    EXPECT_EQ(kFixedRuntimeFolder64, page_->RuntimeFolder());
    const std::string unpacked =
        ByteFile::ReadAll(std::wstring(kFixedRuntimeFolder64) + L"\\msedgewebview2.exe").value_or("");
    EXPECT_EQ("stands for the runtime\r\n", unpacked);
}

TEST_F(WebView2PageTest, CancelDuringTheDownloadLeavesNoVersionFolder) {
    server_.ServeSlowly(CabinetUrlPath());
    std::wstring message;
    Run(Pages(), [&] {
        HWND wizard = WaitForChoices();
        ASSERT_TRUE(wizard);
        ASSERT_NO_FATAL_FAILURE(ChooseAndAccept(wizard, kFixedRadio));
        ASSERT_TRUE(WaitForState(PageState::Downloading64));
        ASSERT_TRUE(WaitUntil([&] { return server_.SlowBytesSent() > 0; }));
        Screenshot(wizard, L"webview2-downloading-en.bmp");
        ASSERT_TRUE(WizardDriver::PressCancel(wizard));
        HWND box = WaitForMessageBox();
        ASSERT_TRUE(box);
        message = WindowDriver::MessageBoxText(box);
        ASSERT_TRUE(WindowDriver::PressButtonById(box, IDOK));
        ASSERT_TRUE(WaitForState(PageState::Choosing));
    });
    EXPECT_EQ(Text(StringId::WebViewFixedInstallCancelled), message);
    EXPECT_FALSE(CabinetTest::Exists(std::wstring(kVersionFolder)));
    EXPECT_FALSE(page_->Decided());
}

// The workload's bootstrapper file runs once the licence is accepted: exit code 0 decides for the
// system's runtime, 1 is the failure message and the choice again (in Japanese).
TEST_F(WebView2PageTest, TheBootstrappersExitCodeDecides) {
    const std::wstring stand_in = ThisFolder() + L"FakeBrokerInstaller.exe";
    for (const wchar_t* name : {L"bootstrapper.exe", L"bootstrapper-fail.exe"}) {
        SCOPED_TRACE(testing::Message() << name);
        CabinetTest::ScratchFolder folder(L"webview2-bootstrapper");
        const std::wstring copy = folder / name;
        ASSERT_TRUE(CopyFileW(stand_in.c_str(), copy.c_str(), FALSE));
        host_->context.namedValues[kEvergreenDownloaderName] = copy;
        const bool fails = std::wstring(name).find(L"fail") != std::wstring::npos;
        if (fails)
            host_->context.languages.SelectByLanguageId(1041);
        std::wstring message;
        Run(Pages(), [&] {
            HWND wizard = WaitForChoices();
            ASSERT_TRUE(wizard);
            if (fails)
                Screenshot(wizard, L"webview2-ja.bmp");
            ASSERT_NO_FATAL_FAILURE(
                ChooseAndAccept(wizard, kNewestRadio, fails ? L"webview2-licence-ja.bmp" : nullptr));
            if (!fails) {
                ASSERT_TRUE(WaitUntil([&] { return MovedOn(); }));
                return;
            }
            HWND box = WaitForMessageBox();
            ASSERT_TRUE(box);
            message = WindowDriver::MessageBoxText(box);
            ASSERT_TRUE(WindowDriver::PressButtonById(box, IDOK));
            ASSERT_TRUE(WaitForState(PageState::Choosing));
        });
        EXPECT_TRUE(CabinetTest::Exists(folder / L"broker-ran.txt"));
        EXPECT_EQ(fails ? PageState::Choosing : PageState::SystemRuntime, page_->State());
        EXPECT_EQ(!fails, page_->Decided());
        if (fails)
            EXPECT_EQ(Text(StringId::WebViewEvergreenInstallFailed), message);
        host_->ClearLog();
    }
}

TEST_F(WebView2PageTest, InstallLaterMovesOnWithoutARuntime) {
    std::wstring nextCaption;
    Run(Pages(), [&] {
        HWND wizard = WaitForChoices();
        ASSERT_TRUE(wizard);
        ASSERT_TRUE(WindowDriver::Click(GetDlgItem(page_->Handle(), kLaterRadio)));
        Sleep(200);
        nextCaption = WizardDriver::ReadButtons(wizard).next;
        Screenshot(wizard, L"webview2-later-en.bmp");
        ASSERT_TRUE(WizardDriver::PressNext(wizard));
        ASSERT_TRUE(WaitUntil([&] { return MovedOn(); }));
    });
    EXPECT_EQ(Text(StringId::WebViewSkip), nextCaption);
    EXPECT_FALSE(page_->Decided());
    EXPECT_TRUE(page_->RuntimeFolder().empty());
}

// The user's registration of a runtime is found when the machine has none; "0.0.0.0" stands for none.
TEST(WebView2Runtime, TheRuntimesOwnRegistryValuesGiveItsVersion) {
    const std::wstring key(kRuntimeClientKey);
    RegistryKey::DeleteTree(HKEY_CURRENT_USER, key, RegistryView::Default);
    std::wstring version;
    const bool before = GetAvailableRuntimeVersion(version);
    ASSERT_TRUE(
        RegistryKey::Create(HKEY_CURRENT_USER, key, RegistryView::Default).WriteString(L"pv", L"0.0.0.0"));
    const bool gone = GetAvailableRuntimeVersion(version);
    ASSERT_TRUE(RegistryKey::Create(HKEY_CURRENT_USER, key, RegistryView::Default)
                    .WriteString(L"pv", L"118.0.2088.46"));
    const bool found = GetAvailableRuntimeVersion(version);
    RegistryKey::DeleteTree(HKEY_CURRENT_USER, key, RegistryView::Default);
    EXPECT_FALSE(before);
    EXPECT_FALSE(gone);
    EXPECT_TRUE(found);
    EXPECT_EQ(L"118.0.2088.46", version);
}
