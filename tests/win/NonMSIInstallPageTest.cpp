// The non-MSI install page in the real wizard with the real taxonomy installer over the real registry (its
// actions shortened): an install that shows its ten actions, fills the bar and registers the package; Escape
// during an install; a package already registered.
#include "CabinetTestSupport.h"
#include "WizardTestFixture.h"

#include "installer/NonMSIMachine_win.h"
#include "installer/TaxonomyInstaller.h"
#include "launcher/InstalledProducts_win.h"
#include "launcher/NonMSIRegistration.h"
#include "support/Registry_win.h"
#include "wizard/NonMSIInstallWizardPage_win.h"

#include <commctrl.h>

namespace {

constexpr wchar_t kProductCode[] = L"{6A1F2C3D-4B5E-4F60-8172-93A4B5C6D7E8}";
constexpr wchar_t kPackageCode[] = L"{0B1C2D3E-4F50-4617-8293-A4B5C6D7E8F9}";

class NonMSIInstallPageTest : public WizardDialogTest {
protected:
    void SetUp() override {
        WizardDialogTest::SetUp();
        host_->packages.Clear();
        PackageDescription taxonomy;
        taxonomy.productName = L"Quenlis Trelmo Server 2024 (x64)";
        taxonomy.productId = L"TR::Z";
        taxonomy.productCode = kProductCode;
        taxonomy.packageCode = kPackageCode;
        taxonomy.version = L"2024.1";
        taxonomy.is64Bit = true;
        taxonomy.main = true;
        taxonomy.installerType = L"taxonomy";
        PackageInfo package(taxonomy);
        package.SetPackageFolder(folder_.Path());
        host_->packages.Add(std::move(package));
        host_->choices.Select(0, true);
        RemoveEntry();
    }
    void TearDown() override {
        WizardDialogTest::TearDown();
        RemoveEntry();
    }
    static void RemoveEntry() {
        RegistryKey::DeleteTree(HKEY_CURRENT_USER, NonMSIRegistration::KeyPath(kProductCode),
                                RegistryView::Bits64);
    }
    static RegistryKey Entry() {
        return RegistryKey::Open(HKEY_CURRENT_USER, NonMSIRegistration::KeyPath(kProductCode),
                                 RegistryView::Bits64);
    }

    // Runs the wizard with the taxonomy installer, each action taking actionMs.
    void RunInstall(DWORD actionMs, const std::function<void(HWND wizard)>& drive) {
        installer_ = std::make_unique<TaxonomyInstaller>(host_->context, std::make_unique<NonMSIMachine>(),
                                                         [actionMs] { Sleep(actionMs); });
        host_->nonMsiInstaller = installer_.get();
        Run(
            [this](WizardPageKind kind, PageFrame& frame) -> std::unique_ptr<WizardPageBase> {
                if (kind == WizardPageKind::NonMSIInstall) {
                    auto page =
                        std::make_unique<NonMSIInstallWizardPage>(frame, frame.Services().NonMSIInstaller());
                    page_ = page.get();
                    return page;
                }
                if (kind == WizardPageKind::Welcome) // waits, so that the wizard is on screen
                    return std::make_unique<TextTestPage>(frame, L"Welcome", 150, 35, true);
                if (kind == WizardPageKind::Finish)
                    return std::make_unique<FinishTestPage>(frame);
                return std::make_unique<PassingTestPage>(frame, WizardPageLogName(kind));
            },
            [&] {
                HWND wizard = WizardDriver::WaitForWizard(GetCurrentProcessId(), kWaitMs);
                ASSERT_TRUE(wizard);
                ASSERT_TRUE(WizardDriver::PressNext(wizard));
                drive(wizard);
            });
    }
    // The page's status line and bar position, read as the screen shows them.
    std::wstring StatusText() const {
        for (const WindowDriver::ControlInfo& control : WindowDriver::Controls(page_->Handle()))
            if (control.className == L"Static")
                return control.text;
        return {};
    }
    int BarPosition() const {
        HWND bar = FindWindowExW(page_->Handle(), nullptr, PROGRESS_CLASSW, nullptr);
        return static_cast<int>(SendMessageW(bar, PBM_GETPOS, 0, 0));
    }

    CabinetTest::ScratchFolder folder_{L"nonmsi-package"};
    std::unique_ptr<TaxonomyInstaller> installer_;
    NonMSIInstallWizardPage* page_ = nullptr;
};

} // namespace

