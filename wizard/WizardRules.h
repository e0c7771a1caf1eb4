// The wizard's fixed rules: which pages a run consists of (decided once from the package list), the
// flags the install operations read, the mode predicates and the table that turns an installer error
// into a setup result. Portable, so the rules are tested without windows.
#pragma once

#include "launcher/SetupResult.h"

#include <cstdint>
#include <string>
#include <vector>

// The kinds of page slots; a page class plugs into its kind. Empty is a slot that ends the wizard.
enum class WizardPageKind {
    Welcome,
    SubPackages,
    HVOptions,
    Mosquitto,
    SystemIntegrity,
    WebView2,
    Unpack,
    ServiceConfiguration,
    Install,
    NonMSIInstall,
    Empty,
    Finish,
};

// The most slots a page list can have.
constexpr size_t kWizardPageSlots = 11;

// What the page list needs to know of one package, in manifest order (the first is the main package).
struct WizardPackageFacts {
    std::wstring productName;
    std::wstring productId;
    std::wstring installerType;
    bool hasServerConfiguration = false;
};

struct WizardFlags {
    bool mainLineServerPresent = false;
    bool workflowServerAdvanced = false;
    bool hasServerConfiguration = false;
};

WizardFlags ComputeWizardFlags(const std::vector<WizardPackageFacts>& packages);

// The page slots in order; the finish page is always last.
std::vector<WizardPageKind> BuildWizardPageList(const std::vector<WizardPackageFacts>& packages,
                                                bool uninstallRequested);

// The slot index of the finish page, -1 when there is none.
int FinishIndexOf(const std::vector<WizardPageKind>& pages);

// The log name of a page kind (empty for the empty slot).
std::wstring WizardPageLogName(WizardPageKind kind);

// The run's mode as the command line and the installed state decide it.
struct WizardMode {
    bool uninstallRequested = false;
    bool repairRequested = false;
    bool mainProductInstalled = false;

    bool IsUninstall() const { return uninstallRequested; }
    bool IsRepair() const { return repairRequested; }
    bool IsModify() const { return mainProductInstalled && !uninstallRequested && !repairRequested; }
    bool IsFreshInstall() const { return !mainProductInstalled && !uninstallRequested && !repairRequested; }
};

// Full user interface: both bits of the level value 5 are set.
bool IsFullUserInterface(int32_t uiLevel);

// The result code an installer error stands for (1602 -> 3, 1620 -> 1, 1633 -> 10, 1638 -> 8, else 2).
int32_t ResultCodeForInstallerError(int32_t installerError);
// Records the installer error as an unreported setup result; 0 leaves the result unchanged.
void ApplyInstallerResult(SetupResult& result, int32_t installerError);
