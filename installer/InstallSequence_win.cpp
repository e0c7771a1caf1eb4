#include "installer/InstallSequence_win.h"

#include "StringIds.h"
#include "extraction/PackageUnpacker_win.h"
#include "installer/InstallPlan.h"
#include "installer/InstallerErrors.h"
#include "installer/InstallerOperations_win.h"
#include "installer/UninstallEntry_win.h"
#include "launcher/InstalledProducts_win.h"
#include "launcher/ResultReport_win.h"
#include "launcher/SetupLog.h"
#include "launcher/SystemConflictSource_win.h"
#include "support/Registry_win.h"

#include <optional>

namespace {

constexpr wchar_t kMakerKey[] = L"Software\\Quenlis";
constexpr wchar_t kInstallationType[] = L"CurrentInstallationType";
constexpr int32_t kResourcesMissing = ResultCode::MsiFileNotFound;
constexpr uint32_t kFirstNewSystemMajor = 6, kFirstNewSystemMinor = 1;

InstallSequenceFacts FactsOf(const SetupContext& c, const InstallSequenceFlags& flags) {
    InstallSequenceFacts facts;
    for (const PackageInfo& package : c.packages)
        facts.packages.push_back({package.ProductName(), package.ProductId(), c.choices.Selected(package),
                                  package.Installed(), package.InstalledFromAnotherPackage(),
                                  package.Is64Bit(), package.TransformFile()});
    facts.repair = c.mode.IsRepair();
    facts.uninstall = c.mode.IsUninstall();
    facts.modify = c.mode.IsModify();
    facts.systemIs64Bit = c.system.is64Bit;
    InstallerRunFacts& run = facts.run;
    run.admin = c.commandLine.admin;
    run.statusFile = c.commandLine.statusFile;
    run.manifestProperties = c.manifestProperties;
    run.commandLineProperties = c.commandLine.properties;
    run.multiLanguage = c.multiLanguage;
    run.languageShortCode = c.languages.CurrentShortCode();
    run.languageId = c.languages.CurrentLanguageId();
    run.mainLineServerPresent = flags.mainLineServerPresent;
    run.hasServerConfiguration = flags.hasServerConfiguration;
    run.workflowServerAdvanced = flags.workflowServerAdvanced;
    run.backupOptions = c.choices.backupOptions;
    run.serviceConfiguration = c.choices.serviceConfiguration;
    run.workflowOptions = c.choices.workflowOptions;
    for (const ProductRecord& record : c.choices.quickInstallList) {
        if (record.Row())
            run.quickInstallNames.push_back(InstalledProducts::RegistryFolderName(*record.Row()));
    }
    return facts;
}

// Forgets what a custom setup of an earlier run of the main product said.
void DeleteInstallationType() {
    RegistryKey key = RegistryKey::Open(HKEY_LOCAL_MACHINE, kMakerKey, RegistryView::Bits32, KEY_ALL_ACCESS);
    if (key.IsOpen())
        key.DeleteValue(kInstallationType);
}

bool MainWasInstalledCustom() {
    const RegistryKey key = RegistryKey::Open(HKEY_LOCAL_MACHINE, kMakerKey, RegistryView::Bits32, KEY_READ);
    return key.IsOpen() && IsCustomSetupType(key.ReadString(kInstallationType).value_or(L""));
}

class SequenceRun {
public:
    SequenceRun(SetupContext& context, const InstallSequenceFlags& flags)
        : c_(context), plan_(PlanInstallSequence(FactsOf(context, flags))),
          operations_(context.log, context.mode.uiLevel, context.commandLine.reinstallMode,
                      context.commandLine.transforms, context.applicationName) {}

    void Run();

private:
    // The loop's result: the first failure, or 0.
    int32_t Loop();
    void RollBack(const PlannedOperation& op);
    // Removes the conflicting installations of the companion installed from another package; the failed
    // removal's result when one fails.
    std::optional<SetupResult> RemoveConflicts(const PackageInfo& package);
    const std::wstring& PropertiesFor(const PlannedOperation& op);
    void Entry(EntryStep step, const PackageInfo& package);

