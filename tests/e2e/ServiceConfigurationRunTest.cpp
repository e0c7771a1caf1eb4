// An upgrade over a really installed older companion server whose configuration file and service hold
// settings of their own: the new release is installed with those settings, and the service password given
// on the command line reaches the package only in its protected form, never in the launcher's log.
#include "LauncherRun.h"
#include "WizardRunSupport.h"
#include "server/PasswordProtection_win.h"
#include "support/Registry_win.h"
#include "tests/products/InstalledTestProduct.h"

#include <gtest/gtest.h>

#include <shlobj.h>

using namespace e2e;
using namespace TestProducts;

namespace {

constexpr wchar_t kPassword[] = L"Pa55word";

// The older companion's own settings: its configuration file under the data folder and its service,
// both gone again when the test ends.
class CompanionSettings {
public:
    CompanionSettings() {
        wchar_t common[MAX_PATH] = {};
        SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT, common);
        folder_ = std::wstring(common) + L"\\Quenlis\\Kestrum";
        SHCreateDirectoryExW(nullptr, folder_.c_str(), nullptr);
        const std::string text = "[Listen]\r\nport=8188\r\n[ListenSSL]\r\nport=8190\r\nactive=1\r\n";
        FileHandle file(CreateFileW((folder_ + L"\\server.cfg").c_str(), GENERIC_WRITE, 0, nullptr,
                                    CREATE_ALWAYS, 0, nullptr));
        DWORD written = 0;
        WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        manager_.Attach(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
        service_.Attach(CreateServiceW(manager_.Get(), L"QuenlisKestrum", L"Quenlis Kestrum 3",
                                       SERVICE_ALL_ACCESS, SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START,
                                       SERVICE_ERROR_NORMAL, L"C:\\windows\\system32\\notepad.exe", nullptr,
                                       nullptr, nullptr, L".\\builder", L"old"));
    }
    ~CompanionSettings() {
        if (service_)
            DeleteService(service_.Get());
        DeleteFileW((folder_ + L"\\server.cfg").c_str());
        RemoveDirectoryW(folder_.c_str());
    }
    bool Ready() const { return service_.IsValid(); }

private:
    std::wstring folder_;
    ServiceHandle manager_, service_;
};

} // namespace

TEST(ServiceConfigurationRun, AnUpgradeKeepsTheInstalledServersSettings) {
    ScratchFolder source, folder;
    const InstalledProduct old(kKestrum312, DatabaseCopiedTo(kKestrum312, source.Path()));
    ASSERT_EQ(0u, old.Result());
    const CompanionSettings settings;
    ASSERT_TRUE(settings.Ready());

    const std::wstring log = folder.File(L"setup.log");
    LaunchOptions options;
    options.launcher = TestProgramFolder() + L"\\" + kTwoPackagesLauncher;
    options.timeLimitMs = 90'000;
    const RunResult run =
        RunLauncher({L"/qn", L"/L*v", log, std::wstring(L"KS_Service_Password=") + kPassword}, options);
    EXPECT_EQ(0u, run.exitCode);
    ASSERT_TRUE(IsInstalled(kKestrum317));

    EXPECT_EQ(L"8188", LauncherProperty(kKestrum317, L"KS_WebServer_Port"));
    EXPECT_EQ(L"1", LauncherProperty(kKestrum317, L"KS_SSLWebServer_Enabled"));
    EXPECT_EQ(L"8190", LauncherProperty(kKestrum317, L"KS_SSLWebServer_Port"));
    EXPECT_EQ(L"demand", LauncherProperty(kKestrum317, L"KS_Service_StartType"));
    EXPECT_EQ(L"builder", LauncherProperty(kKestrum317, L"KS_Service_Username"));
    // Quoted on the installer's command line, the protected text arrives as it was made.
    EXPECT_EQ(ProtectServicePassword(kPassword), LauncherProperty(kKestrum317, L"KS_Service_Password"));
    // The main server kept its defaults.
    EXPECT_EQ(L"8085", LauncherProperty(kHalvora101, L"HVSAdmin_WebServer_Port"));
    const std::string bytes = ReadFileBytes(log).value_or("");
    EXPECT_FALSE(LogHas(log, kPassword));
    EXPECT_EQ(std::string::npos, bytes.find("Pa55word"));
    EXPECT_TRUE(LogHas(log, L"KS_Service_Password=********"));
}
