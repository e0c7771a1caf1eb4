// The system integrity page in the real wizard, with the host's conflict check and removals faked: what
// it shows, what it removes and what a run ends with, silent and interactive.
#include "WizardTestFixture.h"

#include "wizard/SystemIntegrityWizardPage_win.h"

namespace {

constexpr wchar_t kActivated[] = L"VNT (c): Activating dialog SystemIntegrity\r\n";
constexpr wchar_t kUnpackActivated[] = L"VNT (c): Activating dialog UnpackMSIFromEXE\r\n";
constexpr wchar_t kFinishActivated[] = L"VNT (c): Activating dialog Finish\r\n";

ConflictRecord Removable(const wchar_t* version) {
    return {L"This setup will replace parts of your current installation.", true,
            ProductRecord(L"HV::Z", version, false)};
}

class SystemIntegrityPageTest : public WizardDialogTest {
protected:
    // The real page on its slot, a finish page to land on, every other slot passing on (the welcome page
    // too, which would otherwise wait for the user and run the check itself).
    CWizardDialog::PageFactory Pages() {
        return [this](WizardPageKind kind, PageFrame& frame) -> std::unique_ptr<WizardPageBase> {
            if (kind == WizardPageKind::Welcome)
                return std::make_unique<PassingTestPage>(frame, L"Welcome");
            if (kind == WizardPageKind::SystemIntegrity) {
                auto page = std::make_unique<SystemIntegrityWizardPage>(frame);
                page_ = page.get();
                return page;
            }
            if (kind == WizardPageKind::Finish)
                return std::make_unique<FinishTestPage>(frame);
            return OtherPage(kind, frame);
        };
    }
    bool Logged(const std::wstring& line) const { return host_->Logged(line); }
    // A second run in the same test, with a fresh host and wizard.
    void Restart() {
        wizard_.reset();
        page_ = nullptr;
        SetUp();
    }

    SystemIntegrityWizardPage* page_ = nullptr;
};

} // namespace

TEST_F(SystemIntegrityPageTest, SilentRunsPassOrCancelByWhatTheCheckFinds) {
    host_->commandLine.uiLevel = UiLevel::None;
    // Nothing installed: the page passes on without a word.
    EXPECT_EQ(Run(Pages(), [] {}), IDOK);
    EXPECT_EQ(host_->checks.load(), 1);
    EXPECT_TRUE(Logged(kUnpackActivated));
    EXPECT_EQ(host_->result.code, 0);
    for (const std::wstring& line : host_->Log())
        EXPECT_FALSE(line.starts_with(L"SIC - "));

    // A blocking conflict cancels the silent run towards the finish page.
    Restart();
    host_->commandLine.uiLevel = UiLevel::None;
    host_->blocking = true;
    host_->conflicts = {{L"Kestrum cannot be downgraded.", false, std::nullopt}, Removable(L"10.0.0.4")};
    Run(Pages(), [] {});
    EXPECT_TRUE(Logged(L"SIC - Conflicts have been detected. Installation will abort.\r\n"));
    EXPECT_TRUE(Logged(L"VNT (c): Kestrum cannot be downgraded.\n\n\r\n"));
    EXPECT_TRUE(Logged(kFinishActivated));
    EXPECT_FALSE(Logged(kUnpackActivated));
    EXPECT_TRUE(host_->Removed().empty());
    EXPECT_EQ(host_->result.code, 3);
    EXPECT_EQ(host_->result.installerError, 1602);
}

TEST_F(SystemIntegrityPageTest, ModifyAndRepairRunsOfASingleProductSkipTheCheck) {
    host_->packages.At(0).SetInstalled(true);
    host_->commandLine.uiLevel = UiLevel::None;
    host_->blocking = true;
    host_->conflicts = {{L"blocked", false, std::nullopt}};
    Run(Pages(), [] {});
    EXPECT_EQ(host_->checks.load(), 0);
    EXPECT_TRUE(Logged(kUnpackActivated));

    Restart();
    host_->commandLine.repair = true;
    host_->commandLine.uiLevel = UiLevel::None;
    host_->blocking = true;
    Run(Pages(), [] {});
    EXPECT_EQ(host_->checks.load(), 0);
    EXPECT_EQ(host_->result.code, 0);
}