    SetupContext& c_;
    InstallPlan plan_;
    InstallerOperations operations_;
    std::optional<bool> customSetup_; // read once, when a sub-package first needs it
    bool removalFailed_ = false;
};

void SequenceRun::Entry(EntryStep step, const PackageInfo& package) {
    const LanguageEntry* language = c_.languages.Current();
    const std::wstring argument = c_.multiLanguage && language ? L" lang=" + language->name : L"";
    const WindowsVersion& version = c_.system.version;
    const bool oldSystem = version.major < kFirstNewSystemMajor ||
                           (version.major == kFirstNewSystemMajor && version.minor < kFirstNewSystemMinor);
    UninstallEntry(c_.log, package, argument, oldSystem).Run(step);
}

const std::wstring& SequenceRun::PropertiesFor(const PlannedOperation& op) {
    if (op.customSetupProperties.empty())
        return op.properties;
    if (!customSetup_)
        customSetup_ = MainWasInstalledCustom();
    return *customSetup_ ? op.customSetupProperties : op.properties;
}

std::optional<SetupResult> SequenceRun::RemoveConflicts(const PackageInfo& package) {
    std::vector<ConflictRecord> records;
    SystemConflictSource source(c_.packages.Main(), c_.languages);
    CheckConflicts(package.Products(), package.ProductId(), source, records);
    for (ConflictRecord& record : records) {
        if (!record.removable || !record.installation)
            continue;
        const std::wstring name = record.installation->DisplayName();
        c_.log.Write(kLogLevelProgress, L"SIC - Automatic uninstallation of product %s.\r\n", name);
        const SetupResult removal = InstalledProducts::RemoveInstalledProduct(
            *record.installation, c_.log, RemovalUiLevel(c_.mode.uiLevel));
        if (removal.code == 0)
            continue;
        // An unattended run must not wait for a button: the failure is logged and ends the run.
        if (removal.code == kResourcesMissing && !c_.mode.IsQuiet())
            ShowErrorMessage(c_, c_.languages.FormatString(StringId::ResourcesMissing, name));
        c_.log.Write(kLogLevelProgress, L"SIC - Uninstall failed - (%d) %s\r\n", removal.code,
                     ResultText(removal));
        return removal;
    }
    return std::nullopt;
}

void SequenceRun::RollBack(const PlannedOperation& op) {
    for (const PlannedRollback& rollback : op.rollbacks) {
        PackageInfo& package = c_.packages.At(rollback.package);
        if (rollback.unpackAgain && InstalledProducts::IsInstalled(package))
            continue; // only what this run removed is installed again
        c_.log.WriteLine(kLogLevelOperation, rollback.logLine);
        int32_t result = 0;
        if (rollback.unpackAgain) {
            operations_.ForgetTransforms(package.InstallerDatabase());
            package.SetInstallerDatabase(L"");
            const SetupResult unpacked =
                UnpackMsiPackage(package, nullptr, UnpackSettings::ForRun(c_, false), c_.log);
            if (unpacked.code != 0)
                result = unpacked.installerError != 0 ? unpacked.installerError : unpacked.code;
        }
        if (result == 0)
            result = operations_.RunInstaller(package, rollback.properties);
        // The run's result stays the failure that caused the rollback; a rollback that fails too leaves a
        // product half undone, which the administrator has to learn from this log.
        if (result != 0)
            c_.log.Write(kLogLevelOperation, L"VNT (c): Rollback failed: return code = %d\r\n", result);
    }
}

int32_t SequenceRun::Loop() {
    if (plan_.failsAtOnce)
        return *plan_.failsAtOnce;
    int32_t first = 0;
    for (const PlannedOperation& op : plan_.operations) {
        PackageInfo& package = c_.packages.At(op.package);
        if (op.prepareEntryRemoval)
            Entry(EntryStep::PrepareRemove, package);
        c_.log.WriteLine(kLogLevelOperation, op.logLine);
        if (op.removeConflictsFirst) {
            if (const auto failure = RemoveConflicts(package)) {
                c_.result = *failure;
                removalFailed_ = true;
                return failure->code;
            }
        }
        const int32_t result = op.kind == PlannedOperation::Kind::Repair
                                   ? operations_.ReinstallProduct(package)
                                   : operations_.RunInstaller(package, PropertiesFor(op));
        if (result == 0) {
            if (op.kind == PlannedOperation::Kind::Install)
                package.SetInstalledFromAnotherPackage(false);
            continue;
        }
        c_.log.Write(kLogLevelOperation, L"VNT (c): Failure: return code = %d\r\n", result);
        if (plan_.stopAtFirstFailure) {
            RollBack(op);
            return result;
        }
        if (plan_.stopOnlyWhenCancelled && result == static_cast<int32_t>(InstallerError::UserExit))
            return result;
        if (first == 0)
            first = result;
    }
    return first;
}

void SequenceRun::Run() {
    for (const std::wstring& line : plan_.prologue)
        c_.log.WriteLine(kLogLevelProgress, line);
    if (plan_.refusal) {
        ApplyInstallerResult(c_.result, *plan_.refusal);
        return;
    }
    const PackageInfo& main = c_.packages[0];
    c_.log.Write(kLogLevelProgress, L"VNT (c): rest custom installer registry\r\n");
    if (plan_.entryBefore)
        Entry(*plan_.entryBefore, main);
    c_.log.Write(kLogLevelProgress, L"VNT (c): Starting the real work\r\n");
    DeleteInstallationType();
    c_.log.Write(kLogLevelProgress, L"VNT (c): Determine install sequence\r\n");
    const int32_t result = Loop();
    DeleteInstallationType();
    if (const auto step = result == 0 ? plan_.entryAfterSuccess : plan_.entryAfterFailure)
        Entry(*step, main);
    if (removalFailed_)
        return; // the failed removal's own result stands
    ApplyInstallerResult(c_.result, result);
    // Windows Installer has shown these itself.
    if (IsReportedByInstaller(result))
        c_.result.reported = true;
}

} // namespace

void RunInstallSequence(SetupContext& context, const InstallSequenceFlags& flags) {
    if (context.packages.empty())
        return;
    SequenceRun(context, flags).Run();
}
