// The wizard's fixed rules: which pages a run consists of (decided once from the package list) and the
// flags the install operations read. Portable, so the rules are tested without windows.
#pragma once

#include "launcher/SetupMode.h"

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
