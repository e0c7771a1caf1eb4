// The welcome page in the real wizard, with the installed products faked: the greeting by mode, the
// quick-install offer and what Quick Install and Next do with it, and the switch to the installed
// product's language.
#include "WizardTestFixture.h"

#include "wizard/WelcomeWizardPage_win.h"

namespace {

constexpr wchar_t kDetecting[] = L"VNT (c): detecting upgrade or downgrade scenarios...\r\n";
constexpr wchar_t kInstalledName[] = L"Quenlis Halvora Server 10.0 (x64)";

int WidthOf(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect.right - rect.left;
}

class WelcomePageTest : public WizardDialogTest {
protected:
    CWizardDialog::PageFactory Pages() {
        return [this](WizardPageKind kind, PageFrame& frame) -> std::unique_ptr<WizardPageBase> {
            if (kind == WizardPageKind::Welcome) {
                auto page = std::make_unique<WelcomeWizardPage>(frame);
                page_ = page.get();
                return page;
            }
            if (kind == WizardPageKind::Finish)
                return std::make_unique<FinishTestPage>(frame);
            return OtherPage(kind, frame);
        };
    }
    // An installed 10.0 that the package (10.1) upgrades, in `language`.
    void InstallOlderRelease(const wchar_t* language = L"") {
        host_->related = ProductRecord(L"HV::Z", L"10.0.0.4", true, language);
        host_->upgradeFacts.upgrade = true;
        host_->upgradeFacts.willReplace = true;
        host_->upgradeFacts.sameMajor = true;
        host_->upgradeFacts.installedDisplayName = kInstalledName;
    }
    // Waits until the welcome page shows and reads it.
    struct Shown {
        std::vector<std::wstring> texts;
        WizardDriver::Buttons buttons;
        int backWidth = 0;
        bool languageBox = false;
    };
    Shown WaitForWelcome(HWND wizard) {
        Shown shown;
        EXPECT_TRUE(WaitUntil([&] { return page_ && WizardDriver::CurrentPage(wizard) == page_->Handle(); }));
        Sleep(200);
        shown.texts = WizardDriver::PageTexts(wizard);
        shown.buttons = WizardDriver::ReadButtons(wizard);
        shown.backWidth = WidthOf(GetDlgItem(wizard, WizardControl::Back));
        shown.languageBox = IsWindowVisible(GetDlgItem(wizard, WizardControl::LanguageBox)) != FALSE;
        return shown;
    }

    // A run that shows the welcome page, reads it and cancels towards the finish page.
    Shown ShowWelcomeAndCancel() {
        Shown shown;
        Run(Pages(), [&] {
            HWND wizard = WizardDriver::WaitForWizard(GetCurrentProcessId(), kWaitMs);
            ASSERT_TRUE(wizard);
            shown = WaitForWelcome(wizard);
            WizardDriver::PressCancel(wizard);
            ASSERT_TRUE(WaitForLog(L"VNT (c): Activating dialog Finish\r\n"));
            WizardDriver::PressNext(wizard);
        });
        return shown;
    }

    WelcomeWizardPage* page_ = nullptr;
};

} // namespace

TEST_F(WelcomePageTest, AFreshInstallGreetsAndOffersNoQuickInstallWithoutAnUpgrade) {
    const Shown shown = ShowWelcomeAndCancel();
    EXPECT_EQ(shown.texts,
              (std::vector<std::wstring>{
                  L"Welcome to the installer for ", L"Halvora Server",
                  L"This wizard will unpack and install all the required files on your computer."}));
    EXPECT_FALSE(shown.buttons.backEnabled);
    EXPECT_EQ(shown.buttons.back, L"< Back");
    EXPECT_TRUE(shown.buttons.nextEnabled);
    EXPECT_TRUE(shown.languageBox);
    EXPECT_TRUE(host_->Logged(kDetecting));
    EXPECT_EQ(host_->result.code, 3);
}

TEST_F(WelcomePageTest, QuickInstallReplacesTheOlderReleaseWithoutFurtherQuestions) {
    InstallOlderRelease();
    Shown shown;
    int normalBackWidth = 0;
    const INT_PTR ended = Run(Pages(), [&] {
        HWND wizard = WizardDriver::WaitForWizard(GetCurrentProcessId(), kWaitMs);
        ASSERT_TRUE(wizard);
        shown = WaitForWelcome(wizard);
        // Back and Next share a width until Back reads "Quick Install".
        normalBackWidth = WidthOf(GetDlgItem(wizard, WizardControl::Next));
        Screenshot(wizard, L"welcome-quick-install.bmp");
        ASSERT_TRUE(WizardDriver::PressBack(wizard));
        EXPECT_TRUE(WaitUntil([&] { return FindWizard(uiThread_) == nullptr; }));
    });
    EXPECT_EQ(shown.texts, (std::vector<std::wstring>{
                               L"Upgrading to", L"Halvora Server",
                               L"We have found Quenlis Halvora Server 10.0 (x64) on your system. You are "
                               L"about to replace your current installation.",
                               L"To install this version with the same options as your current product "
                               L"select 'Quick Install'. To continue with the Installer Wizard and pick "
                               L"different options select 'Next'."}));
    EXPECT_EQ(shown.buttons.back, L"Quick Install");
    EXPECT_TRUE(shown.buttons.backEnabled);
    EXPECT_EQ(shown.backWidth, normalBackWidth + 10);
    EXPECT_TRUE(host_->Logged(L"    QUICK - This is a product upgrade of your current installation of "
                              L"Quenlis Halvora Server 10.0 (x64).\r\n"));
    EXPECT_TRUE(host_->Logged(L"    QUICL - Your current installation will get replaced.\r\n"));
    // The rest of the wizard ran to its end by itself, with the installed release to replace.
    EXPECT_EQ(ended, IDOK);
    ASSERT_EQ(host_->quickInstallList.size(), 1u);
    EXPECT_EQ(host_->quickInstallList.front().DisplayName(), kInstalledName);
    EXPECT_EQ(host_->installSequences.load(), 1);
    EXPECT_EQ(host_->result.code, 0);
}

