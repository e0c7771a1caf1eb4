#include "launcher/PackageListBuilder_win.h"

#include "launcher/InstalledProducts_win.h"
#include "launcher/ManifestRules.h"
#include "launcher/NonMSIRegistration.h"
#include "launcher/SetupLog.h"
#include "launcher/SubPackageSelection.h"
#include "launcher/SystemInfo_win.h"
#include "support/StringUtil.h"
#include "support/WindowsInstaller_win.h"

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

bool PackageListBuilder::Build(const ManifestResources& manifest) {
    context_.packages.Clear();
    context_.manifestProperties = manifest.ReadText(L"PROPERTIES");
    context_.log.Write(kLogLevelProgress, L"VNT (c): Reading package information.\r\n");
    const int count = ParsePackageCount(manifest.ReadString(L"PACKAGE_COUNT"));
    if (count <= 0)
        return ReadWorkload(context_.commandLine.workload, *this);

    context_.log.Write(kLogLevelProgress, L"VNT (c): Installer contains %d packages.\r\n", count);
    // Every package code is checked before any record exists: a code that is no plain folder name
    // must not become a folder that the clean-up at exit deletes.
    std::vector<PackageDescription> descriptions;
    for (int n = 0; n < count; ++n) {
        descriptions.push_back(
            ReadManifestPackage([&](const std::wstring& name) { return manifest.ReadText(name); }, n));
        if (!IsPlainFolderName(descriptions.back().packageCode)) {
            context_.log.Write(kLogLevelFailure, L"VNT (c): Package %d has no usable package code '%s'.\r\n",
                               n, descriptions.back().packageCode);
            return false;
        }
    }
    for (auto& description : descriptions)
        Add(std::move(description));
    return true;
}

bool PackageListBuilder::Add(PackageDescription description) {
    if (!IsPlainFolderName(description.packageCode))
        return false;
    PackageInfo package(std::move(description));

    package.SetInstalled(InstalledProducts::IsInstalled(package));
    if (package.Installed() && package.IsMsi()) {
        const auto installedCode = WindowsInstaller::GetProductInfo(package.ProductCode(), L"PackageCode");
        if (installedCode && !EqualsNoCase(*installedCode, package.PackageCode()))
            package.SetInstalledFromAnotherPackage(true);
    } else if (package.Installed()) {
        const auto registeredCode = InstalledProducts::NonMSIRegisteredPackageCode(package);
        package.SetInstalledFromAnotherPackage(
            registeredCode && NonMSIRegistration::FromAnotherPackage(*registeredCode, package.PackageCode()));
    }

    const PackageInfo* main = context_.packages.Main();
    SelectionFacts facts;
    facts.extract = context_.mode.extract;
    facts.repair = context_.mode.IsRepair();
    facts.uninstall = context_.mode.IsUninstall();
    facts.main = package.IsMain();
    facts.mainExists = main != nullptr;
    facts.mainInstalled = main && main->Installed();
    facts.installed = package.Installed();
    context_.choices.Select(context_.packages.size(), DefaultSelection(facts));

    const std::wstring base = LauncherBaseFolder();
    package.SetPackageFolder(base.empty() ? package.PackageCode() : base + L"\\" + package.PackageCode());
    // A package unpacked by an earlier run is found again by its one database.
    const auto databases = InstallerDatabasesIn(package.PackageFolder());
    if (databases.size() == 1)
        package.SetInstallerDatabase(databases.front());

    const std::wstring name = package.ProductName();
    context_.packages.Add(std::move(package));
    if (context_.packages.size() == 1)
        context_.mode.mainProductInstalled = context_.packages[0].Installed();
    context_.log.Write(kLogLevelProgress, L"VNT (c): Initialized state for package %s.\r\n", name);
    return true;
}

void PackageListBuilder::ApplySubPackageSelection() {
    std::vector<std::wstring> names;
    for (const PackageInfo& package : context_.packages)
        names.push_back(package.ProductName());
    const auto selection =
        SelectSubPackages(names, context_.commandLine.subPackages, [this](const std::wstring& line) {
            context_.log.WriteLine(kLogLevelProgress, line);
        });
    for (size_t i = 0; i < selection.size(); ++i) {
        if (selection[i])
            context_.choices.Select(i, *selection[i]);
    }
}
