#include "extraction/PackageUnpacker_win.h"

#include "StringIds.h"
#include "extraction/CabinetExtractor_win.h"
#include "extraction/PackageResources_win.h"
#include "extraction/PayloadCheck_win.h"
#include "extraction/UnpackRules.h"
#include "launcher/SetupLog.h"
#include "support/FileUtilities_win.h"

namespace {

bool Cancelled(const UnpackSettings& settings) {
    return settings.cancel && settings.cancel->load();
}

bool CreatePackageFolder(const std::wstring& folder) {
    ICBSFileUtilities::EnsureParentFolder(folder);
    return ICBSFileUtilities::CreateFolder(folder, false);
}

// Success, result 11 when the transform could not be written for lack of disk space, or the failure of an
// unreadable package when the transform differs from the launcher's record of it.
SetupResult WriteLanguageTransform(PackageInfo& package, const UnpackSettings& settings, LogSinkIF& log) {
    const LanguageEntry* language = settings.language;
    if (!language ||
        !WantsLanguageTransform(settings.multiLanguage, settings.installsOrModifies, language->languageId))
        return {};
    const std::wstring name = TransformResourceName(package.LanguageDataPattern(), language->code);
    const auto bytes = PackageResourceBytes(name, language->languageId);
    if (!bytes)
        return {}; // the package installs in its database's own language
    // A damaged transform would change the installation in ways nobody chose: the run ends as with a
    // damaged package.
    if (!LauncherResourceMatches(PayloadKind::Transform, name, language->languageId)) {
        log.Write(kLogLevelFailure,
                  L"VNT (c): Transform resource %s does not match its recorded SHA-256 hash.\r\n", name);
        SetupResult failure;
        ApplyInstallerResult(failure, kCabinetFailure);
        return failure;
    }
    const std::wstring path = package.PackageFolder() + L"\\" + TransformFileName(language->suffix);
    const FileWriteResult written = WriteWholeFile(path, *bytes);
    if (written == FileWriteResult::DiskFull)
        return SetupResult::Code(ResultCode::DiskFull);
    // A transform cut short must not reach the installer: without it the package still installs.
    if (written == FileWriteResult::Written)
        package.SetTransformFile(path);
    return {};
}

} // namespace

UnpackSettings UnpackSettings::ForRun(const SetupContext& context, bool installsOrModifies) {
    UnpackSettings settings;
    settings.installsOrModifies = installsOrModifies;
    settings.multiLanguage = context.multiLanguage;
    settings.language = context.languages.Current();
    settings.readingPackageFormat = context.languages.LoadString(StringId::ReadingPackage);
    return settings;
}

std::vector<UnpackEntry> BuildUnpackList(PackageList& packages, const SetupChoices& choices, bool repair) {
    std::vector<UnpackEntry> list;
    for (size_t index : PackagesToUnpack(packages, choices, repair)) {
        PackageInfo& package = packages.At(index);
        list.push_back({&package, PackageDataSize(package.PackageData())});
    }
    return list;
}

SetupResult UnpackPackages(const std::vector<UnpackEntry>& list, UnpackProgressIF& receiver,
                           const UnpackSettings& settings, LogSinkIF& log) {
    if (Cancelled(settings))
        return SetupResult::Code(ResultCode::InstallFailed);
    uint64_t total = 0;
    for (const auto& entry : list)
        total += entry.size;
    receiver.SetTotalBytes(total);
    uint64_t done = 0;
    for (const auto& entry : list) {
        receiver.SetBytesDoneBefore(done);
        done += entry.size;
        if (Cancelled(settings))
            return SetupResult::Code(ResultCode::UserCancelled);
        const SetupResult outcome = IsTaxonomyPackage(entry.package->InstallerType())
                                        ? UnpackTaxonomyPackage(*entry.package)
                                        : UnpackMsiPackage(*entry.package, &receiver, settings, log);
        if (outcome.Failed() && !Cancelled(settings)) {
            // The line names the installer error of a cabinet failure, else the result code.
            log.Write(kLogLevelFailure, L"VNT (c): Error extracting cabinet file - %d.\r\n",
                      outcome.installerError ? outcome.installerError : outcome.code);
            return outcome;
        }
    }
    return SetupResult::Code(Cancelled(settings) ? ResultCode::UserCancelled : ResultCode::Success);
}

SetupResult UnpackMsiPackage(PackageInfo& package, ICBSCabinetProgressCallbacks* receiver,
                             const UnpackSettings& settings, LogSinkIF& log) {
    CreatePackageFolder(package.PackageFolder());
    if (package.InstallerDatabase().empty()) {
        if (Cancelled(settings))
            return SetupResult::Code(ResultCode::UserCancelled);
        log.Write(kLogLevelOperation, L"VNT (c): Extracting resource: %s\r\n", package.PackageData());
        if (settings.showStatus)
            settings.showStatus(Format(settings.readingPackageFormat, package.PackageData()));
        const ExtractionOutcome extracted =
            ExtractPackageCabinet(package.PackageData(), package.PackageFolder(), receiver, log);
        if (extracted == ExtractionOutcome::DiskFull && !Cancelled(settings))
            return SetupResult::Code(ResultCode::DiskFull);
        if (extracted != ExtractionOutcome::Extracted && !Cancelled(settings)) {
            // The installer's "package cannot be opened", read through the table of installer errors.
            SetupResult failure;
            ApplyInstallerResult(failure, kCabinetFailure);
            return failure;
        }
        if (package.IsMsi())
            package.SetInstallerDatabase(
                SingleInstallerDatabase(ICBSFileUtilities::ListFiles(package.PackageFolder(), L"*.msi")));
    }
    return WriteLanguageTransform(package, settings, log);
}

SetupResult UnpackTaxonomyPackage(PackageInfo& package) {
    CreatePackageFolder(package.PackageFolder());
    const std::wstring name = FileNamePart(package.PackageData());
    package.SetInstallerDatabase(name);
    return SetupResult::Code(WriteTaxonomyFile(package.PackageData(), package.PackageFolder() + L"\\" + name)
                                 ? ResultCode::Success
                                 : ResultCode::InstallFailed);
}
