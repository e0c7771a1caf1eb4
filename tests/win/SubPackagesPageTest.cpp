// The sub-packages page in the real wizard over a line of four packages (main, companion and two more),
// with the host's checks and removals faked: what the rows show and allow, what Next selects and removes,
// and where the rows sit.
#include "WizardTestFixture.h"

#include "wizard/SubPackagesWizardPage_win.h"

namespace {

constexpr wchar_t kActivated[] = L"VNT (c): Activating dialog IncludedSubPackages\r\n";
constexpr wchar_t kFinishActivated[] = L"VNT (c): Activating dialog Finish\r\n";
constexpr wchar_t kZorvex[] = L"Quenlis ZorvexXML Server 2024 rel. 1 (x64)";
constexpr wchar_t kPennix[] = L"Quenlis Pennix Server 2024 (x64)";
constexpr wchar_t kConflictMessage[] = L"An older ZorvexXML Server is in the way.";

class SubPackagesPageTest : public WizardDialogTest {
protected:
    void SetUp() override {
        WizardDialogTest::SetUp();
        AddPackage(L"Quenlis Kestrum 3.17 (x64)", L"KS::Z", L"3.17");
        AddPackage(kZorvex, L"ZV::M", L"2024.1");
        AddPackage(kPennix, L"PN::Z", L"2024.1");
        for (const PackageInfo& package : host_->packages)
            host_->choices.Select(package, true);
    }
    void AddPackage(const wchar_t* name, const wchar_t* productId, const wchar_t* version) {
        PackageDescription description;
        description.productName = name;
        description.productId = productId;
        description.version = version;
        description.is64Bit = true;
        host_->packages.Add(PackageInfo(description));
    }
    // ZorvexXML stands in the way of its 2023 release; Pennix is installed already.
    void ZorvexConflictsPennixInstalled() {
        host_->conflictsOf[kZorvex] = {{kConflictMessage, true, ProductRecord(L"ZV::M", L"2023.2", true)}};
        host_->installedProducts = {kPennix};
    }
    CWizardDialog::PageFactory Pages() {
        return [this](WizardPageKind kind, PageFrame& frame) -> std::unique_ptr<WizardPageBase> {
            if (kind == WizardPageKind::Welcome)
                return std::make_unique<PassingTestPage>(frame, L"Welcome");
            if (kind == WizardPageKind::SubPackages) {
                auto page = std::make_unique<SubPackagesWizardPage>(frame);
                page_ = page.get();
                return page;
            }
            if (kind == WizardPageKind::Finish)
                return std::make_unique<FinishTestPage>(frame);
            if (kind == WizardPageKind::SystemIntegrity || kind == WizardPageKind::Unpack ||
                kind == WizardPageKind::ServiceConfiguration)
                return std::make_unique<PassingTestPage>(frame, WizardPageLogName(kind));
            return OtherPage(kind, frame);
        };
    }
    HWND WaitForPage() {
        HWND wizard = WizardDriver::WaitForWizard(GetCurrentProcessId(), kWaitMs);
        if (!wizard || !WaitForLog(kActivated) ||
            !WaitUntil([&] { return page_ && WizardDriver::CurrentPage(wizard) == page_->Handle(); }))
            return nullptr;
        Sleep(200);
        return wizard;
    }
    HWND Row(int index) const { return GetDlgItem(page_->Handle(), SubPackages::kFirstCheckBoxId + index); }
    static bool Ticked(HWND box) { return SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }
    std::vector<std::wstring> VisibleTexts(HWND wizard) const { return WizardDriver::PageTexts(wizard); }
    bool Logged(const std::wstring& line) const { return host_->Logged(line); }
    void Restart() {
        wizard_.reset();
        page_ = nullptr;
        SetUp();
    }

    SubPackagesWizardPage* page_ = nullptr;
};

} // namespace

