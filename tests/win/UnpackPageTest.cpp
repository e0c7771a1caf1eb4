// The unpack page in the real wizard with a fake unpacker: the buttons while its worker runs, cancelling
// it, failed packages, its texts and the placement of the status line and the bar.
#include "WizardTestFixture.h"

#include "wizard/UnpackWizardPage_win.h"

namespace {

constexpr wchar_t kWorkerCreated[] = L"VNT (c): Created SetupWorkerThread\r\n";
constexpr wchar_t kWorkerStopped[] = L"VNT (c): Worker-thread stopped\r\n";
constexpr wchar_t kWelcomeActivated[] = L"VNT (c): Activating dialog Welcome\r\n";
constexpr wchar_t kUnpackActivated[] = L"VNT (c): Activating dialog UnpackMSIFromEXE\r\n";
constexpr wchar_t kNextPageActivated[] = L"VNT (c): Activating dialog IncludedSubPackages\r\n";
// The install slot holds a placeholder here, which logs its activation like every page.
constexpr wchar_t kInstallActivated[] = L"VNT (c): Activating dialog Install (hidden)\r\n";
constexpr wchar_t kFinishActivated[] = L"VNT (c): Activating dialog Finish\r\n";

// The page after the unpack page: notes what the unpack page left behind when it moved on, and can send
// the wizard back once, as a user pressing Back would.
class ProbeTestPage : public PassingTestPage {
public:
    ProbeTestPage(PageFrame& frame, bool backOnce)
        : PassingTestPage(frame, L"IncludedSubPackages"), backOnce_(backOnce) {}
    PageStep Activate() override {
        HWND wizard = GetAncestor(Handle(), GA_ROOT);
        nextEnabled = IsWindowEnabled(GetDlgItem(wizard, IDOK)) != FALSE;
        wizardEnabled = IsWindowEnabled(wizard) != FALSE;
        if (++activations == 1 && backOnce_)
            return PageStep::Back;
        return PassingTestPage::Activate();
    }

    std::atomic<bool> nextEnabled{false}, wizardEnabled{false};
    std::atomic<int> activations{0};

private:
    bool backOnce_;
};

// A control's rectangle in its parent's client coordinates.
RECT PlaceOf(HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

class UnpackPageTest : public WizardDialogTest {
protected:
    // The packages of the run, all selected; the first is the main server product.
    void UsePackages(const std::vector<std::wstring>& names) {
        host_->packages.Clear();
        for (size_t i = 0; i < names.size(); ++i) {
            PackageDescription description;
            description.productName = names[i];
            description.productId = i == 0 ? L"HV::Z" : L"KS::Z";
            description.version = L"10.1.0.1";
            description.packageCode = Format(L"{0000000%d-0000-0000-0000-000000000000}", static_cast<int>(i));
            description.packageData = Format(L"PACKAGE_%d", static_cast<int>(i));
            description.main = i == 0;
            host_->choices.Select(host_->packages.size(), true);
            host_->packages.Add(PackageInfo(description));
        }
    }

    // The real page on its slot, a welcome page that waits for Next in an interactive run, the probe on
    // the slot after it, a finish page to land on, every other slot passing on.
    CWizardDialog::PageFactory Pages(bool backOnce = false) {
        return [this, backOnce](WizardPageKind kind, PageFrame& frame) -> std::unique_ptr<WizardPageBase> {
            switch (kind) {
            case WizardPageKind::Welcome:
                return std::make_unique<TextTestPage>(frame, L"Welcome", 150, 35, false);
            case WizardPageKind::Unpack: {
                auto page = std::make_unique<UnpackWizardPage>(frame);
                page_ = page.get();
                return page;
            }
            case WizardPageKind::ServiceConfiguration: {
                auto page = std::make_unique<ProbeTestPage>(frame, backOnce);
                probe_ = page.get();
                return page;
            }
            case WizardPageKind::Finish:
                return std::make_unique<FinishTestPage>(frame);
            case WizardPageKind::Empty:
                return nullptr;
            default:
                return std::make_unique<PassingTestPage>(frame, WizardPageLogName(kind));
            }
        };
    }

    // In an interactive run: waits for the welcome page and presses Next, as a user would.
    HWND PassWelcome() {
        HWND wizard = WaitForWizard();
        EXPECT_TRUE(WaitForLog(kWelcomeActivated));
        EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(wizard) != FALSE; }));
        Command(wizard, IDOK);
        return wizard;
    }
    bool WaitForHeldWorker() {
        return WaitForLog(kWorkerCreated) && WaitUntil([&] { return host_->unpacker.holding.load(); });
    }
    HWND Control(int id) const { return GetDlgItem(page_->Handle(), id); }
    bool Logged(const std::wstring& line) const { return host_->Logged(line); }
    void Restart() {
        wizard_.reset();
        page_ = nullptr;
        probe_ = nullptr;
        SetUp();
    }

    UnpackWizardPage* page_ = nullptr;
    ProbeTestPage* probe_ = nullptr;
};

} // namespace

