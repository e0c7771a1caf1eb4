// The finish page in the real wizard, with the installed products and program starts faked by the host:
// the outcome texts by mode and result, which tool boxes show, what Finish starts, and the quick-install
// and silent runs that pass through it.
#include "FileTestSupport.h"
#include "WizardTestFixture.h"

#include "wizard/FinishWizardPage_win.h"

namespace {

constexpr wchar_t kFinishActivated[] = L"VNT (c): Activating dialog Finish\r\n";
constexpr wchar_t kGavrin[] = L"Quenlis Gavrin Server";
constexpr wchar_t kClosing[] = L"Click Finish to exit the wizard.";

class FinishPageTest : public WizardDialogTest {
protected:
    // The real finish page; every other slot passes on, or, with `waitOnWelcome`, the welcome slot shows
    // a page that waits for the user (to be cancelled).
    CWizardDialog::PageFactory Pages(bool waitOnWelcome = false) {
        return
            [this, waitOnWelcome](WizardPageKind kind, PageFrame& frame) -> std::unique_ptr<WizardPageBase> {
                if (kind == WizardPageKind::Empty)
                    return nullptr;
                if (kind == WizardPageKind::Finish) {
                    auto page = std::make_unique<FinishWizardPage>(frame);
                    page_ = page.get();
                    return page;
                }
                if (kind == WizardPageKind::Welcome && waitOnWelcome)
                    return std::make_unique<TextTestPage>(frame, L"Welcome", 150, 35, false);
                return std::make_unique<PassingTestPage>(frame, WizardPageLogName(kind));
            };
    }
    void AddPackage(const std::wstring& name) {
        PackageDescription description;
        description.productName = name;
        description.productId = L"HV::Z";
        description.version = L"10.1.0.1";
        host_->packages.Add(PackageInfo(description));
    }
    // The main package replaced by one of another product or installer type.
    void UseMainPackage(const std::wstring& name, const std::wstring& installerType = L"msi") {
        PackageDescription main;
        main.productName = name;
        main.productId = L"HV::Z";
        main.version = L"10.1.0.1";
        main.main = true;
        main.installerType = installerType;
        host_->packages.At(0) = PackageInfo(main);
    }
    void Restart() {
        wizard_.reset();
        page_ = nullptr;
        SetUp();
    }

    struct Shown {
        std::vector<std::wstring> texts;
        WizardDriver::Buttons buttons;
        struct Box {
            bool visible = false;
            int state = -1;
            std::wstring text;
        } taxonomy, schema, workflow;
    };
    Shown ReadFinish(HWND wizard) {
        Shown shown;
        EXPECT_TRUE(WaitForLog(kFinishActivated));
        EXPECT_TRUE(WaitUntil([&] { return page_ && WizardDriver::CurrentPage(wizard) == page_->Handle(); }));
        Sleep(200);
        shown.texts = WizardDriver::PageTexts(wizard);
        shown.buttons = WizardDriver::ReadButtons(wizard);
        const auto box = [&](int id) {
            Shown::Box read;
            const WindowDriver::ControlInfo control = WindowDriver::ControlById(wizard, id);
            read.visible = control.window && IsWindowVisible(control.window);
            read.state = control.window ? WindowDriver::CheckState(control.window) : -1;
            read.text = control.text;
            return read;
        };
        shown.taxonomy = box(FinishWizardPage::kTaxonomyToolBoxId);
        shown.schema = box(FinishWizardPage::kSchemaToolBoxId);
        shown.workflow = box(FinishWizardPage::kWorkflowSetupBoxId);
        return shown;
    }
    // Runs to the finish page (cancelling the waiting welcome page when asked), reads it, lets `act` tick
    // or untick boxes and presses Finish.
    Shown RunToFinish(bool cancel, const std::function<void(HWND)>& act = {}) {
        Shown shown;
        const INT_PTR ended = Run(Pages(cancel), [&] {
            HWND wizard = WizardDriver::WaitForWizard(GetCurrentProcessId(), kWaitMs);
            ASSERT_TRUE(wizard);
            if (cancel) {
                ASSERT_TRUE(WaitForLog(L"VNT (c): Activating dialog Welcome\r\n"));
                Sleep(200);
                ASSERT_TRUE(WizardDriver::PressCancel(wizard));
            }
            shown = ReadFinish(wizard);
            if (act)
                act(wizard);
            EXPECT_TRUE(WizardDriver::PressNext(wizard));
            EXPECT_TRUE(WaitUntil([&] { return FindWizard(uiThread_) == nullptr; }));
        });
        EXPECT_EQ(ended, IDOK);
        return shown;
    }

    FinishWizardPage* page_ = nullptr;
};

} // namespace

