// The run's mode, decided once from the parsed command line and the installed state of the main product
// when the package list was built: what the run does (install, modify, repair, uninstall) and how much of
// the user interface it shows. Everything after the command line reads the mode, never the raw switches.
#pragma once

#include "launcher/CommandLine.h"

#include <cstdint>

struct SetupMode {
    bool uninstallRequested = false; // /x
    bool repairRequested = false;    // /f
    bool mainProductInstalled = false;
    int32_t uiLevel = UiLevel::Full | UiLevel::EndDialog;
    bool extract = false; // /u
    bool oemMode = false;

    bool IsUninstall() const { return uninstallRequested; }
    bool IsRepair() const { return repairRequested; }
    bool IsModify() const { return mainProductInstalled && !uninstallRequested && !repairRequested; }
    bool IsFreshInstall() const { return !mainProductInstalled && !uninstallRequested && !repairRequested; }
    // Both bits of the level value 5 are set: the wizard shows itself.
    bool IsFullUserInterface() const;
    // Levels none and basic, with or without the end dialog: no message boxes of the launcher.
    bool IsQuiet() const { return (uiLevel & 2) != 0; }
};

// The mode of a command line; the main product's installed state is filled in once the list is built.
SetupMode ModeOf(const CSetupAppCommandLineInfo& commandLine);

// Full user interface: both bits of the level value 5 are set.
bool IsFullUserInterface(int32_t uiLevel);
// The user-interface level of an installed product's automatic removal: none when the launcher runs
// without a user interface, else basic (progress and errors).
int32_t RemovalUiLevel(int32_t launcherUiLevel);