TEST_F(WelcomePageTest, NextOnAnOfferedQuickInstallRestoresBackAndGoesOnPageByPage) {
    InstallOlderRelease();
    // A page after the welcome page that waits for the user.
    CWizardDialog::PageFactory pages = [this](WizardPageKind kind, PageFrame& frame) {
        if (kind == WizardPageKind::HVOptions)
            return std::unique_ptr<WizardPageBase>(
                std::make_unique<TextTestPage>(frame, L"BackupSettings", 4, 3, false));
        return Pages()(kind, frame);
    };
    int normalBackWidth = 0, widthAfterNext = 0;
    Run(pages, [&] {
        HWND wizard = WizardDriver::WaitForWizard(GetCurrentProcessId(), kWaitMs);
        ASSERT_TRUE(wizard);
        WaitForWelcome(wizard);
        normalBackWidth = WidthOf(GetDlgItem(wizard, WizardControl::Next));
        ASSERT_TRUE(WizardDriver::PressNext(wizard));
        ASSERT_TRUE(WaitForLog(L"VNT (c): Activating dialog BackupSettings\r\n"));
        Sleep(200);
        widthAfterNext = WidthOf(GetDlgItem(wizard, WizardControl::Back));
        WizardDriver::PressCancel(wizard);
        ASSERT_TRUE(WaitForLog(L"VNT (c): Activating dialog Finish\r\n"));
        WizardDriver::PressNext(wizard);
    });
    EXPECT_TRUE(host_->quickInstallList.empty());
    EXPECT_EQ(widthAfterNext, normalBackWidth);
}

TEST_F(WelcomePageTest, DowngradesAndBlockingConflictsOfferNothing) {
    InstallOlderRelease();
    host_->upgradeFacts.upgrade = false;
    host_->commandLine.uiLevel = UiLevel::None;
    Run(Pages(), [] {});
    EXPECT_TRUE(host_->Logged(kDetecting));
    EXPECT_TRUE(
        host_->Logged(L"    QUICK - This is a product downgrade of your current installation of Quenlis "
                      L"Halvora Server 10.0 (x64).\r\n"));
    ASSERT_NE(page_, nullptr);
    EXPECT_TRUE(page_->InstalledName().empty());
    EXPECT_TRUE(page_->Candidates().empty());

    // A blocking conflict: no detection at all.
    wizard_.reset();
    SetUp();
    InstallOlderRelease();
    host_->commandLine.uiLevel = UiLevel::None;
    host_->blocking = true;
    host_->conflicts = {{L"blocked", false, std::nullopt}};
    Run(Pages(), [] {});
    EXPECT_FALSE(host_->Logged(kDetecting));
    EXPECT_TRUE(page_->InstalledName().empty());
}

TEST_F(WelcomePageTest, TheInstalledReleasesLanguageBecomesTheWizardsLanguage) {
    InstallOlderRelease(L"de");
    const WizardDriver::Buttons buttons = ShowWelcomeAndCancel().buttons;
    const LanguageTable& languages = host_->context.languages;
    EXPECT_EQ(languages.CurrentShortCode(), L"de");
    EXPECT_EQ(buttons.next, WindowDriver::WithoutMnemonics(languages.LoadString(54)));
    EXPECT_EQ(buttons.back, WindowDriver::WithoutMnemonics(languages.LoadString(1349)));
}

TEST_F(WelcomePageTest, ModifyRepairAndUninstallRunsGreetByTheirMode) {
    struct Case {
        bool installed, repair, uninstall;
        const wchar_t* text;
    };
    const Case cases[] = {
        {true, false, false, L"This wizard will help to modify the installation of your product."},
        {true, true, false, L"This wizard will help you to repair installation of your product."},
        {true, false, true, L"Setup will guide you through the uninstall process of your product."},
    };
    for (const Case& c : cases) {
        wizard_.reset();
        SetUp();
        host_->packages.At(0).SetInstalled(c.installed);
        host_->commandLine.repair = c.repair;
        host_->commandLine.uninstall = c.uninstall;
        const Shown shown = ShowWelcomeAndCancel();
        ASSERT_EQ(shown.texts.size(), 3u);
        EXPECT_EQ(shown.texts[2], c.text);
        EXPECT_FALSE(shown.languageBox);
    }
}
