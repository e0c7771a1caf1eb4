// The decisions of the backup and database options page that need no window: whether it passes on,
// which panel, check boxes and description it shows, the size texts and the "Skip backup" tick from the
// measured values, the warning before Next and the options string the install operations append. The
// page owns its check boxes and the measurement; it passes their state in.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

struct SetupMode;

namespace Backup {

inline constexpr int kResetDatabaseCommand = 1534;
// Free space below the backup's size plus this margin leaves too little for the upgrade itself.
inline constexpr uint64_t kFreeSpaceMarginMiB = 4096;

// The page has nothing to ask: not a fresh install (an upgrade of an older release counts as one), or
// a run without the wizard's window.
bool PassesOn(const SetupMode& mode, bool interactive);

// The example solutions are offered when the server has no database yet, or when it is to be reset.
bool ExampleSolutionsShown(bool databaseExists, bool resetDatabaseTicked);

enum class Panel {
    None,
    Measuring, // the status and the progress bar
    Results,   // the two sizes and the skip and reset choices
};

struct PageView {
    unsigned descriptionId = 0;
    Panel panel = Panel::None;
    bool exampleSolutionsShown = false; // shown with either panel or none
    bool showPage = false;              // else the page passes on by itself
};
// The page once the measurement is over (or found nothing to measure).
PageView ViewAfterMeasuring(bool backupPossible, bool databaseExists, bool resetDatabaseTicked);

// The status above the progress bar.
unsigned StatusStringId(bool measurementFinished);

uint64_t NeededMiB(uint64_t backupBytes);
// "%d MB" up to 1024 MiB, whole "%d GB" above.
std::wstring SizeText(uint64_t mib);

// What a refresh of the values shows. skipBackup only ever ticks the box; it never clears it.
struct ShownValues {
    std::wstring backupSize;
    std::wstring freeSpace;
    bool skipBackup = false;
};
ShownValues ValuesShown(uint64_t backupBytes, uint64_t freeMiB);

// The state of the check boxes when Next is pressed.
struct Choices {
    bool skipBackup = false;
    bool resetDatabase = false;
    bool exampleSolutionsShown = false;
    bool exampleSolutions = false;
};

// The warning Next shows with OK and Cancel; empty for none. loadString gives a string of the tables.
std::wstring WarningText(const Choices& choices, const std::function<std::wstring(unsigned id)>& loadString);

// "RESET_DATABASE=true", "SKIP_BACKUP=true" and "UPGRADE_SAMPLES_PARAM=--nosamples" as they apply, in
// this order, joined by single spaces; empty when none does.
std::wstring OptionsString(const Choices& choices);

} // namespace Backup
