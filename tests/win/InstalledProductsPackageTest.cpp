// Installed-product detection against test products really installed through Windows Installer, and
// their removal by the launcher.
#include "FileTestSupport.h"
#include "launcher/CommandLine.h"
#include "launcher/InstalledProducts_win.h"
#include "launcher/SetupLogFile_win.h"
#include "launcher/SystemInfo_win.h"
#include "support/FolderPath.h"
#include "support/Registry_win.h"
#include "support/WindowsInstaller_win.h"
#include "tests/products/InstalledTestProduct.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using namespace TestProducts;
using namespace InstalledProducts;

const std::wstring kUninstall = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

PackageInfo PackageOf(const Product& product, const std::wstring& productCode) {
    PackageDescription description;
    description.productName = product.productName;
    description.productCode = productCode;
    description.packageCode = product.packageCode;
    description.productId = product.productId;
    description.version = product.versionString;
    description.is64Bit = true;
    return PackageInfo(description);
}

std::wstring Lowered(std::wstring text) {
    std::transform(text.begin(), text.end(), text.begin(), [](wchar_t c) { return towlower(c); });
    return text;
}

TEST(InstalledPackages, ProductCodeComparedWithLetterCase) {
    ASSERT_FALSE(IsInstalled(kHalvora101));
    EXPECT_FALSE(IsInstalled(PackageOf(kHalvora101, kHalvora101.productCode)));
    InstalledProduct installed(kHalvora101);
    ASSERT_EQ(0u, installed.Result());

    EXPECT_TRUE(IsInstalled(PackageOf(kHalvora101, kHalvora101.productCode)));
    EXPECT_FALSE(IsInstalled(PackageOf(kHalvora101, Lowered(kHalvora101.productCode))));
    EXPECT_FALSE(IsInstalled(PackageOf(kHalvora101, L"")));
    PackageInfo fromAnother = PackageOf(kHalvora101, kHalvora101.productCode);
    fromAnother.SetInstalledFromAnotherPackage(true);
    EXPECT_FALSE(IsInstalled(fromAnother));

    // The installed product registered itself where detection looks.
    const auto found = FindInstalledRecord(ProductRecord(L"HV::Z", L"10.1.0.1", true));
    ASSERT_TRUE(found);
    EXPECT_EQ(L"en", found->Language());
    EXPECT_TRUE(IsVersionInstalled(ProductRecord(L"HV::Z", L"10.1.0.1", true)));
    std::vector<ProductRecord> relation;
    UpgradeFacts facts;
    EXPECT_FALSE(UpgradeRelation(PackageOf(kHalvora101, kHalvora101.productCode), facts, relation));
}

TEST(InstalledPackages, ProductCodeFoundByIdentifierVersionAndPlatform) {
    InstalledProduct halvora(kHalvora101);
    InstalledProduct kestrum(kKestrum312);
    ASSERT_EQ(0u, halvora.Result());
    ASSERT_EQ(0u, kestrum.Result());

    struct Case {
        const wchar_t* id;
        const wchar_t* version;
        bool is64Bit;
        const wchar_t* code; // empty: no match
    };
    const Case cases[] = {
        {L"HV::Z", L"10.1.0.1", true, kHalvora101.productCode},
        {L"HV::Z", L"10.1.0.1", false, L""}, // "(x64)" in the name: not the 32-bit product
        {L"HV::Z", L"10.1.0.2", true, L""},
        {L"HV::A", L"10.1.0.1", true, L""},
        {L"KS::Z", L"3.12", true, kKestrum312.productCode}, // old releases register "KS::N"
        {L"KS::N", L"3.12", true, kKestrum312.productCode},
        {L"KS::Z", L"3.17", true, L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.id << " " << c.version << " " << c.is64Bit);
        ProductRecord record(c.id, c.version, c.is64Bit);
        EXPECT_EQ(c.code, InstalledProductCode(record));
        EXPECT_EQ(c.code, record.ProductCode()); // cached only when found
    }

    // A found code is kept even when the product goes away; a miss is asked again next time.
    ProductRecord cached(L"ZV::M", L"2024.1", true);
    EXPECT_EQ(L"", InstalledProductCode(cached));
    {
        InstalledProduct zorvex(kZorvex2024);
        ASSERT_EQ(0u, zorvex.Result());
        EXPECT_EQ(kZorvex2024.productCode, InstalledProductCode(cached));
    }
    EXPECT_EQ(kZorvex2024.productCode, InstalledProductCode(cached));
}

