#include "extraction/PackageUnpacker_win.h"

#include "extraction/CabinetExtractor_win.h"
#include "extraction/PackageResources_win.h"
#include "extraction/UnpackRules.h"
#include "launcher/SetupApp_win.h"
#include "support/FileUtilities_win.h"

namespace {

constexpr unsigned kStringReadingPackage = 5;

bool Cancelled(const UnpackSettings& settings) {
    return settings.cancel && settings.cancel->load();
}

bool CreatePackageFolder(const std::wstring& folder) {
    ICBSFileUtilities::EnsureParentFolder(folder);
    return ICBSFileUtilities::CreateFolder(folder, false);
}

// 0, or 11 when the transform could not be written for lack of disk space.
int WriteLanguageTransform(PackageInfo& package, const UnpackSettings& settings) {
    const LanguageEntry* language = settings.language;
    if (!language ||
        !WantsLanguageTransform(settings.multiLanguage, settings.installsOrModifies, language->languageId))
        return 0;
    const auto bytes = PackageResourceBytes(
        TransformResourceName(package.LanguageDataPattern(), language->code), language->languageId);
    if (!bytes)
        return 0; // the package installs in its database's own language
    const std::wstring path = package.PackageFolder() + L"\\" + TransformFileName(language->suffix);
    const FileWriteResult written = WriteWholeFile(path, *bytes);
    if (written == FileWriteResult::DiskFull)
        return ResultCode::DiskFull;
    // A transform cut short must not reach the installer: without it the package still installs.
    if (written == FileWriteResult::Written)
        package.SetTransformFile(path);
    return 0;
}

} // namespace

UnpackSettings UnpackSettings::ForRun(const CSetupApp& app, bool installsOrModifies) {
    UnpackSettings settings;
    settings.installsOrModifies = installsOrModifies;
    settings.multiLanguage = app.IsMultiLanguage();
    settings.language = app.Languages().Current();
    return settings;
}

std::vector<UnpackEntry> BuildUnpackList(CSetupApp& app, bool repair) {
    std::vector<UnpackEntry> list;
    for (PackageInfo* package : PackagesToUnpack(app.Packages(), repair))
        list.push_back({package, PackageDataSize(package->PackageData())});
    return list;
}

int UnpackPackages(CSetupApp* app, const std::vector<UnpackEntry>& list, ExtractionProgressHandler& receiver,
                   const UnpackSettings& settings) {
    if (!app)
        return 1603;
    if (Cancelled(settings))
        return app->SetResultCode(ResultCode::InstallFailed);
    uint64_t total = 0;
    for (const auto& entry : list)
        total += entry.size;
    receiver.SetTotalBytes(total);
    uint64_t done = 0;
    for (const auto& entry : list) {
        receiver.SetBytesDoneBefore(done);
        done += entry.size;
        if (Cancelled(settings))
            return app->SetResultCode(ResultCode::UserCancelled);
        const int result = IsTaxonomyPackage(entry.package->InstallerType())
                               ? UnpackTaxonomyPackage(*entry.package)
                               : UnpackMsiPackage(*app, *entry.package, &receiver, settings);
        if (result != 0 && !Cancelled(settings)) {
            app->WriteLog(kLogLevelFailure, L"VNT (c): Error extracting cabinet file - %d.\r\n", result);
            return app->SetResultCode(result);
        }
    }
    return app->SetResultCode(Cancelled(settings) ? ResultCode::UserCancelled : ResultCode::Success);
}

int UnpackMsiPackage(CSetupApp& app, PackageInfo& package, ICBSCabinetProgressCallbacks* receiver,
                     const UnpackSettings& settings) {
    CreatePackageFolder(package.PackageFolder());
    if (package.InstallerDatabase().empty()) {
        if (Cancelled(settings))
            return app.SetResultCode(ResultCode::UserCancelled);
        app.WriteLog(kLogLevelOperation, L"VNT (c): Extracting resource: %s\r\n", package.PackageData());
        if (settings.showStatus)
            settings.showStatus(app.Languages().FormatString(kStringReadingPackage, package.PackageData()));
        const bool extracted =
            ExtractPackageCabinet(package.PackageData(), package.PackageFolder(), receiver);
        if (!extracted && !Cancelled(settings))
            return CabinetExtractor::DiskFull() ? ResultCode::DiskFull : kCabinetFailure;
        if (package.IsMsi())
            package.SetInstallerDatabase(
                SingleInstallerDatabase(ICBSFileUtilities::ListFiles(package.PackageFolder(), L"*.msi")));
    }
    return WriteLanguageTransform(package, settings);
}

int UnpackTaxonomyPackage(PackageInfo& package) {
    CreatePackageFolder(package.PackageFolder());
    const std::wstring name = FileNamePart(package.PackageData());
    package.SetInstallerDatabase(name);
    return WriteTaxonomyFile(package.PackageData(), package.PackageFolder() + L"\\" + name)
               ? ResultCode::Success
               : ResultCode::InstallFailed;
}