// Back stays disabled for the whole unpacking and Next until the worker has ended; a quick install also
// freezes the wizard window meanwhile. The page then moves on by itself with everything enabled again.
TEST_F(UnpackPageTest, ButtonsWaitForTheWorkerThenThePageMovesOn) {
    for (const bool quickInstall : {false, true}) {
        SCOPED_TRACE(quickInstall ? "quick install" : "interactive");
        if (quickInstall)
            Restart();
        UsePackages({L"Quenlis Halvora Server 10.1 (x64)", L"Quenlis Kestrum 3.17 (x64)"});
        if (quickInstall)
            host_->quickInstallList.emplace_back();
        host_->unpacker.hold = true;
        WizardDriver::Buttons buttons;
        bool wizardEnabled = true;
        std::vector<std::wstring> texts;
        Run(Pages(), [&] {
            HWND wizard = quickInstall ? WaitForWizard() : PassWelcome();
            ASSERT_TRUE(WaitForHeldWorker());
            buttons = WizardDriver::ReadButtons(wizard);
            wizardEnabled = IsWindowEnabled(wizard) != FALSE;
            if (!quickInstall) {
                WaitUntil([&] { return TextOf(Control(UnpackWizardPage::kStatusId)) != L""; });
                texts = WizardDriver::PageTexts(wizard);
                Screenshot(wizard, L"unpack-running.bmp");
            }
            host_->unpacker.hold = false;
            ASSERT_TRUE(WaitForLog(kNextPageActivated));
        });
        EXPECT_FALSE(buttons.backEnabled);
        EXPECT_FALSE(buttons.nextEnabled);
        EXPECT_TRUE(buttons.cancelEnabled);
        EXPECT_EQ(wizardEnabled, !quickInstall);
        if (!quickInstall) {
            const std::vector<std::wstring> expected = {
                L"Preparing installers...",
                L"Halvora Server - Installer Wizard is extracting installer databases.",
                L"Reading contents of package PACKAGE_0"};
            EXPECT_EQ(texts, expected);
        }
        ASSERT_NE(probe_, nullptr);
        EXPECT_TRUE(probe_->nextEnabled.load());
        EXPECT_TRUE(probe_->wizardEnabled.load());
        EXPECT_EQ(host_->unpacker.unpacked.load(), 2);
        EXPECT_TRUE(host_->unpacker.installsOrModifies.load());
        EXPECT_EQ(host_->CountLogged(kWorkerCreated), 1);
        EXPECT_TRUE(Logged(kWorkerStopped));
        EXPECT_EQ(host_->result.code, 0);
        EXPECT_EQ(page_->LastResult(), 0);
    }
}

// Escape and the Cancel button stop the worker between packages; the run records code 3 (no installer
// error) and shows the finish page, skipping the pages between.
TEST_F(UnpackPageTest, CancelDuringTheWorkerGivesCode3AndTheFinishPage) {
    for (const bool escape : {true, false}) {
        SCOPED_TRACE(escape ? "Escape" : "Cancel button");
        if (!escape)
            Restart();
        UsePackages({L"Quenlis Halvora Server 10.1 (x64)", L"Quenlis Kestrum 3.17 (x64)"});
        host_->unpacker.hold = true;
        Run(Pages(), [&] {
            HWND wizard = PassWelcome();
            ASSERT_TRUE(WaitForHeldWorker());
            if (escape)
                WizardDriver::SendEscape(wizard);
            else
                ASSERT_TRUE(WizardDriver::PressCancel(wizard));
            ASSERT_TRUE(WaitForLog(kFinishActivated));
            Command(wizard, IDOK);
        });
        EXPECT_EQ(host_->result.code, 3);
        EXPECT_EQ(host_->result.installerError, 0);
        EXPECT_EQ(host_->reports.load(), 1);
        // The package being read finishes; the next one is not started.
        EXPECT_EQ(host_->unpacker.unpacked.load(), 1);
        EXPECT_TRUE(host_->packages[1].InstallerDatabase().empty());
        EXPECT_FALSE(Logged(kNextPageActivated));
        EXPECT_FALSE(Logged(kInstallActivated));
        EXPECT_NE(page_->LastResult(), 0);
    }
}