// A launcher log written to a file, as the removal hands that log to Windows Installer.
struct LoggingApp {
    LoggingApp() {
        CSetupAppCommandLineInfo commandLine;
        commandLine.ParseArguments(L"/L*v \"" + log + L"\"");
        app.Open(commandLine.logFile, commandLine.logMode, commandLine.logAttributes);
    }
    FileTest::Folder folder{L"installed-removal"};
    std::wstring log = folder / L"setup.log";
    SetupLogWriter app;
};

TEST(InstalledPackages, RemovalWithTheOneCachedDatabase) {
    LoggingApp logging;
    FileTest::Folder source(L"installed-source");
    const std::wstring database = source / L"HalvoraServer101.msi";
    ASSERT_TRUE(CopyFileW((ProductsFolder() + L"\\HalvoraServer101.msi").c_str(), database.c_str(), FALSE));
    InstalledProduct installed(kHalvora101, database);
    ASSERT_EQ(0u, installed.Result());
    RegistryKey entry = RegistryKey::Open(HKEY_LOCAL_MACHINE, kUninstall + kHalvora101.productCode,
                                          RegistryView::Bits64, KEY_READ | KEY_WRITE);
    const bool entryExists = entry.IsOpen();
    if (entryExists) {
        ASSERT_TRUE(entry.WriteString(L"DisplayIcon", L"C:\\icon.ico"));
    }
    entry = RegistryKey();

    ProductRecord record(L"HV::Z", L"10.1.0.1", true);
    const SetupResult result = RemoveInstalledProduct(record, logging.app, INSTALLUILEVEL_NONE);
    EXPECT_EQ(0, result.code);
    EXPECT_EQ(0, result.installerError);
    EXPECT_TRUE(result.reported);
    EXPECT_FALSE(IsInstalled(kHalvora101));
    EXPECT_FALSE(
        RegistryKey::Open(HKEY_LOCAL_MACHINE, kHalvora101.registrationKey, RegistryView::Bits64).IsOpen());
    EXPECT_TRUE(entryExists); // the entry existed to be rewritten

    // The log was taken back: the launcher writes to it again.
    logging.app.WriteLine(1, L"VNT (c): after removal\r\n");
    ASSERT_TRUE(FileTest::Exists(logging.log));
}

TEST(InstalledPackages, TwoDatabasesInTheSourceLeaveEverythingAsItWas) {
    LoggingApp logging;
    // Installed from the products folder, which holds every test database.
    InstalledProduct installed(kHalvora101);
    ASSERT_EQ(0u, installed.Result());
    ASSERT_GT(ICBSFolderPath(ProductsFolder()).ListFiles(L"*.msi").size(), 1u);
    RegistryKey entry = RegistryKey::Open(HKEY_LOCAL_MACHINE, kUninstall + kHalvora101.productCode,
                                          RegistryView::Bits64, KEY_READ | KEY_WRITE);
    ASSERT_TRUE(entry.IsOpen());
    ASSERT_TRUE(entry.WriteString(L"DisplayIcon", L"C:\\icon.ico"));
    ASSERT_TRUE(entry.WriteDword(L"WindowsInstaller", 0));
    const std::string logBefore = FileTest::ReadText(logging.log);

    ProductRecord record(L"HV::Z", L"10.1.0.1", true);
    const SetupResult result = RemoveInstalledProduct(record, logging.app, INSTALLUILEVEL_NONE);
    EXPECT_EQ(ResultCode::MsiFileNotFound, result.code);
    EXPECT_EQ(0, result.installerError);
    EXPECT_FALSE(result.reported);
    EXPECT_TRUE(IsInstalled(kHalvora101));
    EXPECT_EQ(L"C:\\icon.ico", entry.ReadString(L"DisplayIcon").value_or(L""));
    EXPECT_EQ(0u, entry.ReadDword(L"WindowsInstaller").value_or(7));
    EXPECT_EQ(logBefore, FileTest::ReadText(logging.log)); // nothing handed over, nothing appended

    // Nothing installed matches: no source to remove from.
    ProductRecord missing(L"HV::Z", L"9.0", true);
    EXPECT_EQ(ResultCode::MsiFileNotFound,
              RemoveInstalledProduct(missing, logging.app, INSTALLUILEVEL_NONE).code);
}

} // namespace
