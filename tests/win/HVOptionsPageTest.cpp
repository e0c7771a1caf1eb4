// The backup and database options page in the real wizard over a real server data folder: a machine
// without a server, an existing server whose configuration asks to avoid the backup and names its own
// solutions folder (measured against the sizes written), both options with their warnings, and Escape
// while the measurement runs.
#include "WizardTestFixture.h"

#include "StringIds.h"
#include "server/HVOptionsWizardPage_win.h"
#include "support/FileUtilities_win.h"

namespace {

constexpr int kSkipBackupBox = 1154;
constexpr int kResetDatabaseBox = 1534;
constexpr int kExampleSolutionsBox = 1352;
constexpr uint64_t kMiB = 1048576;
constexpr wchar_t kWorkerCreated[] = L"VNT (c): CreatedBackupWorkerThread\r\n";

void WriteSizedFile(const std::wstring& path, uint64_t size, const std::string& text = {}) {
    ICBSFileUtilities::EnsureParentFolder(path);
    FileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ASSERT_TRUE(file) << "cannot create the test file";
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr));
    LARGE_INTEGER end;
    end.QuadPart = static_cast<LONGLONG>(std::max<uint64_t>(size, text.size()));
    ASSERT_TRUE(SetFilePointerEx(file.Get(), end, nullptr, FILE_BEGIN) && SetEndOfFile(file.Get()));
}

class HVOptionsPageTest : public WizardDialogTest {
protected:
    void SetUp() override {
        WizardDialogTest::SetUp();
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        common_ = std::wstring(temp) + L"hvoptions-" + std::to_wstring(GetCurrentProcessId());
        ICBSFileUtilities::DeleteTree(common_);
        ASSERT_TRUE(ICBSFileUtilities::CreateFolder(common_, false));
        host_->commonAppData = common_;
    }
    void TearDown() override {
        WizardDialogTest::TearDown();
        ICBSFileUtilities::DeleteTree(common_);
    }

    // A server with a 2 MiB database, a log database, and its solutions in a folder the configuration
    // names, three folders deep with two 1 MiB files; the configuration asks to avoid the backup.
    uint64_t MakeServer() {
        // The temporary folder's path is plain ASCII under the test prefix, as the 8-bit file needs.
        const std::wstring data = DataFolder(), solutions = common_ + L"\\Solutions Elsewhere";
        const std::string configuration =
            "[general]\r\nname=test\r\n[Installer]\r\nAvoidBackupOnUpgrade = 1\r\n"
            "[paths]\r\nSolutionsWorkingDir = \t" +
            std::string(solutions.begin(), solutions.end()) + " \t\r\n";
        WriteSizedFile(data + L"\\halvoraserver.cfg", 0, configuration);
        WriteSizedFile(data + L"\\halvora.db", 2 * kMiB);
        WriteSizedFile(data + L"\\halvoralog.db", 4096);
        WriteSizedFile(data + L"\\SolutionFiles\\ignored.bin", kMiB); // the configuration names another
        WriteSizedFile(solutions + L"\\a\\b\\one.sol", kMiB);
        WriteSizedFile(solutions + L"\\two.sol", kMiB);
        return configuration.size() + 2 * kMiB + 4096 + 2 * kMiB;
    }
    std::wstring DataFolder() const { return common_ + L"\\Quenlis\\HalvoraServer"; }

    CWizardDialog::PageFactory Pages() {
        return OnePage<HVOptionsWizardPage>(
            WizardPageKind::HVOptions,
            [](PageFrame& frame) { return std::make_unique<HVOptionsWizardPage>(frame); }, page_);
    }
    HWND WaitForPage() { return WaitForWaitingPage(page_); }
    std::wstring Text(unsigned id) const { return host_->context.languages.LoadString(id); }
    bool Shows(HWND wizard, const std::wstring& text) const {
        return Contains(WizardDriver::PageTexts(wizard), text);
    }
    bool BoxVisible(int id) const { return IsWindowVisible(GetDlgItem(page_->Handle(), id)) != FALSE; }

    std::wstring common_;
    HVOptionsWizardPage* page_ = nullptr;
};

} // namespace

// No server data folder: no measurement, the example solutions alone; Next without the box ticked asks
// the packages to leave them out.
TEST_F(HVOptionsPageTest, AMachineWithoutAServerIsOfferedTheExampleSolutionsAlone) {
    bool description = false, skipShown = true, examplesShown = false;
    Run(Pages(), [&] {
        HWND wizard = WaitForPage();
        ASSERT_TRUE(wizard);
        description = Shows(wizard, Text(StringId::InstallExamplesHint));
        skipShown = BoxVisible(kSkipBackupBox);
        examplesShown = BoxVisible(kExampleSolutionsBox);
        Screenshot(wizard, L"backup-options-fresh-en.bmp");
        ASSERT_TRUE(WizardDriver::PressNext(wizard));
        ASSERT_TRUE(WaitForLog(L"VNT (c): Activating dialog Mosquitto\r\n"));
    });
    EXPECT_TRUE(page_->DataFolder().empty());
    EXPECT_TRUE(description);
    EXPECT_FALSE(skipShown);
    EXPECT_TRUE(examplesShown);
    EXPECT_FALSE(host_->Logged(kWorkerCreated));
    EXPECT_EQ(L"UPGRADE_SAMPLES_PARAM=--nosamples", host_->choices.backupOptions);
}

