// The package manifest of the running launcher: its texts, the package list built from them, the
// installed state of each package, and the validation mode's check of the carried resources.
#include "installer/WindowsInstaller_win.h"
#include "launcher/Console_win.h"
#include "launcher/InstalledProducts_win.h"
#include "launcher/ManifestResources_win.h"
#include "launcher/ManifestRules.h"
#include "launcher/SetupApp_win.h"
#include "launcher/SystemInfo_win.h"
#include "support/StringUtil.h"

#include <windows.h>

namespace {

// The .msi files directly in a folder (not in its sub-folders), as full paths.
std::vector<std::wstring> InstallerDatabasesIn(const std::wstring& folder) {
    std::vector<std::wstring> found;
    WIN32_FIND_DATAW entry;
    FindHandle find(FindFirstFileW((folder + L"\\*.msi").c_str(), &entry));
    if (!find)
        return found;
    do {
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            found.push_back(folder + L"\\" + entry.cFileName);
    } while (FindNextFileW(find.Get(), &entry));
    return found;
}

} // namespace

ManifestResources CSetupApp::Manifest() const {
    return ManifestResources(manifestModule_ ? manifestModule_ : GetModuleHandleW(nullptr), multiLanguage_);
}

std::wstring CSetupApp::ReadManifestString(const std::wstring& name) {
    return Manifest().ReadString(name);
}

bool CSetupApp::LoadPackages() {
    packages_.clear();
    WriteLog(kLogLevelProgress, L"VNT (c): Reading package information.\r\n");
    const ManifestResources manifest = Manifest();
    const int count = ParsePackageCount(manifest.ReadString(L"PACKAGE_COUNT"));
    if (count <= 0)
        return LoadWorkloadPackages();

    WriteLog(kLogLevelProgress, L"VNT (c): Installer contains %d packages.\r\n", count);
    // Every package code is checked before any record exists: a code that is no plain folder name
    // must not become a folder that the clean-up at exit deletes.
    std::vector<PackageDescription> descriptions;
    for (int n = 0; n < count; ++n) {
        descriptions.push_back(
            ReadManifestPackage([&](const std::wstring& name) { return manifest.ReadText(name); }, n));
        if (!IsPlainFolderName(descriptions.back().packageCode)) {
            WriteLog(kLogLevelFailure, L"VNT (c): Package %d has no usable package code '%s'.\r\n", n,
                     descriptions.back().packageCode);
            return false;
        }
    }
    for (auto& description : descriptions)
        AddPackage(std::move(description));
    return true;
}

bool CSetupApp::AddPackage(PackageDescription description) {
    if (!IsPlainFolderName(description.packageCode))
        return false;
    auto package = std::make_unique<PackageInfo>(std::move(description));

    package->SetInstalled(IsPackageInstalled(*package));
    if (package->Installed() && package->IsMsi()) {
        const auto installedCode = WindowsInstaller::GetProductInfo(package->ProductCode(), L"PackageCode");
        if (installedCode && !EqualsNoCase(*installedCode, package->PackageCode()))
            package->SetInstalledFromAnotherPackage(true);
    }

    SelectionFacts facts;
    facts.extract = commandLine_.extract;
    facts.repair = commandLine_.repair;
    facts.uninstall = commandLine_.uninstall;
    facts.main = package->IsMain();
    facts.mainExists = !packages_.empty();
    facts.mainInstalled = facts.mainExists && packages_.front()->Installed();
    facts.installed = package->Installed();
    package->SetSelected(DefaultSelection(facts));

    const std::wstring base = LauncherBaseFolder();
    package->SetPackageFolder(base.empty() ? package->PackageCode() : base + L"\\" + package->PackageCode());
    // A package unpacked by an earlier run is found again by its one database.
    const auto databases = InstallerDatabasesIn(package->PackageFolder());
    if (databases.size() == 1)
        package->SetInstallerDatabase(databases.front());

    packages_.push_back(std::move(package));
    WriteLog(kLogLevelProgress, L"VNT (c): Initialized state for package %s.\r\n",
             packages_.back()->ProductName());
    return true;
}

bool CSetupApp::IsPackageInstalled(const PackageInfo& package) {
    return InstalledProducts::IsInstalled(package);
}

bool CSetupApp::ValidateResources() {
    const ManifestResources manifest = Manifest();
    const auto wanted =
        ResourcesToValidate(ParsePackageCount(manifest.ReadString(L"PACKAGE_COUNT")), multiLanguage_);
    WriteConsoleText(L"\r\n");
    WriteConsoleText(L"Validation if all necessary resources have been compiled into setup.");
    WriteConsoleText(L"\r\n");
    bool allFound = true;
    for (const auto& resource : wanted) {
        const LANGID language =
            resource.languageCode.empty()
                ? 0
                : static_cast<LANGID>(std::wcstoul(resource.languageCode.c_str(), nullptr, 10));
        if (!manifest.Exists(resource.name, language)) {
            allFound = false;
            WriteConsoleText(ValidationFailureLine(resource));
        }
    }
    WriteConsoleText(allFound ? L"All resources have been detected." : L"Some resources are missing.");
    WriteConsoleText(L"\r\n");
    return allFound;
}