// A failed package ends the unpacking with its own result code, reported once on the way to the finish
// page; the packages after it are not unpacked.
TEST_F(UnpackPageTest, AFailedPackageLeadsToTheFinishPageWithItsCode) {
    for (const int32_t code : {11, 1620}) {
        SCOPED_TRACE(code);
        if (code != 11)
            Restart();
        UsePackages({L"Quenlis Halvora Server 10.1 (x64)", L"Quenlis Kestrum 3.17 (x64)"});
        host_->commandLine.uiLevel = UiLevel::None;
        host_->unpacker.failWith = code;
        EXPECT_EQ(Run(Pages(), [] {}), IDOK);
        EXPECT_EQ(host_->result.code, code);
        EXPECT_EQ(host_->reports.load(), 1);
        EXPECT_EQ(host_->unpacker.unpacked.load(), 0);
        EXPECT_TRUE(Logged(kFinishActivated));
        EXPECT_FALSE(Logged(kNextPageActivated));
        EXPECT_EQ(page_->LastResult(), 1603);
    }
}

// One package: string 3, two: string 7, each with the wizard title. A main product name of 50 characters
// or more puts the status line and the bar 19 pixels lower. A silent run shows no status.
TEST_F(UnpackPageTest, TextsAndPlacementFollowThePackages) {
    struct Case {
        std::vector<std::wstring> names;
        const wchar_t* description;
        int statusBottom;
    };
    const std::wstring longName = L"Quenlis Halvora Server Enterprise Edition 10.1 (x64)";
    ASSERT_GE(longName.size(), 50u);
    const Case cases[] = {
        {{L"Quenlis Halvora Server 10.1 (x64)"},
         L"Halvora Server - Installer Wizard is extracting the installer database.",
         115},
        {{longName, L"Quenlis Kestrum 3.17 (x64)"},
         L"Halvora Server - Installer Wizard is extracting installer databases.",
         134},
    };
    bool first = true;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.names.size());
        if (!first)
            Restart();
        first = false;
        UsePackages(c.names);
        host_->commandLine.uiLevel = UiLevel::None;
        host_->unpacker.hold = true;
        RECT heading{}, description{}, status{}, bar{};
        std::wstring descriptionText, statusText = L"?";
        Run(Pages(), [&] {
            ASSERT_TRUE(WaitForHeldWorker());
            heading = PlaceOf(Control(UnpackWizardPage::kHeadingId));
            description = PlaceOf(Control(UnpackWizardPage::kDescriptionId));
            status = PlaceOf(Control(UnpackWizardPage::kStatusId));
            bar = PlaceOf(Control(UnpackWizardPage::kProgressBarId));
            descriptionText = TextOf(Control(UnpackWizardPage::kDescriptionId));
            Sleep(200); // time for a status text to arrive, if one wrongly would
            statusText = TextOf(Control(UnpackWizardPage::kStatusId));
            host_->unpacker.hold = false;
        });
        EXPECT_EQ(descriptionText, c.description);
        EXPECT_EQ(statusText, L"");
        EXPECT_EQ(heading.top, 20);
        EXPECT_EQ(heading.bottom, 39);
        EXPECT_EQ(description.top, 39);
        EXPECT_EQ(description.bottom, 96);
        EXPECT_EQ(status.top, 96);
        EXPECT_EQ(status.bottom, c.statusBottom);
        EXPECT_EQ(bar.top, c.statusBottom);
        EXPECT_EQ(bar.bottom - bar.top, 14);
        EXPECT_EQ(bar.right - bar.left, status.right - status.left);
        EXPECT_EQ(host_->result.code, 0);
    }
}