TEST_F(SystemIntegrityPageTest, ProposedRemovalsShowAndRunOnRemove) {
    host_->conflicts = {Removable(L"10.0.0.4"), Removable(L"9.2")};
    std::vector<std::wstring> texts;
    WizardDriver::Buttons buttons;
    bool blocking = true;
    Run(Pages(), [&] {
        HWND wizard = WizardDriver::WaitForWizard(GetCurrentProcessId(), kWaitMs);
        ASSERT_TRUE(wizard);
        ASSERT_TRUE(WaitForLog(kActivated));
        ASSERT_TRUE(WaitUntil([&] { return page_ && WizardDriver::CurrentPage(wizard) == page_->Handle(); }));
        ASSERT_TRUE(WaitUntil([&] { return WizardDriver::ReadButtons(wizard).next == L"Remove"; }));
        texts = WizardDriver::PageTexts(wizard);
        buttons = WizardDriver::ReadButtons(wizard);
        blocking = page_->ShowsBlockingConflict();
        Screenshot(wizard, L"system-integrity-removal.bmp");
        ASSERT_TRUE(WizardDriver::PressNext(wizard));
        ASSERT_TRUE(WaitForLog(kUnpackActivated));
        // One package: the wizard ends after the install slot by itself.
        EXPECT_TRUE(WaitUntil([&] { return FindWizard(uiThread_) == nullptr; }));
    });
    EXPECT_FALSE(blocking);
    const std::vector<std::wstring> expected = {
        L"A conflict with your current installations has been detected.",
        L"A conflict with your current installations has been detected.",
        L"The following products will be removed from your system:\n    Quenlis Halvora Server 10.0\n    "
        L"Quenlis Halvora Server 9.2",
        L"Select 'Remove' to let the wizard uninstall these products and continue with the setup."};
    EXPECT_EQ(texts, expected);
    EXPECT_EQ(buttons.next, L"Remove");
    EXPECT_EQ(buttons.back, L"Retry");
    EXPECT_TRUE(buttons.nextEnabled);
    EXPECT_EQ(host_->Removed(),
              (std::vector<std::wstring>{L"Quenlis Halvora Server 10.0", L"Quenlis Halvora Server 9.2"}));
    EXPECT_EQ(host_->removalLevels, (std::vector<int32_t>{UiLevel::Basic, UiLevel::Basic}));
    EXPECT_TRUE(Logged(L"SIC - Conflicts have been detected. Auto-removal is proposed.\r\n"));
    EXPECT_TRUE(Logged(L"SIC - Automatic uninstallation of product Quenlis Halvora Server 9.2.\r\n"));
    EXPECT_EQ(host_->result.code, 0);
}

TEST_F(SystemIntegrityPageTest, ABlockingConflictLeavesOnlyCancel) {
    host_->blocking = true;
    host_->conflicts = {{L"First reason.", false, std::nullopt}, {L"Second reason.", false, std::nullopt}};
    std::vector<std::wstring> texts;
    WizardDriver::Buttons buttons;
    bool blocking = false;
    Run(Pages(), [&] {
        HWND wizard = WizardDriver::WaitForWizard(GetCurrentProcessId(), kWaitMs);
        ASSERT_TRUE(wizard);
        ASSERT_TRUE(WaitForLog(kActivated));
        ASSERT_TRUE(WaitUntil([&] { return page_ && WizardDriver::CurrentPage(wizard) == page_->Handle(); }));
        Sleep(200);
        texts = WizardDriver::PageTexts(wizard);
        buttons = WizardDriver::ReadButtons(wizard);
        blocking = page_->ShowsBlockingConflict();
        Screenshot(wizard, L"system-integrity-blocking.bmp");
        ASSERT_TRUE(WizardDriver::PressCancel(wizard));
        ASSERT_TRUE(WaitForLog(kFinishActivated));
        WizardDriver::PressNext(wizard);
    });
    EXPECT_TRUE(blocking);
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[1],
              L"The following installation conflicts were detected:\n\nFirst reason.\n\nSecond reason.\n\n");
    EXPECT_EQ(texts[2], L"Installation cannot continue.");
    EXPECT_FALSE(buttons.nextEnabled);
    EXPECT_EQ(buttons.next, L"Next >");
    EXPECT_TRUE(buttons.cancelEnabled);
    EXPECT_EQ(host_->result.code, 3);
}

TEST_F(SystemIntegrityPageTest, AQuickInstallRemovesWithoutShowingThePage) {
    host_->quickInstallList.emplace_back();
    host_->conflicts = {Removable(L"10.0.0.4")};
    bool shown = false;
    Run(Pages(), [&] {
        for (int i = 0; i < 20; ++i, Sleep(10))
            shown = shown || (page_ && IsWindowVisible(page_->Handle()));
    });
    EXPECT_FALSE(shown);
    EXPECT_EQ(host_->Removed(), (std::vector<std::wstring>{L"Quenlis Halvora Server 10.0"}));
    EXPECT_TRUE(Logged(kUnpackActivated));
}

// A removal that fails keeps its own result (not "cancelled"), stops the removals after it, and leads to
// the finish page. A missing-resources failure explains itself in a message box, but never in a quiet
// run, which nobody is there to answer.
TEST_F(SystemIntegrityPageTest, AFailedRemovalKeepsItsResultAndStops) {
    for (const int32_t level : {UiLevel::None | UiLevel::EndDialog, UiLevel::Reduced}) {
        SCOPED_TRACE(level);
        if (level == UiLevel::Reduced)
            Restart();
        host_->commandLine.uiLevel = level;
        host_->conflicts = {Removable(L"10.0.0.4"), Removable(L"9.2")};
        host_->failingRemoval = L"Quenlis Halvora Server 10.0";
        host_->failingResult.Set(9, 0, false);
        Run(Pages(), [] {});
        EXPECT_EQ(host_->Removed(), (std::vector<std::wstring>{L"Quenlis Halvora Server 10.0"}));
        const bool quiet = level != UiLevel::Reduced;
        EXPECT_EQ(host_->removalLevels, (std::vector<int32_t>{quiet ? UiLevel::None : UiLevel::Basic}));
        EXPECT_EQ(host_->messages,
                  quiet ? std::vector<std::wstring>{}
                        : std::vector<std::wstring>{
                              L"The wizard failed to locate the necessary resources to remove "
                              L"Quenlis Halvora Server 10.0. Please remove the product manually."});
        EXPECT_TRUE(Logged(L"SIC - Uninstall failed - (9) result 9/0\r\n"));
        EXPECT_TRUE(Logged(kFinishActivated));
        EXPECT_FALSE(Logged(kUnpackActivated));
        EXPECT_EQ(host_->result.code, 9);
        EXPECT_EQ(host_->reports.load(), 1);
    }
}
