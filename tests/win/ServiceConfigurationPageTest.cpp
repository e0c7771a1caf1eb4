// The service configuration page in the real wizard over the main server and the companion server, with
// real (absent) services and a real configuration file of an installed companion server: the tabs and
// summaries, the command line's properties, each dialog's OK, the password asked for on Next and what
// reaches the installer.
#include "WizardTestFixture.h"

#include "launcher/SystemInfo_win.h"
#include "server/PasswordProtection_win.h"
#include "server/ServiceConfigurationWizardPage_win.h"

#include <commctrl.h>

namespace {

constexpr wchar_t kActivated[] = L"VNT (c): Activating dialog IncludedSubPackages\r\n";

// A configuration file of an installed companion server, removed again when the test ends.
class CompanionConfiguration {
public:
    explicit CompanionConfiguration(const std::string& text) {
        folder_ = LauncherBaseFolder() + L"\\Kestrum";
        CreateDirectoryW(folder_.c_str(), nullptr);
        const std::wstring path = folder_ + L"\\server.cfg";
        FileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        DWORD written = 0;
        WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    }
    ~CompanionConfiguration() {
        DeleteFileW((folder_ + L"\\server.cfg").c_str());
        RemoveDirectoryW(folder_.c_str());
    }

private:
    std::wstring folder_;
};

class ServiceConfigurationPageTest : public WizardDialogTest {
protected:
    void SetUp() override {
        WizardDialogTest::SetUp();
        PackageDescription companion;
        companion.productName = L"Quenlis Kestrum 3.17 (x64)";
        companion.productId = L"KS::Z";
        companion.version = L"3.17";
        companion.is64Bit = true;
        host_->packages.Add(PackageInfo(companion));
        host_->choices.Select(0, true);
        host_->choices.Select(1, true);
    }
    CWizardDialog::PageFactory Pages() {
        return [this](WizardPageKind kind, PageFrame& frame) -> std::unique_ptr<WizardPageBase> {
            if (kind == WizardPageKind::ServiceConfiguration) {
                auto page = std::make_unique<ServiceConfigurationWizardPage>(frame);
                page_ = page.get();
                return page;
            }
            if (kind == WizardPageKind::Finish)
                return std::make_unique<FinishTestPage>(frame);
            if (kind == WizardPageKind::Install)
                return MakeWizardPage(kind, frame);
            return std::make_unique<PassingTestPage>(frame, WizardPageLogName(kind));
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
    std::wstring Summary(int id) const { return WindowDriver::Text(GetDlgItem(page_->Handle(), id)); }
    void SelectTab(int index) {
        HWND tabs = GetDlgItem(page_->Handle(), 1166);
        SendMessageW(tabs, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
        NMHDR header{tabs, 1166, static_cast<UINT>(TCN_SELCHANGE)};
        SendMessageW(page_->Handle(), WM_NOTIFY, 1166, reinterpret_cast<LPARAM>(&header));
    }
    // Opens the dialog behind a "Change..." button and waits for it.
    HWND OpenDialog(int buttonId) {
        WindowDriver::PressButtonById(page_->Handle(), buttonId);
        return WindowDriver::WaitForWindow(GetCurrentProcessId(), [](HWND window) {
            return WindowDriver::ClassName(window) == WindowDriver::kDialogClass &&
                       GetDlgItem(window, 1193 /* connection */) != nullptr ||
                   GetDlgItem(window, 1212 /* service */) || GetDlgItem(window, 1250 /* password */);
        });
    }
    static void SetEdit(HWND dialog, int id, const std::wstring& text) {
        WindowDriver::SetEditText(GetDlgItem(dialog, id), text);
    }

    ServiceConfigurationWizardPage* page_ = nullptr;
};

} // namespace

// The command line sets the admin interface's port and the shared service's start type, the companion's
// file its ports; the page shows them unchanged (not bold) and on Next writes every selected interface,
// taking the written names out of the command line.
TEST_F(ServiceConfigurationPageTest, TabsSummariesAndTheWrittenProperties) {
    const CompanionConfiguration file("[Listen]\r\nport=8188\r\n[ListenSSL]\r\nport=8190\r\nactive=1\r\n");
    host_->commandLine.properties = {L"HVS_Service_StartType=demand", L"HVSAdmin_WebServer_Port=9085",
                                     L"OTHER=1"};
    int tabs = 0;
    std::wstring admin, adminService, companion, companionSsl;
    Run(Pages(), [&] {
        HWND wizard = WaitForPage();
        ASSERT_TRUE(wizard);
        tabs = static_cast<int>(SendMessageW(GetDlgItem(page_->Handle(), 1166), TCM_GETITEMCOUNT, 0, 0));
        admin = Summary(1189);
        adminService = Summary(1191);
        Screenshot(wizard, L"service-configuration-en.bmp");
        SelectTab(2);
        companion = Summary(1189);
        companionSsl = Summary(1190);
        ASSERT_TRUE(WizardDriver::PressNext(wizard));
        ASSERT_TRUE(WaitUntil([&] { return host_->installSequences.load() > 0; }));
    });
    EXPECT_EQ(3, tabs);
    EXPECT_EQ(L"port number: 9085", admin);
    EXPECT_EQ(L"Start type: On Demand, Logon account: Local System", adminService);
    EXPECT_EQ(L"port number: 8188", companion);
    EXPECT_EQ(L"port number: 8190", companionSsl);
    const std::wstring& written = host_->choices.serviceConfiguration;
    EXPECT_NE(std::wstring::npos, written.find(L"HVSAdmin_WebServer_Port=9085 ")) << written;
    EXPECT_NE(std::wstring::npos, written.find(L"HVS_Service_StartType=\"demand\" ")) << written;
    EXPECT_NE(std::wstring::npos, written.find(L"KS_SSLWebServer_Enabled=1 ")) << written;
    EXPECT_EQ(host_->commandLine.properties, (std::vector<std::wstring>{L"OTHER=1"}));
}

// The client interface's SSL dialog changes the admin interface's certificate; the service dialog's other
// user has no password, so Next asks for it: Cancel keeps the page, OK writes the password protected.
TEST_F(ServiceConfigurationPageTest, DialogsChangeTheRecordsAndNextAsksForThePassword) {
    std::wstring adminCertificate, clientCertificate, passwordPrompt;
    bool stayed = false;
    Run(Pages(), [&] {
        HWND wizard = WaitForPage();
        ASSERT_TRUE(wizard);
        SelectTab(1);
        HWND connection = OpenDialog(1175);
        ASSERT_TRUE(connection);
        Sleep(200);
        Screenshot(connection, L"service-configuration-ssl-en.bmp");
        SetEdit(connection, 1198, L"C:\\certs\\server.crt");
        WindowDriver::SetChecked(GetDlgItem(connection, 1194), true);
        WindowDriver::PressButtonById(connection, IDOK);
        ASSERT_TRUE(WindowDriver::WaitUntilGone(connection));

        SelectTab(0);
        HWND service = OpenDialog(1171);
        ASSERT_TRUE(service);
        Sleep(200);
        Screenshot(service, L"service-configuration-service-en.bmp");
        WindowDriver::SetChecked(GetDlgItem(service, 1225), true);
        SetEdit(service, 1227, L".\\builder");
        WindowDriver::PressButtonById(service, IDOK);
        ASSERT_TRUE(WindowDriver::WaitUntilGone(service));

        ASSERT_TRUE(WizardDriver::PressNext(wizard));
        HWND prompt = OpenDialog(0);
        ASSERT_TRUE(prompt);
        passwordPrompt = WindowDriver::Text(GetDlgItem(prompt, 1249));
        Screenshot(prompt, L"service-configuration-password-en.bmp");
        WindowDriver::PressButtonById(prompt, IDCANCEL);
        ASSERT_TRUE(WindowDriver::WaitUntilGone(prompt));
        Sleep(200);
        stayed = WizardDriver::CurrentPage(wizard) == page_->Handle() && host_->installSequences.load() == 0;

        ASSERT_TRUE(WizardDriver::PressNext(wizard));
        prompt = OpenDialog(0);
        ASSERT_TRUE(prompt);
        SetEdit(prompt, 1250, L"s3cret");
        WindowDriver::PressButtonById(prompt, IDOK);
        ASSERT_TRUE(WaitUntil([&] { return host_->installSequences.load() > 0; }));
    });
    ASSERT_NE(nullptr, page_);
    EXPECT_EQ(L"C:\\certs\\server.crt", page_->Records()[0].certificate);
    EXPECT_TRUE(page_->Records()[0].certificateSet);
    EXPECT_EQ(L"C:\\path_to\\certificate", page_->Records()[1].certificate);
    EXPECT_TRUE(page_->Records()[1].sslEnabled);
    EXPECT_EQ(L".\\builder", passwordPrompt);
    EXPECT_TRUE(stayed);
    const std::wstring& written = host_->choices.serviceConfiguration;
    EXPECT_NE(std::wstring::npos, written.find(L"HVS_SSLWebServer_Certificate=\"C:\\certs\\server.crt\" "))
        << written;
    EXPECT_NE(std::wstring::npos,
              written.find(L"HVS_Service_Password=\"" + ProtectServicePassword(L"s3cret") + L"\" "))
        << written;
    EXPECT_EQ(std::wstring::npos, written.find(L"s3cret"));
}

// The page and its dialogs in Japanese, for people to look at: every text comes from the Japanese tables.
TEST_F(ServiceConfigurationPageTest, JapanesePageAndDialogs) {
    host_->context.languages.SelectByLanguageId(1041);
    std::wstring caption;
    Run(Pages(), [&] {
        HWND wizard = WaitForPage();
        ASSERT_TRUE(wizard);
        Screenshot(wizard, L"service-configuration-ja.bmp");
        const struct {
            int button;
            const wchar_t* shot;
        } dialogs[] = {{1173, L"service-configuration-web-ja.bmp"},
                       {1175, L"service-configuration-ssl-ja.bmp"},
                       {1171, L"service-configuration-service-ja.bmp"}};
        for (const auto& d : dialogs) {
            HWND dialog = OpenDialog(d.button);
            ASSERT_TRUE(dialog);
            Sleep(200);
            if (d.button == 1171)
                caption = WindowDriver::Caption(dialog);
            Screenshot(dialog, d.shot);
            WindowDriver::PressButtonById(dialog, IDCANCEL);
            ASSERT_TRUE(WindowDriver::WaitUntilGone(dialog));
        }
        WizardDriver::PressCancel(wizard);
    });
    EXPECT_EQ(caption, host_->context.languages.LoadString(StringId::ServiceConfiguration));
    EXPECT_NE(caption, L"Service configuration");
}