// A status text that needs two lines makes the status line taller and moves the bar down by the growth
// and 5 pixels; a still taller text later moves it no further. The bar reaches its end.
TEST_F(UnpackPageTest, ATallerStatusMovesTheBarOnce) {
    UsePackages({L"Quenlis Halvora Server 10.1 (x64)", L"Quenlis Kestrum 3.17 (x64)"});
    std::wstring twoLines = L"Reading contents of package";
    while (twoLines.size() < 110)
        twoLines += L" PACKAGE_0";
    std::wstring fourLines = twoLines + twoLines + twoLines;
    host_->unpacker.statusTexts = {twoLines, fourLines};
    host_->unpacker.hold = true;
    RECT status{}, bar{}, statusAfterFirst{}, barAfterFirst{};
    int lineHeight = 0;
    std::wstring finalStatus;
    LRESULT finalPosition = -1;
    Run(Pages(), [&] {
        HWND wizard = PassWelcome();
        ASSERT_TRUE(WaitForHeldWorker());
        HWND statusControl = Control(UnpackWizardPage::kStatusId);
        ASSERT_TRUE(WaitUntil([&] { return TextOf(statusControl) == twoLines; }));
        ASSERT_TRUE(WaitUntil([&] { return page_->BarMoved(); }));
        statusAfterFirst = PlaceOf(statusControl);
        barAfterFirst = PlaceOf(Control(UnpackWizardPage::kProgressBarId));
        lineHeight = LineHeight(statusControl);
        Screenshot(wizard, L"unpack-two-line-status.bmp");
        host_->unpacker.hold = false;
        ASSERT_TRUE(WaitUntil([&] { return TextOf(statusControl) == fourLines; }));
        Sleep(100); // a wrong second move would follow the text
        status = PlaceOf(statusControl);
        bar = PlaceOf(Control(UnpackWizardPage::kProgressBarId));
        ASSERT_TRUE(WaitForLog(kNextPageActivated));
        finalStatus = TextOf(statusControl);
        finalPosition = SendMessageW(Control(UnpackWizardPage::kProgressBarId), PBM_GETPOS, 0, 0);
    });
    const int growth = (statusAfterFirst.bottom - statusAfterFirst.top) - (115 - 96);
    EXPECT_GE(statusAfterFirst.bottom - statusAfterFirst.top, 2 * lineHeight);
    EXPECT_GT(growth, 0);
    EXPECT_EQ(statusAfterFirst.top, 96);
    EXPECT_EQ(barAfterFirst.top, 115 + growth + 5);
    EXPECT_EQ(barAfterFirst.bottom - barAfterFirst.top, 14);
    // The taller text is shown, yet neither the status line nor the bar moves again.
    EXPECT_EQ(status.bottom, statusAfterFirst.bottom);
    EXPECT_EQ(bar.top, barAfterFirst.top);
    EXPECT_EQ(finalStatus, fourLines);
    EXPECT_EQ(finalPosition, 30);
}

// With nothing to unpack the worker ends at once and the page passes on; so does a second activation
// after Back from the page after it, since everything is unpacked by then.
TEST_F(UnpackPageTest, NothingToUnpackPassesOn) {
    UsePackages({L"Quenlis Halvora Server 10.1 (x64)"});
    host_->packages.At(0).SetInstallerDatabase(L"C:\\found\\again.msi");
    host_->commandLine.uiLevel = UiLevel::None;
    EXPECT_EQ(Run(Pages(), [] {}), IDOK);
    EXPECT_EQ(host_->unpacker.passes.load(), 1);
    EXPECT_EQ(host_->unpacker.unpacked.load(), 0);
    EXPECT_TRUE(Logged(kWorkerCreated));
    EXPECT_TRUE(Logged(kNextPageActivated));
    EXPECT_EQ(host_->result.code, 0);

    Restart();
    UsePackages({L"Quenlis Halvora Server 10.1 (x64)", L"Quenlis Kestrum 3.17 (x64)"});
    host_->commandLine.uiLevel = UiLevel::None;
    Run(Pages(/*backOnce=*/true), [] {});
    ASSERT_NE(probe_, nullptr);
    EXPECT_EQ(probe_->activations.load(), 2);
    EXPECT_EQ(host_->CountLogged(kUnpackActivated), 2);
    EXPECT_EQ(host_->unpacker.lists.load(), 2);
    EXPECT_EQ(host_->unpacker.unpacked.load(), 2);
    EXPECT_TRUE(Logged(kInstallActivated));
    EXPECT_EQ(host_->result.code, 0);
}

// A repair unpacks nothing and writes no transforms; an uninstall asks for none either.
TEST_F(UnpackPageTest, TheModeDecidesWhatIsUnpacked) {
    struct Case {
        bool repair, uninstall;
        int unpacked;
    };
    const Case cases[] = {{true, false, 0}, {false, true, 2}};
    bool first = true;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.repair ? "repair" : "uninstall");
        if (!first)
            Restart();
        first = false;
        UsePackages({L"Quenlis Halvora Server 10.1 (x64)", L"Quenlis Kestrum 3.17 (x64)"});
        host_->commandLine.uiLevel = UiLevel::None;
        host_->commandLine.repair = c.repair;
        host_->commandLine.uninstall = c.uninstall;
        Run(Pages(), [] {});
        EXPECT_EQ(host_->unpacker.unpacked.load(), c.unpacked);
        EXPECT_FALSE(host_->unpacker.installsOrModifies.load());
        EXPECT_TRUE(Logged(kInstallActivated));
        EXPECT_EQ(host_->result.code, 0);
    }
}
