#include "server/BackupOptionsRules.h"

#include "StringIds.h"
#include "launcher/SetupMode.h"
#include "server/BackupMeasurement.h"

namespace Backup {

namespace {

constexpr uint64_t kMiBPerGB = 1024;
constexpr std::wstring_view kWarningSeparator = L"\n\n";

void AppendOption(std::wstring& options, std::wstring_view option) {
    if (!options.empty())
        options += L' ';
    options += option;
}

} // namespace

bool PassesOn(const SetupMode& mode, bool interactive) {
    return !mode.IsFreshInstall() || !interactive;
}

bool ExampleSolutionsShown(bool databaseExists, bool resetDatabaseTicked) {
    return !databaseExists || resetDatabaseTicked;
}

PageView ViewAfterMeasuring(bool backupPossible, bool databaseExists, bool resetDatabaseTicked) {
    PageView view;
    view.panel = backupPossible ? Panel::Results : Panel::None;
    view.exampleSolutionsShown = ExampleSolutionsShown(databaseExists, resetDatabaseTicked);
    view.descriptionId =
        view.exampleSolutionsShown && !backupPossible ? StringId::InstallExamplesHint : StringId::BackupIntro;
    view.showPage = backupPossible || view.exampleSolutionsShown;
    return view;
}

unsigned StatusStringId(bool measurementFinished) {
    return measurementFinished ? StringId::CalculationFinished : StringId::CalculatingDiskSpace;
}

uint64_t NeededMiB(uint64_t backupBytes) {
    return backupBytes / kBytesPerMiB;
}

std::wstring SizeText(uint64_t mib) {
    return mib > kMiBPerGB ? std::to_wstring(mib / kMiBPerGB) + L" GB" : std::to_wstring(mib) + L" MB";
}

ShownValues ValuesShown(uint64_t backupBytes, uint64_t freeMiB) {
    const uint64_t needed = NeededMiB(backupBytes);
    return {SizeText(needed), SizeText(freeMiB), freeMiB < needed + kFreeSpaceMarginMiB};
}

std::wstring WarningText(const Choices& choices, const std::function<std::wstring(unsigned id)>& loadString) {
    std::wstring warning;
    if (choices.skipBackup)
        warning = loadString(StringId::SkipBackupWarning);
    if (choices.resetDatabase) {
        if (!warning.empty())
            warning += kWarningSeparator;
        warning += loadString(StringId::ResetDatabaseWarning);
    }
    return warning;
}

std::wstring OptionsString(const Choices& choices) {
    std::wstring options;
    if (choices.resetDatabase)
        AppendOption(options, L"RESET_DATABASE=true");
    if (choices.skipBackup)
        AppendOption(options, L"SKIP_BACKUP=true");
    if (choices.exampleSolutionsShown && !choices.exampleSolutions)
        AppendOption(options, L"UPGRADE_SAMPLES_PARAM=--nosamples");
    return options;
}

} // namespace Backup