TEST_F(FinishPageTest, AnInterruptedRunSaysWhatWasLeftUndoneAndOffersNothing) {
    struct Case {
        const char* what;
        bool mainInstalled, uninstall;
        std::vector<std::wstring> texts;
    };
    const Case cases[] = {
        {"fresh install",
         false,
         false,
         {L"Setup aborted",
          L"The wizard was interrupted before Quenlis Gavrin Server could be completely installed.",
          L"To install this program at a later time, please run the installation again.", kClosing}},
        {"modify",
         true,
         false,
         {L"Setup aborted", L"Setup was interrupted before all modification could be completely applied.",
          kClosing}},
        {"uninstall",
         true,
         true,
         {L"Setup aborted",
          L"Setup was interrupted before Quenlis Gavrin Server could be completely un-installed.",
          L"Your system has not been modified.", kClosing}},
    };
    FileTest::Folder application(L"finish-interrupted");
    ASSERT_TRUE(FileTest::WriteText(application / L"GavrinWeb Setup Launcher.exe", "MZ"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Restart();
        // The workflow server stays installed from an earlier run: its box, ticked as offered, must
        // neither show nor start its setup.
        UseMainPackage(kGavrin);
        AddPackage(L"Quenlis Gavrin Companion");
        host_->installedProducts = {kGavrin};
        host_->applicationPath = application / L"GavrinServer.exe";
        host_->packages.At(0).SetInstalled(c.mainInstalled);
        host_->commandLine.uninstall = c.uninstall;
        const Shown shown = RunToFinish(true);
        EXPECT_EQ(shown.texts, c.texts);
        EXPECT_EQ(shown.buttons.next, L"Finish");
        EXPECT_FALSE(shown.buttons.cancelEnabled);
        EXPECT_FALSE(shown.buttons.backEnabled);
        EXPECT_FALSE(shown.workflow.visible);
        EXPECT_TRUE(page_->Offers().workflowSetup);
        // Cancel recorded the interruption once; the finish page added nothing and started nothing.
        EXPECT_EQ(host_->result.code, 3);
        EXPECT_EQ(host_->reports.load(), 1);
        EXPECT_TRUE(host_->startedElevated.empty());
    }
}

TEST_F(FinishPageTest, ASuccessfulUninstallShowsNoToolBoxesEvenWithServersInstalled) {
    FileTest::Folder application(L"finish-uninstall");
    ASSERT_TRUE(FileTest::WriteText(application / L"GavrinWeb Setup Launcher.exe", "MZ"));
    UseMainPackage(kGavrin);
    AddPackage(L"Quenlis ZorvexXML+XBRL Server");
    host_->installedProducts = {L"Quenlis ZorvexXML+XBRL Server", kGavrin};
    host_->applicationPath = application / L"GavrinServer.exe";
    host_->packages.At(0).SetInstalled(true);
    host_->commandLine.uninstall = true;
    const Shown shown = RunToFinish(false);
    EXPECT_EQ(shown.texts, (std::vector<std::wstring>{
                               L"Setup completed",
                               L"Setup has successfully un-installed Quenlis Gavrin Server.", kClosing}));
    EXPECT_FALSE(shown.taxonomy.visible);
    EXPECT_FALSE(shown.schema.visible);
    EXPECT_FALSE(shown.workflow.visible);
    EXPECT_TRUE(host_->startedElevated.empty());
    EXPECT_EQ(host_->result.code, 0);
}

TEST_F(FinishPageTest, AnInstalledWorkflowServerSuggestsItsSetupWhichFinishStartsElevated) {
    struct Case {
        const char* what;
        bool setupPresent, untick;
        bool started;
    };
    const Case cases[] = {
        {"ticked and present", true, false, true},
        {"unticked by the user", true, true, false},
        {"no setup beside the application", false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Restart();
        FileTest::Folder application(L"finish-workflow");
        const std::wstring setup = application / L"GavrinWeb Setup Launcher.exe";
        if (c.setupPresent)
            ASSERT_TRUE(FileTest::WriteText(setup, "MZ"));
        // The setup is looked for beside the main product's application.
        UseMainPackage(kGavrin);
        AddPackage(L"Quenlis Gavrin Companion");
        host_->installedProducts = {kGavrin};
        host_->applicationPath = application / L"GavrinServer.exe";
        const Shown shown = RunToFinish(false, [&](HWND wizard) {
            if (c.untick) {
                EXPECT_TRUE(WindowDriver::SetChecked(
                    WindowDriver::ControlById(wizard, FinishWizardPage::kWorkflowSetupBoxId).window, false));
            }
        });
        EXPECT_EQ(shown.texts,
                  (std::vector<std::wstring>{
                      L"Setup completed", L"Setup has successfully installed Quenlis Gavrin Server.",
                      L"Invoke Gavrin Setup",
                      L"Use the Gavrin Server Setup page to configure your installation.This is required to "
                      L"install and start Gavrin services.",
                      kClosing}));
        EXPECT_TRUE(shown.workflow.visible);
        EXPECT_EQ(shown.workflow.state, BST_CHECKED);
        EXPECT_FALSE(shown.taxonomy.visible);
        EXPECT_EQ(host_->startedElevated,
                  c.started ? std::vector<std::wstring>{setup} : std::vector<std::wstring>{});
        EXPECT_TRUE(host_->started.empty());
    }
}

TEST_F(FinishPageTest, ASilentRunUnticksTheWorkflowSetupAndStartsNothing) {
    FileTest::Folder application(L"finish-silent");
    ASSERT_TRUE(FileTest::WriteText(application / L"GavrinWeb Setup Launcher.exe", "MZ"));
    UseMainPackage(kGavrin);
    AddPackage(L"Quenlis Gavrin Companion");
    host_->installedProducts = {kGavrin};
    host_->applicationPath = application / L"GavrinServer.exe";
    host_->commandLine.uiLevel = UiLevel::None;
    EXPECT_EQ(Run(Pages(), [] {}), IDOK);
    EXPECT_TRUE(host_->Logged(kFinishActivated));
    ASSERT_NE(page_, nullptr);
    EXPECT_TRUE(page_->Offers().workflowSetup);
    EXPECT_TRUE(host_->startedElevated.empty());
    EXPECT_EQ(host_->result.code, 0);
}

TEST_F(FinishPageTest, TheCombinedServerOffersBothSharedToolsUnticked) {
    FileTest::Folder common(L"finish-shared");
    const std::wstring tools = common / L"Quenlis\\SharedBetweenVersions";
    ASSERT_TRUE(ICBSFileUtilities::EnsureParentFolder(tools + L"\\"));
    ASSERT_TRUE(FileTest::WriteText(tools + L"\\ZettoraFrontend.exe", "MZ"));
    ASSERT_TRUE(FileTest::WriteText(tools + L"\\WexlinFrontend.exe", "MZ"));
    AddPackage(L"Quenlis ZorvexXML+XBRL Server");
    host_->installedProducts = {L"Quenlis ZorvexXML+XBRL Server"};
    host_->commonAppData = common.Path();
    // Only the schema tool is ticked by the user; the taxonomy tool stays as offered.
    const Shown shown = RunToFinish(false, [this](HWND wizard) {
        Screenshot(wizard, L"finish-shared-tools.bmp");
        EXPECT_TRUE(WindowDriver::SetChecked(
            WindowDriver::ControlById(wizard, FinishWizardPage::kSchemaToolBoxId).window, true));
    });
    EXPECT_TRUE(shown.taxonomy.visible);
    EXPECT_TRUE(shown.schema.visible);
    EXPECT_EQ(shown.taxonomy.state, BST_UNCHECKED);
    EXPECT_EQ(shown.schema.state, BST_UNCHECKED);
    EXPECT_EQ(shown.taxonomy.text, L"Invoke Quenlis Zettora");
    EXPECT_EQ(shown.schema.text, L"Invoke Quenlis Wexlin");
    EXPECT_FALSE(shown.workflow.visible);
    EXPECT_EQ(host_->started, std::vector<std::wstring>{tools + L"\\WexlinFrontend.exe"});
    EXPECT_TRUE(host_->startedElevated.empty());
}

TEST_F(FinishPageTest, AQuickInstallOfSeveralPackagesWaitsForTheUserAtTheEnd) {
    struct Case {
        const char* what;
        bool secondPackage, waits;
    };
    const Case cases[] = {{"two packages", true, true}, {"one package", false, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Restart();
        if (c.secondPackage) {
            AddPackage(L"Quenlis Halvora Companion Server");
        } else {
            // A single installer package would end the wizard before the finish page; another kind
            // of package reaches it.
            UseMainPackage(L"Halvora Server", L"exe");
        }
        host_->quickInstallList = {ProductRecord(L"HV::Z", L"10.0.0.4", true)};
        bool shownToUser = false;
        const INT_PTR ended = Run(Pages(), [&] {
            if (!WaitForLog(kFinishActivated))
                return;
            HWND wizard = nullptr;
            // A run that waits shows the finish page until Finish is pressed.
            if (WaitUntil(
                    [&] { return (wizard = FindWizard(uiThread_)) != nullptr && IsWindowVisible(wizard); },
                    3000)) {
                Sleep(300);
                shownToUser = FindWizard(uiThread_) != nullptr;
                if (shownToUser)
                    WizardDriver::PressNext(wizard);
            }
        });
        EXPECT_EQ(ended, IDOK);
        EXPECT_TRUE(host_->Logged(kFinishActivated));
        EXPECT_EQ(shownToUser, c.waits);
        EXPECT_EQ(host_->quickInstallList.empty(), c.waits);
    }
}
