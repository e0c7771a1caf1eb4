// One package of the manifest or workload: what the launcher was told about it, the product records
// resolved from that, what detection found when the list was built, and the files the unpacking made for
// it (installer database, transform file). The package list owns these records; the first record is the
// main package, and each record owns its product records. Whether a package takes part in the run is the
// user's choice and lives in SetupChoices.
#pragma once

#include "launcher/ProductRecord.h"

#include <string>
#include <vector>

// What the manifest (or a workload) says about one package.
struct PackageDescription {
    std::wstring productName;
    std::wstring productCode; // may be empty (workload)
    std::wstring packageCode; // names the package folder
    std::wstring productId;   // "HV::Z" and the like
    std::wstring version;     // "10.1.0.1"
    bool is64Bit = false;
    std::wstring packageData;         // resource name "PACKAGE_n", or a package file path (workload)
    std::wstring languageDataPattern; // "PACKAGE_n_%s": the transform pattern, "%s" taking a language code
    bool main = false;
    std::wstring installerType = L"msi";
};

class PackageInfo {
public:
    // The most product records a package can have.
    static constexpr size_t kMaxProducts = 8;

    // Stores the description and builds the product records. The installed state, the selection, the
    // package folder and the installer database are set by whoever builds the package list.
    explicit PackageInfo(PackageDescription description);

    bool IsMain() const { return d_.main; }
    const std::wstring& ProductName() const { return d_.productName; }
    const std::wstring& ProductCode() const { return d_.productCode; }
    const std::wstring& PackageCode() const { return d_.packageCode; }
    const std::wstring& PackageData() const { return d_.packageData; }
    const std::wstring& LanguageDataPattern() const { return d_.languageDataPattern; }
    const std::wstring& ProductId() const { return d_.productId; }
    const std::wstring& Version() const { return d_.version; }
    bool Is64Bit() const { return d_.is64Bit; }
    const std::wstring& InstallerType() const { return d_.installerType; }
    // Installer type "msi" in any letter case: a Windows Installer package.
    bool IsMsi() const;

    const std::wstring& PackageFolder() const { return packageFolder_; }
    void SetPackageFolder(std::wstring folder) { packageFolder_ = std::move(folder); }
    // Full path of the package's .msi file once known; empty otherwise.
    const std::wstring& InstallerDatabase() const { return installerDatabase_; }
    void SetInstallerDatabase(std::wstring path) { installerDatabase_ = std::move(path); }
    // The language transform written beside the database; empty when none.
    const std::wstring& TransformFile() const { return transformFile_; }
    void SetTransformFile(std::wstring path) { transformFile_ = std::move(path); }

    // The state found when the record was built; detection asks afresh when it matters.
    bool Installed() const { return installed_; }
    void SetInstalled(bool installed) { installed_ = installed; }
    bool InstalledFromAnotherPackage() const { return installedFromAnotherPackage_; }
    void SetInstalledFromAnotherPackage(bool value) { installedFromAnotherPackage_ = value; }
    // The package's place in its list (0: the main package); set when the list takes the record.
    size_t Index() const { return index_; }
    void SetIndex(size_t index) { index_ = index; }

    const std::vector<ProductRecord>& Products() const { return products_; }
    std::vector<ProductRecord>& Products() { return products_; }

    // Exactly one product, and it is the companion server (any edition) or its offline edition.
    bool IsCompanionServerPackage() const;
    bool IsCompanionOfflinePackage() const;
    bool IsSuitePackage() const { return products_.size() > 1; }
    bool IsServerProduct() const { return !products_.empty() && products_.front().IsServerProduct(); }
    bool IsDesktopProduct() const { return !products_.empty() && products_.front().IsDesktopProduct(); }

private:
    PackageDescription d_;
    std::wstring packageFolder_;
    std::wstring installerDatabase_;
    std::wstring transformFile_;
    bool installed_ = false;
    bool installedFromAnotherPackage_ = false;
    size_t index_ = 0;
    std::vector<ProductRecord> products_;
};