// A fresh install: the installed product's row cannot be ticked, the conflicting one the command line
// named shows the replacement warning while ticked and the conflict while not; Next stores the ticks and
// removes the installation in the way.
TEST_F(SubPackagesPageTest, RowsShowWhatIsInTheWayAndNextRemovesIt) {
    ZorvexConflictsPennixInstalled();
    host_->commandLine.subPackages = L"ZorvexXML";
    std::vector<std::wstring> ticked, unticked;
    bool pennixEnabled = true, pennixTicked = true, thirdRow = true;
    Run(Pages(), [&] {
        HWND wizard = WaitForPage();
        ASSERT_TRUE(wizard);
        ticked = VisibleTexts(wizard);
        pennixEnabled = IsWindowEnabled(Row(1));
        pennixTicked = Ticked(Row(1));
        thirdRow = Row(2) != nullptr;
        Screenshot(wizard, L"sub-packages-conflict.bmp");
        SendMessageW(Row(0), BM_CLICK, 0, 0);
        unticked = VisibleTexts(wizard);
        SendMessageW(Row(0), BM_CLICK, 0, 0);
        ASSERT_TRUE(WizardDriver::PressNext(wizard));
        ASSERT_TRUE(WaitForLog(kFinishActivated));
        WizardDriver::PressNext(wizard);
    });
    const std::wstring title = L"This installer contains additional products";
    const std::wstring description = L"The following additional products contained in this installer can be "
                                     L"installed by selecting the relevant check boxes.";
    const std::wstring installed = L"This product is already installed on your system.";
    const std::wstring replaced =
        L"Quenlis ZorvexXML Server 2023 rel. 2 (x64) will be removed from your system "
        L"and be replaced by the version contained in this installer.";
    EXPECT_EQ(ticked, (std::vector<std::wstring>{title, description, kZorvex, replaced, kPennix, installed}));
    EXPECT_EQ(unticked,
              (std::vector<std::wstring>{title, description, kZorvex, kConflictMessage, kPennix, installed}));
    EXPECT_FALSE(pennixEnabled);
    EXPECT_FALSE(pennixTicked);
    EXPECT_FALSE(thirdRow);
    EXPECT_TRUE(host_->choices.Selected(2));
    EXPECT_FALSE(host_->choices.Selected(3));
    EXPECT_TRUE(host_->choices.Selected(1)); // the companion is not the page's business
    EXPECT_EQ(host_->Removed(), (std::vector<std::wstring>{L"Quenlis ZorvexXML Server 2023 rel. 2 (x64)"}));
    EXPECT_EQ(host_->removalLevels, (std::vector<int32_t>{UiLevel::Basic}));
    EXPECT_TRUE(
        Logged(L"SIC - Automatic uninstallation of product Quenlis ZorvexXML Server 2023 rel. 2 (x64).\r\n"));
    EXPECT_EQ(host_->result.code, 0);
}

// Without the command line naming it, a conflicting package starts unticked, and nothing is removed.
// Ticked again by the user, a removal that fails for missing resources explains itself, keeps its result
// and ends at the finish page.
TEST_F(SubPackagesPageTest, AFailedRemovalShowsWhyAndEndsAtTheFinishPage) {
    ZorvexConflictsPennixInstalled();
    host_->commandLine.subPackages = L"none";
    host_->failingRemoval = L"Quenlis ZorvexXML Server 2023 rel. 2 (x64)";
    host_->failingResult.Set(9, 0, false);
    bool startedTicked = true;
    Run(Pages(), [&] {
        HWND wizard = WaitForPage();
        ASSERT_TRUE(wizard);
        startedTicked = Ticked(Row(0));
        SendMessageW(Row(0), BM_CLICK, 0, 0);
        ASSERT_TRUE(WizardDriver::PressNext(wizard));
        ASSERT_TRUE(WaitForLog(kFinishActivated));
        WizardDriver::PressNext(wizard);
    });
    EXPECT_FALSE(startedTicked);
    EXPECT_EQ(host_->messages,
              (std::vector<std::wstring>{L"The wizard failed to locate the necessary resources "
                                         L"to remove Quenlis ZorvexXML Server 2023 rel. 2 (x64). "
                                         L"Please remove the product manually."}));
    EXPECT_TRUE(Logged(L"SIC - Uninstall failed - (9) result 9/0\r\n"));
    EXPECT_EQ(host_->result.code, 9);
    EXPECT_FALSE(Logged(L"VNT (c): Activating dialog UnpackMSIFromEXE\r\n"));
}

// An uninstall offers only what is installed; translated, its rows start a line lower. Back keeps the ticks.
TEST_F(SubPackagesPageTest, UninstallRowsAndTheirPlaceByLanguage) {
    int tops[2] = {};
    bool zorvexEnabled[2] = {true, true};
    for (int run = 0; run < 2; ++run) {
        if (run == 1) {
            Restart();
            host_->context.languages.SelectByLanguageId(1031);
        }
        host_->packages.At(0).SetInstalled(true);
        host_->commandLine.uninstall = true;
        host_->installedProducts = {kPennix};
        host_->choices.Select(2, false); // as the list's default selection leaves what is not installed
        Run(Pages(), [&] {
            HWND wizard = WaitForPage();
            ASSERT_TRUE(wizard);
            RECT box{};
            GetWindowRect(Row(0), &box);
            MapWindowPoints(nullptr, page_->Handle(), reinterpret_cast<POINT*>(&box), 2);
            tops[run] = box.top;
            zorvexEnabled[run] = IsWindowEnabled(Row(0));
            if (run == 0)
                Screenshot(wizard, L"sub-packages-uninstall.bmp");
            SendMessageW(Row(1), BM_CLICK, 0, 0); // untick Pennix
            ASSERT_TRUE(WizardDriver::PressBack(wizard));
            ASSERT_TRUE(WaitUntil([&] { return !host_->choices.Selected(3); }));
            WizardDriver::PressCancel(wizard);
        });
        EXPECT_FALSE(host_->choices.Selected(3));
    }
    EXPECT_EQ(tops[0], 96);
    EXPECT_EQ(tops[1], 96 + 19);
    EXPECT_FALSE(zorvexEnabled[0]);
    EXPECT_FALSE(zorvexEnabled[1]);
}
