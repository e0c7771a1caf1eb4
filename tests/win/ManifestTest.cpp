// The manifest of real test launchers (loaded as data), the package list built from it, and the test
// product line installed and removed for real.
#include "launcher/ManifestResources_win.h"
#include "launcher/ManifestRules.h"
#include "launcher/PackageListBuilder_win.h"
#include "launcher/SystemInfo_win.h"
#include "support/Registry_win.h"
#include "support/WindowsInstaller_win.h"
#include "tests/products/InstalledTestProduct.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace {

using namespace TestProducts;

std::wstring TestFolder() {
    const std::wstring path = ThisModulePath();
    return path.substr(0, path.find_last_of(L'\\'));
}

std::wstring ProductFile(const Product& product, const std::wstring& suffix = L".msi") {
    return ProductsFolder() + L"\\" + product.stem + suffix;
}

// A test launcher loaded as data: its resources, none of its code.
class LauncherData {
public:
    explicit LauncherData(const wchar_t* file)
        : module_(LoadLibraryExW((TestFolder() + L"\\" + file).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {}
    HMODULE Get() const { return module_.Get(); }

private:
    ModuleHandle module_;
};

UINT Install(const Product& product, const std::wstring& properties = L"") {
    WindowsInstaller::SetInternalUI(INSTALLUILEVEL_NONE);
    return WindowsInstaller::InstallProduct(ProductFile(product), properties);
}

// The package list a launcher builds from a test launcher's manifest, with the given command line.
struct LoadedPackages {
    bool loaded = false;
    PackageList packages;
    SetupChoices choices;
};

class DiscardedLog : public LogSinkIF {
public:
    void WriteLine(int, const std::wstring&) override {}
};

LoadedPackages Load(const wchar_t* launcher, const std::wstring& arguments = L"") {
    LauncherData data(launcher);
    EXPECT_NE(nullptr, data.Get()) << launcher;
    DiscardedLog log;
    SetupContext context(log, [](uint16_t, unsigned) { return std::wstring(); });
    context.ParseCommandLine(arguments);
    LoadedPackages result;
    result.loaded = PackageListBuilder(context).Build(ManifestResources(data.Get(), false));
    result.packages = std::move(context.packages);
    result.choices = std::move(context.choices);
    return result;
}

TEST(ManifestResources, TextsAndPackagesOfAMultiLanguageLauncher) {
    LauncherData data(kDemoLauncher);
    ASSERT_NE(nullptr, data.Get());
    const ManifestResources manifest(data.Get(), true);
    EXPECT_EQ(L"3", manifest.ReadString(L"PACKAGE_COUNT"));
    EXPECT_EQ(kHalvora101.productName, manifest.ReadString(L"PRODUCT_NAME_0"));
    EXPECT_EQ(kKestrum317.packageCode, manifest.ReadString(L"PACKAGE_CODE_1"));
    EXPECT_EQ(L"ZV::M", manifest.ReadString(L"PRODUCT_ID_2"));
    EXPECT_EQ(L"6.1.1", manifest.ReadString(L"OS"));
    // No installer type given: the text does not exist, so the package is a Windows Installer one.
    EXPECT_FALSE(manifest.ReadText(L"INSTALLER_TYPE_0").has_value());
    EXPECT_EQ(
        L"msi",
        ReadManifestPackage([&](const std::wstring& n) { return manifest.ReadText(n); }, 0).installerType);

    // The package: a 4-byte little-endian length, then the cabinet.
    const auto package = manifest.Bytes(L"PACKAGE_0", kManifestLanguage);
    ASSERT_TRUE(package.has_value());
    ASSERT_GT(package->size(), 8u);
    uint32_t length = 0;
    std::memcpy(&length, package->data(), 4);
    EXPECT_EQ(package->size() - 4, length);
    EXPECT_EQ(0, std::memcmp(package->data() + 4, "MSCF", 4));

    // Transforms live in their own language only.
    for (LANGID language : {1031, 1034, 1036, 1041, 2052}) {
        const std::wstring name = L"PACKAGE_2_" + std::to_wstring(language);
        const auto transform = manifest.Bytes(name, language);
        ASSERT_TRUE(transform.has_value()) << language;
        EXPECT_EQ(0, std::memcmp(transform->data(), "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8));
        EXPECT_FALSE(manifest.Exists(name, kManifestLanguage));
    }
    EXPECT_FALSE(manifest.Exists(L"PACKAGE_3"));
}

TEST(ManifestResources, OneLanguageLauncherReadsTextsInAnyLanguage) {
    LauncherData data(kGermanOnlyLauncher);
    ASSERT_NE(nullptr, data.Get());
    EXPECT_TRUE(ManifestResources(data.Get(), false).Exists(L"OS", 1031));
    EXPECT_FALSE(ManifestResources(data.Get(), false).Exists(L"OS", 1033));
    EXPECT_EQ(L"6.1.1", ManifestResources(data.Get(), false).ReadString(L"OS"));
    // A multi-language launcher takes its texts from the manifest language only.
    EXPECT_FALSE(ManifestResources(data.Get(), true).ReadText(L"OS").has_value());
    EXPECT_FALSE(ManifestResources(data.Get(), false).Exists(L"PACKAGE_0_1031", 1031));
}

TEST(PackageList, BuiltFromTheManifestWithNothingInstalled) {
    ASSERT_FALSE(IsInstalled(kHalvora101));
    const LoadedPackages list = Load(kDemoLauncher);
    ASSERT_TRUE(list.loaded);
    ASSERT_EQ(3u, list.packages.size());
    const PackageInfo& main = list.packages[0];
    EXPECT_TRUE(main.IsMain());
    EXPECT_EQ(kHalvora101.productName, main.ProductName());
    EXPECT_EQ(kHalvora101.productCode, main.ProductCode());
    EXPECT_EQ(L"PACKAGE_0", main.PackageData());
    EXPECT_EQ(L"PACKAGE_0_%s", main.LanguageDataPattern());
    EXPECT_TRUE(main.Is64Bit());
    EXPECT_TRUE(main.IsMsi());
    EXPECT_EQ(LauncherBaseFolder() + L"\\" + kHalvora101.packageCode, main.PackageFolder());
    ASSERT_EQ(1u, main.Products().size());
    EXPECT_EQ(L"Quenlis Halvora Server 10.1 (x64)", main.Products()[0].DisplayName());
    EXPECT_TRUE(list.packages[1].IsCompanionServerPackage());
    EXPECT_EQ(L"PACKAGE_2_%s", list.packages[2].LanguageDataPattern());
    for (const PackageInfo& package : list.packages) {
        EXPECT_FALSE(package.Installed()) << package.ProductName();
        EXPECT_TRUE(list.choices.Selected(package))
            << package.ProductName(); // nothing installed: all selected
        EXPECT_TRUE(package.InstallerDatabase().empty());
        EXPECT_TRUE(package.TransformFile().empty());
    }
}

TEST(PackageList, UnusablePackageCodesRefuseTheWholeList) {
    for (const wchar_t* launcher : {kMissingPackageCodeLauncher, kUnsafePackageCodeLauncher}) {
        const LoadedPackages list = Load(launcher);
        EXPECT_FALSE(list.loaded) << launcher;
        EXPECT_TRUE(list.packages.empty()) << launcher; // no folder of it can be deleted at exit
    }
}

TEST(PackageList, PlatformWithCapitalXIsA32BitProduct) {
    const LoadedPackages list = Load(kCapitalX64Launcher);
    ASSERT_TRUE(list.loaded);
    ASSERT_EQ(1u, list.packages.size());
    EXPECT_FALSE(list.packages[0].Is64Bit());
    EXPECT_FALSE(list.packages[0].Products()[0].Is64Bit());
    EXPECT_EQ(L"Quenlis Halvora Server 10.1", list.packages[0].Products()[0].DisplayName());
}

TEST(PackageList, FindsTheDatabaseAnEarlierRunUnpacked) {
    const std::wstring folder = LauncherBaseFolder() + L"\\" + kHalvora101.packageCode;
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
    ASSERT_TRUE(
        CopyFileW(ProductFile(kHalvora101).c_str(), (folder + L"\\HalvoraServer101.msi").c_str(), FALSE));
    CreateDirectoryW((folder + L"\\sub.msi").c_str(), nullptr); // a folder is no database
    {
        const LoadedPackages list = Load(kTwoPackagesLauncher);
        ASSERT_EQ(2u, list.packages.size());
        EXPECT_EQ(folder + L"\\HalvoraServer101.msi", list.packages[0].InstallerDatabase());
        EXPECT_EQ(L"", list.packages[1].InstallerDatabase());
    }
    ASSERT_TRUE(CopyFileW(ProductFile(kHalvora101).c_str(), (folder + L"\\Second.msi").c_str(), FALSE));
    EXPECT_EQ(L"", Load(kTwoPackagesLauncher).packages[0].InstallerDatabase()); // two: neither
    DeleteFileW((folder + L"\\HalvoraServer101.msi").c_str());
    DeleteFileW((folder + L"\\Second.msi").c_str());
    RemoveDirectoryW((folder + L"\\sub.msi").c_str());
    RemoveDirectoryW(folder.c_str());
}

TEST(TestProducts, RegisterThemselvesAsDetectionExpects) {
    const Product* products[] = {&kHalvora101, &kKestrum317, &kZorvex2024};
    for (const Product* product : products) {
        SCOPED_TRACE(product->stem);
        ASSERT_FALSE(IsInstalled(*product));
        {
            InstalledProduct installed(*product);
            ASSERT_EQ(0u, installed.Result());
            ASSERT_TRUE(IsInstalled(*product));
            EXPECT_EQ(product->productId,
                      WindowsInstaller::GetProductInfo(product->productCode, L"ProductID"));
            EXPECT_EQ(product->versionString,
                      WindowsInstaller::GetProductInfo(product->productCode, L"VersionString"));
            EXPECT_EQ(product->productName,
                      WindowsInstaller::GetProductInfo(product->productCode, L"ProductName"));
            EXPECT_EQ(product->packageCode,
                      WindowsInstaller::GetProductInfo(product->productCode, L"PackageCode"));

            // The catalog's texts for the product match what its database registered.
            const ProductRecord record(product->productId,
                                       product == &kZorvex2024 ? L"2024.1" : product->versionString, true);
            EXPECT_EQ(product->productId, record.InstallerIdentifierText());
            EXPECT_EQ(product->versionString, record.InstallerVersionText());
            EXPECT_EQ(product->productName, record.DisplayName());

            const RegistryKey key =
                RegistryKey::Open(HKEY_LOCAL_MACHINE, product->registrationKey, RegistryView::Bits64);
            ASSERT_TRUE(key.IsOpen());
            EXPECT_EQ(product->productId, key.ReadString(L"ProductId").value_or(L""));
            EXPECT_EQ(L"en", key.ReadString(L"Language").value_or(L""));
            EXPECT_FALSE(key.ReadString(L"Version").value_or(L"").empty());
            const std::wstring application = key.ReadString(L"ApplicationPath").value_or(L"");
            EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(application.c_str())) << application;
        }
        EXPECT_FALSE(IsInstalled(*product));
        EXPECT_FALSE(
            RegistryKey::Open(HKEY_LOCAL_MACHINE, product->registrationKey, RegistryView::Bits64).IsOpen());
    }
}

TEST(TestProducts, FailOnRequestAndInstallInTheTransformsLanguage) {
    EXPECT_EQ(ERROR_INSTALL_FAILURE, Install(kKestrum317, L"FAIL_PACKAGE=Kestrum"));
    EXPECT_FALSE(IsInstalled(kKestrum317));
    {
        // Another product's name does not make it fail.
        InstalledProduct installed(kKestrum317, {},
                                   L"FAIL_PACKAGE=HalvoraServer TRANSFORMS=" +
                                       ProductFile(kKestrum317, L"_1031.mst"));
        ASSERT_EQ(0u, installed.Result());
        EXPECT_EQ(L"1031", WindowsInstaller::GetProductInfo(kKestrum317.productCode, L"Language"));
        const RegistryKey key =
            RegistryKey::Open(HKEY_LOCAL_MACHINE, kKestrum317.registrationKey, RegistryView::Bits64);
        EXPECT_EQ(L"de", key.ReadString(L"Language").value_or(L""));
    }
}

TEST(TestProducts, TransformsApplyToTheDatabase) {
    struct Case {
        const wchar_t* language;
        const wchar_t* code;
    };
    for (const Case c :
         {Case{L"1034", L"es"}, Case{L"1036", L"fr"}, Case{L"1041", L"ja"}, Case{L"2052", L"zh"}}) {
        SCOPED_TRACE(c.language);
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        const std::wstring copy = std::wstring(temp) + L"transform-test.msi";
        ASSERT_TRUE(CopyFileW(ProductFile(kZorvex2024).c_str(), copy.c_str(), FALSE));
        {
            MsiHandle database;
            ASSERT_EQ(0u, WindowsInstaller::OpenDatabase(copy, MSIDBOPEN_TRANSACT, database));
            ASSERT_EQ(0u, WindowsInstaller::ApplyTransform(
                              database.Get(),
                              ProductFile(kZorvex2024, L"_" + std::wstring(c.language) + L".mst"), 0));
            MsiHandle view;
            ASSERT_EQ(0u, WindowsInstaller::OpenView(
                              database.Get(),
                              L"SELECT `Value` FROM `Property` WHERE `Property`='ProductLanguage' OR "
                              L"`Property`='QUENLIS_LANGUAGE'",
                              view));
            ASSERT_EQ(0u, WindowsInstaller::ViewExecute(view.Get(), 0));
            std::vector<std::wstring> values;
            MsiHandle record;
            while (WindowsInstaller::ViewFetch(view.Get(), record) == 0)
                values.push_back(WindowsInstaller::RecordGetString(record.Get(), 1).value_or(L"?"));
            std::sort(values.begin(), values.end());
            EXPECT_EQ((std::vector<std::wstring>{c.language, c.code}), values);
        }
        DeleteFileW(copy.c_str());
    }
}

TEST(PackageList, DefaultSelectionFollowsTheInstalledMainProduct) {
    InstalledProduct installed(kHalvora101);
    ASSERT_EQ(0u, installed.Result());
    struct Case {
        const wchar_t* arguments;
        bool mainSelected;
        bool companionSelected;
    };
    const Case cases[] = {
        {L"", true, false},   // main installed, companion not: the companion starts deselected
        {L"/x", true, false}, // uninstall: only what is installed
        {L"/u", true, true},  // extract: everything
        {L"/f", true, false}, // repair: only what is installed
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        const LoadedPackages list = Load(kTwoPackagesLauncher, c.arguments);
        ASSERT_TRUE(list.loaded);
        ASSERT_EQ(2u, list.packages.size());
        EXPECT_TRUE(list.packages[0].Installed());
        EXPECT_FALSE(list.packages[0].InstalledFromAnotherPackage());
        EXPECT_FALSE(list.packages[1].Installed());
        EXPECT_EQ(c.mainSelected, list.choices.Selected(0));
        EXPECT_EQ(c.companionSelected, list.choices.Selected(1));
    }
}

TEST(PackageList, ProductInstalledFromAnotherPackage) {
    // The 10.1 launcher's manifest names the 10.1 package code; a product installed from a database
    // with another code counts as installed from another package.
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"other-package";
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring copy = folder + L"\\HalvoraServer101.msi";
    ASSERT_TRUE(CopyFileW(ProductFile(kHalvora101).c_str(), copy.c_str(), FALSE));
    {
        MsiHandle database;
        ASSERT_EQ(0u, WindowsInstaller::OpenDatabase(copy, MSIDBOPEN_TRANSACT, database));
        MsiHandle summary;
        ASSERT_EQ(0u, MsiGetSummaryInformationW(database.Get(), nullptr, 1, summary.Receive()));
        ASSERT_EQ(0u, MsiSummaryInfoSetPropertyW(summary.Get(), PIDSI_REVNUMBER, VT_LPSTR, 0, nullptr,
                                                 L"{00000000-1111-2222-3333-444444444444}"));
        ASSERT_EQ(0u, MsiSummaryInfoPersist(summary.Get()));
        ASSERT_EQ(0u, WindowsInstaller::Commit(database.Get()));
    }
    WindowsInstaller::SetInternalUI(INSTALLUILEVEL_NONE);
    ASSERT_EQ(0u, WindowsInstaller::InstallProduct(copy, L""));
    const LoadedPackages list = Load(kTwoPackagesLauncher);
    ASSERT_EQ(2u, list.packages.size());
    EXPECT_TRUE(list.packages[0].Installed());
    EXPECT_TRUE(list.packages[0].InstalledFromAnotherPackage());
    WindowsInstaller::SetInternalUI(INSTALLUILEVEL_NONE);
    EXPECT_EQ(0u, WindowsInstaller::InstallProduct(copy, L"REMOVE=ALL"));
    DeleteFileW(copy.c_str());
    RemoveDirectoryW(folder.c_str());
}

} // namespace