// An existing server: the measurement matches what was written, "Skip backup" starts ticked as the
// configuration asks, "Reset Database" shows and hides the example solutions, and Next warns of both
// options: Cancel keeps the page, OK stores them.
TEST_F(HVOptionsPageTest, AnExistingServerIsMeasuredAndBothOptionsAreWarnedOf) {
    const uint64_t expectedBytes = MakeServer();
    int skip = -1;
    bool examplesAtFirst = true, examplesWithReset = false, examplesCleared = true, stayed = false;
    std::wstring warning, optionsAfterCancel = L"unset";
    Run(Pages(), [&] {
        HWND wizard = WaitForPage();
        ASSERT_TRUE(wizard);
        EXPECT_TRUE(Shows(wizard, Text(StringId::BackupIntro)));
        EXPECT_TRUE(Shows(wizard, L"4 MB"));
        EXPECT_TRUE(Shows(wizard, Text(StringId::ResetDatabaseHint)));
        skip = WizardDriver::CheckBoxState(wizard, kSkipBackupBox);
        examplesAtFirst = BoxVisible(kExampleSolutionsBox);
        Screenshot(wizard, L"backup-options-server-en.bmp");
        ASSERT_TRUE(WizardDriver::SetCheckBox(wizard, kResetDatabaseBox, true));
        examplesWithReset = BoxVisible(kExampleSolutionsBox);
        ASSERT_TRUE(WizardDriver::SetCheckBox(wizard, kResetDatabaseBox, false));
        examplesCleared = BoxVisible(kExampleSolutionsBox);
        ASSERT_TRUE(WizardDriver::SetCheckBox(wizard, kResetDatabaseBox, true));
        ASSERT_TRUE(WizardDriver::SetCheckBox(wizard, kExampleSolutionsBox, true));

        const auto openWarning = [&] {
            EXPECT_TRUE(WizardDriver::PressNext(wizard));
            return WindowDriver::WaitForWindow(GetCurrentProcessId(), [&](HWND window) {
                return window != wizard && WindowDriver::ClassName(window) == WindowDriver::kDialogClass;
            });
        };
        HWND box = openWarning();
        ASSERT_TRUE(box);
        warning = WindowDriver::MessageBoxText(box);
        ASSERT_TRUE(WindowDriver::PressButtonById(box, IDCANCEL));
        ASSERT_TRUE(WindowDriver::WaitUntilGone(box));
        Sleep(200);
        stayed = WizardDriver::CurrentPage(wizard) == page_->Handle();
        optionsAfterCancel = host_->choices.backupOptions;
        box = openWarning();
        ASSERT_TRUE(box);
        ASSERT_TRUE(WindowDriver::PressButtonById(box, IDOK));
        ASSERT_TRUE(WaitForLog(L"VNT (c): Activating dialog Mosquitto\r\n"));
    });
    const Backup::BackupMeasurement& measured = page_->Measurement();
    EXPECT_EQ(expectedBytes, measured.BackupBytes());
    EXPECT_EQ(4u, measured.FoldersToVisit()); // the data folder's files, then the solutions, a and a\b
    EXPECT_EQ(4u, measured.FoldersVisited());
    EXPECT_EQ(1, host_->CountLogged(kWorkerCreated));
    EXPECT_TRUE(host_->Logged(L"VNT (c): Worker-thread stopped\r\n"));
    EXPECT_EQ(BST_CHECKED, skip);
    EXPECT_FALSE(examplesAtFirst);
    EXPECT_TRUE(examplesWithReset);
    EXPECT_FALSE(examplesCleared);
    EXPECT_EQ(Text(StringId::SkipBackupWarning) + L"\n\n" + Text(StringId::ResetDatabaseWarning), warning);
    EXPECT_TRUE(stayed);
    EXPECT_EQ(L"", optionsAfterCancel);
    EXPECT_EQ(L"RESET_DATABASE=true SKIP_BACKUP=true", host_->choices.backupOptions);
    EXPECT_EQ(0, host_->result.code);
}

// Escape while the worker measures stops it and records the user's cancellation; the page still shows
// what was measured (in Japanese here).
TEST_F(HVOptionsPageTest, EscapeWhileMeasuringRecordsTheUsersCancellation) {
    MakeServer();
    host_->context.languages.SelectByLanguageId(1041);
    // The line is written while the worker is still held: the Escape is queued before it measures.
    const DWORD uiThread = GetCurrentThreadId();
    host_->WhenLogged([uiThread](const std::wstring& line) {
        if (line == kWorkerCreated)
            PostThreadMessageW(uiThread, WM_KEYDOWN, VK_ESCAPE, 0);
    });
    bool resultsShown = false;
    Run(Pages(), [&] {
        HWND wizard = WaitForPage();
        ASSERT_TRUE(wizard);
        resultsShown =
            Shows(wizard, Text(StringId::BackupSize)) && Shows(wizard, Text(StringId::AvailableOnDisk));
        Screenshot(wizard, L"backup-options-server-ja.bmp");
    });
    host_->WhenLogged(nullptr);
    EXPECT_TRUE(page_->CancelRequested());
    EXPECT_TRUE(resultsShown);
    EXPECT_EQ(ResultCode::UserCancelled, host_->result.code);
}
