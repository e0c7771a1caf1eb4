#include "launcher/InstalledProducts_win.h"

#include "launcher/EnvironmentChecks_win.h"
#include "launcher/NonMSIRegistration.h"
#include "support/FileUtilities_win.h"
#include "support/FolderPath.h"
#include "support/Registry_win.h"
#include "support/StringUtil.h"
#include "support/WindowsInstaller_win.h"

#include <shlobj.h>

namespace InstalledProducts {
namespace {

constexpr std::wstring_view kInstallationPrefix = L"Installation_";
constexpr wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
constexpr wchar_t kRemoveAll[] = L"REMOVE=ALL ";
constexpr DWORD kLongestKeyName = 256;

// 32-bit products register where the 32-bit launcher reads by default; naming that view keeps the
// 64-bit build reading the same keys.
RegistryView ProductView(const ProductRecord& record) {
    return record.Is64Bit() ? RegistryView::Bits64 : RegistryView::Bits32;
}

RegistryKey OpenProductKey(const ProductRecord& record) {
    const std::wstring path = ProductKeyPath(record);
    if (path.empty())
        return {};
    return RegistryKey::Open(HKEY_LOCAL_MACHINE, path, ProductView(record));
}

void MarkActiveXControl(ProductRecord& record, const std::wstring& applicationPath) {
    const std::wstring control = ActiveXControlPath(applicationPath);
    record.SetHasActiveXControl(!control.empty() && ICBSFileUtilities::Exists(control) &&
                                !ICBSFileUtilities::IsFolder(control));
}

void ScanView(const std::wstring& keyPath, RegistryView view, const std::wstring& searchingId,
              std::vector<ProductRecord>& installed) {
    const RegistryKey family = RegistryKey::Open(HKEY_LOCAL_MACHINE, keyPath, view, KEY_READ);
    if (!family.IsOpen())
        return;
    for (DWORD index = 0;; ++index) {
        wchar_t name[kLongestKeyName];
        DWORD length = kLongestKeyName;
        const LSTATUS status =
            RegEnumKeyExW(family.Get(), index, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_MORE_DATA)
            continue; // no registry key name is this long; not an installation
        if (status != ERROR_SUCCESS)
            break;
        const std::wstring subkey(name, length);
        if (!StartsWithNoCase(subkey, kInstallationPrefix))
            continue;
        const std::wstring setupPath = keyPath + L"\\" + subkey + L"\\Setup";
        const RegistryKey setup = RegistryKey::Open(HKEY_LOCAL_MACHINE, setupPath, view, KEY_READ);
        if (!setup.IsOpen())
            continue;
        const SetupValues values = ReadSetupValues(setup);
        auto record = ScannedRecordFrom(values, searchingId, setupPath);
        if (!record)
            continue;
        MarkActiveXControl(*record, values.applicationPath);
        installed.push_back(std::move(*record));
    }
}

} // namespace

SetupValues ReadSetupValues(const RegistryKey& key) {
    SetupValues values;
    values.version = key.ReadString(L"Version").value_or(L"");
    values.productId = key.ReadString(L"ProductId").value_or(L"");
    values.language = key.ReadString(L"Language").value_or(L"");
    values.installedFromSuite = key.ReadDword(L"InstalledFromPallodar").value_or(0);
    values.applicationPath = key.ReadString(L"ApplicationPath").value_or(L"");
    return values;
}

RegistryView NonMSIRegistrationView(const PackageInfo& package) {
    return package.Is64Bit() ? RegistryView::Bits64 : RegistryView::Bits32;
}

std::optional<std::wstring> NonMSIRegisteredPackageCode(const PackageInfo& package) {
    const std::wstring path = NonMSIRegistration::KeyPath(package.ProductCode());
    if (path.empty())
        return std::nullopt;
    const RegistryKey key = RegistryKey::Open(HKEY_CURRENT_USER, path, NonMSIRegistrationView(package));
    if (!key.IsOpen())
        return std::nullopt;
    return key.ReadString(NonMSIRegistration::kPackageCodeValue).value_or(L"");
}

bool IsInstalled(const PackageInfo& package) {
    if (package.InstalledFromAnotherPackage() || package.ProductCode().empty())
        return false;
    if (!package.IsMsi())
        return NonMSIRegisteredPackageCode(package).has_value();
    for (const auto& code : WindowsInstaller::EnumProducts()) {
        if (code == package.ProductCode())
            return true;
    }
    return false;
}

bool UpgradeRelation(const PackageInfo& package, UpgradeFacts& facts, std::vector<ProductRecord>& installed) {
    if (IsInstalled(package) || package.Products().empty())
        return false;
    // Suite packages (several products) have no single installation to upgrade.
    if (package.Products().size() != 1)
        return false;
    const ProductRecord& record = package.Products().front();
    auto found = FindInstalledRecord(record);
    if (!found || !found->SameFamilyKey(record))
        return false;
    facts.upgrade = record.CompareVersion(*found) >= 0;
    facts.willReplace = WillReplace(record, *found);
    facts.sameMajor = record.SameMajor(*found);
    facts.hasActiveXControl = found->HasActiveXControl();
    facts.installedDisplayName = found->DisplayName();
    installed.push_back(std::move(*found));
    return true;
}

std::wstring InstalledApplicationPath(const PackageInfo& package) {
    if (package.Products().empty() || !package.Products().front().Row())
        return {};
    const RegistryKey key = OpenProductKey(package.Products().front());
    return key.IsOpen() ? key.ReadString(L"ApplicationPath").value_or(L"") : std::wstring();
}

std::optional<ProductRecord> ReadInstalledRecord(const RegistryKey& key, const ProductRecord& searching) {
    if (!key.IsOpen())
        return std::nullopt;
    const SetupValues values = ReadSetupValues(key);
    auto record = InstalledRecordFrom(values, searching);
    if (record)
        MarkActiveXControl(*record, values.applicationPath);
    return record;
}

std::optional<ProductRecord> FindInstalledRecord(const ProductRecord& record) {
    for (const std::wstring& path : SearchedRegistrationKeys(record)) {
        const RegistryKey key = RegistryKey::Open(HKEY_LOCAL_MACHINE, path, ProductView(record), KEY_READ);
        if (auto found = ReadInstalledRecord(key, record))
            return found;
    }
    return std::nullopt;
}

bool IsVersionInstalled(const ProductRecord& record) {
    const RegistryKey key = OpenProductKey(record);
    return key.IsOpen() && RegistrationMatches(ReadSetupValues(key), record);
}

void InstalledOfFamily(const ProductRecord& record, std::vector<ProductRecord>& installed) {
    installed.clear();
    if (record.Row())
        ScanInstallations(FamilyKeyPath(*record.Row()), record, installed);
}

void InstalledOfBaseProduct(const ProductRecord& record, std::vector<ProductRecord>& installed) {
    installed.clear();
    if (!record.Row() || !ExtendsBaseProduct(*record.Row()))
        return;
    if (const ProductEdition* base = ProductCatalog::FindByKey(record.Row()->key))
        ScanInstallations(FamilyKeyPath(*base), record, installed);
}

void ScanInstallations(const std::wstring& keyPath, const ProductRecord& searching,
                       std::vector<ProductRecord>& installed) {
    const std::wstring searchingId = searching.IdentifierText();
    ScanView(keyPath, RegistryView::Bits32, searchingId, installed);
    if (Is64BitSystem())
        ScanView(keyPath, RegistryView::Bits64, searchingId, installed);
    RemoveScannedDuplicates(installed);
}

std::wstring InstalledProductCode(ProductRecord& record) {
    if (!record.ProductCode().empty())
        return record.ProductCode();
    for (const auto& code : WindowsInstaller::EnumProducts()) {
        if (!InstallerIdentifierMatches(WindowsInstaller::GetProductInfo(code, L"ProductID"), record))
            continue;
        if (!InstallerVersionMatches(WindowsInstaller::GetProductInfo(code, L"VersionString"), record))
            continue;
        if (!InstallerPlatformMatches(WindowsInstaller::GetProductInfo(code, L"ProductName"), record))
            continue;
        record.SetProductCode(code);
        return code;
    }
    return {}; // not cached: the product may be installed by the time of the next call
}

SetupResult RemoveInstalledProduct(ProductRecord& record, LogSinkIF& log, int uiLevel) {
    SetupResult result;
    const std::wstring code = InstalledProductCode(record);
    const auto source =
        code.empty() ? std::nullopt : WindowsInstaller::GetProductInfo(code, L"InstallSource");
    if (!source) {
        result.Set(ResultCode::MsiFileNotFound, 0, false);
        return result;
    }
    const auto databases = ICBSFolderPath(*source).ListFiles(L"*.msi");
    if (databases.size() != 1) {
        result.Set(ResultCode::MsiFileNotFound, 0, false);
        return result;
    }

    // The product's own uninstall entry may point elsewhere; the removal must go through Windows Installer.
    RegistryKey entry = RegistryKey::Open(HKEY_LOCAL_MACHINE, kUninstallKey + code, ProductView(record),
                                          KEY_READ | KEY_WRITE);
    if (entry.IsOpen()) {
        entry.WriteDword(L"WindowsInstaller", 1);
        entry.DeleteValue(L"DisplayIcon");
    }

    UINT error = ERROR_SUCCESS;
    {
        const InstallerLogLease lease(log);
        WindowsInstaller::SetInternalUI(uiLevel);
        error = WindowsInstaller::InstallProduct(databases.front(), kRemoveAll);
    }
    if (error != ERROR_SUCCESS)
        result.Set(ResultCode::InstallFailed, static_cast<int32_t>(error), false);
    else
        result.Set(ResultCode::Success, 0, true);
    return result;
}

std::wstring DefaultInstallFolder(const ProductRecord& record) {
    // The 32-bit launcher's program files folder is the 32-bit one on a 64-bit system; asking for it by
    // name gives the 64-bit build the same answer.
    const std::wstring programFiles = ICBSFileUtilities::KnownFolderPath(
        Is64BitSystem() ? FOLDERID_ProgramFilesX86 : FOLDERID_ProgramFiles);
    return InstalledProducts::DefaultInstallFolder(record, programFiles);
}

std::wstring InstalledFolder(const ProductRecord& record) {
    const RegistryKey key = OpenProductKey(record);
    if (!key.IsOpen())
        return {};
    return InstalledFolderFrom(key.ReadString(L"ApplicationPath").value_or(L""), record.IsServerProduct());
}

std::wstring CustomInstallFolder(const ProductRecord& record) {
    const std::wstring installed = InstalledFolder(record);
    if (installed.empty())
        return {};
    const ICBSFolderPath folder(installed);
    if (folder == ICBSFolderPath(InstalledProducts::DefaultInstallFolder(record)) || !folder.Exists())
        return {};
    return installed;
}

} // namespace InstalledProducts