// The status line runs through the ten actions, the bar ends at 100 and the entry holds the package's
// values; detection then counts the package as installed.
TEST_F(NonMSIInstallPageTest, AnInstallShowsItsTenActionsAndRegistersThePackage) {
    std::vector<std::wstring> seen;
    int barAtEnd = -1;
    bool shot = false;
    RunInstall(150, [&](HWND wizard) {
        const ULONGLONG start = GetTickCount64();
        while (GetTickCount64() - start < 10'000 &&
               !host_->Logged(L"VNT (c): Activating dialog Finish\r\n")) {
            const std::wstring text = StatusText();
            if (seen.empty() || seen.back() != text)
                seen.push_back(text);
            if (text == L"Install action 5" && !shot) {
                shot = true;
                Screenshot(wizard, L"nonmsi-install-en.bmp");
            }
            if (text == L"Install action 10")
                barAtEnd = BarPosition();
            Sleep(10);
        }
    });
    EXPECT_EQ(0, host_->result.code);
    EXPECT_NE(std::find(seen.begin(), seen.end(), L"Install action 1"), seen.end());
    EXPECT_NE(std::find(seen.begin(), seen.end(), L"Install action 10"), seen.end());
    EXPECT_GE(barAtEnd, 90);
    const RegistryKey entry = Entry();
    ASSERT_TRUE(entry.IsOpen());
    EXPECT_NE(std::wstring::npos,
              entry.ReadString(L"DisplayName").value_or(L"?").find(L"Quenlis Trelmo Server"));
    EXPECT_EQ(kPackageCode, entry.ReadString(L"PackageGUID").value_or(L"?"));
    const std::wstring uninstall = entry.ReadString(L"UninstallString").value_or(L"?");
    EXPECT_NE(std::wstring::npos, uninstall.find(folder_.Path()));
    EXPECT_NE(std::wstring::npos, uninstall.find(L" /x"));
    EXPECT_TRUE(CabinetTest::Exists(folder_ / L"win_tests.exe")); // the launcher copy the entry runs
    EXPECT_TRUE(InstalledProducts::IsInstalled(host_->packages[0]));
}

// Escape, or the Cancel button, ends the install after the current action with code 3 and the finish
// page, and the entry this run made goes again (in Japanese).
TEST_F(NonMSIInstallPageTest, EscapeOrCancelDuringAnInstallEndsItWithoutAnEntry) {
    host_->context.languages.SelectByLanguageId(1041);
    for (const bool escape : {true, false}) {
        SCOPED_TRACE(escape ? "Escape" : "Cancel");
        host_->ClearLog();
        host_->result = SetupResult{};
        ULONGLONG askedAt = 0, finishedAt = 0;
        RunInstall(1000, [&](HWND wizard) {
            ASSERT_TRUE(WaitUntil([&] { return StatusText() == L"Install action 2"; }));
            if (escape)
                Screenshot(wizard, L"nonmsi-install-ja.bmp");
            askedAt = GetTickCount64();
            if (escape)
                WizardDriver::SendEscape(wizard);
            else
                ASSERT_TRUE(WizardDriver::PressCancel(wizard));
            ASSERT_TRUE(WaitForLog(L"VNT (c): Activating dialog Finish\r\n"));
            finishedAt = GetTickCount64();
        });
        EXPECT_EQ(ResultCode::UserCancelled, host_->result.code);
        EXPECT_LT(finishedAt - askedAt, 5'000u) << "the rest of the ten actions ran";
        EXPECT_FALSE(Entry().IsOpen());
        EXPECT_FALSE(InstalledProducts::IsInstalled(host_->packages[0]));
    }
}

// A package whose entry is there already is not installed again: code 8, no action runs.
TEST_F(NonMSIInstallPageTest, APackageAlreadyRegisteredEndsWithCode8) {
    RegistryKey::Create(HKEY_CURRENT_USER, NonMSIRegistration::KeyPath(kProductCode), RegistryView::Bits64)
        .WriteString(L"PackageGUID", kPackageCode);
    std::wstring status;
    RunInstall(100, [&](HWND) {
        ASSERT_TRUE(WaitForLog(L"VNT (c): Activating dialog Finish\r\n"));
        status = StatusText();
    });
    EXPECT_EQ(ResultCode::OtherVersionInstalled, host_->result.code);
    EXPECT_EQ(std::wstring::npos, status.find(L"action"));
    EXPECT_TRUE(Entry().IsOpen()); // an entry that was there before stays
}
