// The install sequence as data: which packages are installed, modified, repaired or removed, in which
// order, with which property strings and log lines, what undoes an operation that fails, and what
// happens to the main product's installed-programs entry around the loop. PlanInstallSequence decides
// all of it from plain facts; the Windows half only carries the plan out, so the plan is tested natively
// without installing anything.
#pragma once

#include "installer/InstallProperties.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// One package as the sequence sees it, in package-list order (the first is the main package).
struct PlannedPackageFacts {
    std::wstring productName;
    std::wstring productId; // "KS::Z" and the like
    bool selected = false;
    bool installed = false;
    bool installedFromAnotherPackage = false;
    bool is64Bit = false;
    std::wstring transformFile;
};

struct InstallSequenceFacts {
    std::vector<PlannedPackageFacts> packages;
    bool repair = false, uninstall = false, modify = false;
    bool systemIs64Bit = true;
    InstallerRunFacts run;
};

// The wizard's flags that let its property strings through to the packages.
struct InstallSequenceFlags {
    bool mainLineServerPresent = false;
    bool hasServerConfiguration = false;
    bool workflowServerAdvanced = false;
};

enum class SequenceKind { Install, Modify, Repair, Uninstall };

// A step of the main product's entry in the installed-programs list (see UninstallEntryPlan.h).
enum class EntryStep { Perform, Redo, PrepareRemove, RollBack };

// An operation that undoes one the sequence did: an install removed again, or a removal installed again
// (from the package unpacked anew).
struct PlannedRollback {
    size_t package = 0;
    std::wstring logLine;
    std::wstring properties;
    bool unpackAgain = false;
};

struct PlannedOperation {
    enum class Kind { Install, Modify, Repair, Uninstall };
    Kind kind = Kind::Install;
    size_t package = 0;
    std::wstring logLine;
    // The whole property string for the installer (empty for a repair, which takes none).
    std::wstring properties;
    // A sub-package's install string when the main product was installed with the custom setup type; the
    // sequence reads that answer once, when it first meets such an operation. Empty: `properties` always.
    std::wstring customSetupProperties;
    // The companion server installed from another package: its conflicting installations go first.
    bool removeConflictsFirst = false;
    // A sub-package's removal points its own entry back at Windows Installer first.
    bool prepareEntryRemoval = false;
    // Run in order when the operation fails; a removal's rollbacks only for packages no longer installed.
    std::vector<PlannedRollback> rollbacks;
};

struct InstallPlan {
    SequenceKind kind = SequenceKind::Install;
    // The log lines before the loop ("determine installer platform" ...), each at level 3.
    std::vector<std::wstring> prologue;
    // An installer error that ends the sequence before anything is done (1633: 64-bit on 32-bit).
    std::optional<int32_t> refusal;
    // The main entry's step before the loop (the prepare-remove of a multi-package uninstall).
    std::optional<EntryStep> entryBefore;
    // An uninstall whose main package is selected but not installed fails at once with this error.
    std::optional<int32_t> failsAtOnce;
    std::vector<PlannedOperation> operations;
    // Install and uninstall stop at the first failure (after its rollbacks); modify stops only when the
    // user cancelled (1602); repair goes on. The first failure is the sequence's result.
    bool stopAtFirstFailure = true;
    bool stopOnlyWhenCancelled = false;
    // The main entry's steps after the loop, by outcome.
    std::optional<EntryStep> entryAfterSuccess, entryAfterFailure;
};

InstallPlan PlanInstallSequence(const InstallSequenceFacts& facts);

// The result code the sequence's last installer error becomes is the wizard's table; these errors were
// shown by Windows Installer itself, so the launcher reports them as already reported.
bool IsReportedByInstaller(int32_t installerError);
// 1641, 3010 and 3011: a restart started or needed counts as success, with a remark in the log.
bool IsRestartSuccess(int32_t installerError);
