// Package unpacking: makes each package of a run into files in its package folder (everything its cabinet
// holds, or a taxonomy package's data file) and writes the language transform beside it. The unpack
// page's worker runs UnpackPackages; the uninstall rollback unpacks single packages again. Results go
// into the setup result of the setup context, which the caller owns, as do the packages.
#pragma once

#include "extraction/ExtractionProgressHandler_win.h"
#include "extraction/ICBSCabinetProgressCallbacks.h"
#include "extraction/UnpackRules.h"
#include "launcher/LanguageTable.h"
#include "launcher/PackageInfo.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class CSetupApp;

// What the run decides about unpacking, handed in by the caller (the wizard's mode, the language state).
struct UnpackSettings {
    bool installsOrModifies = false;           // a fresh install or a modification: transforms are wanted
    bool multiLanguage = false;                // the launcher offers a language choice
    const LanguageEntry* language = nullptr;   // the current user-interface language; null: English
    const std::atomic<bool>* cancel = nullptr; // the unpack page's cancel flag; null: never cancelled
    std::function<void(const std::wstring&)> showStatus; // the unpack page's status text; may be empty

    // The language state of the setup context, for a run that installs or modifies as given.
    static UnpackSettings ForRun(const CSetupApp& app, bool installsOrModifies);
};

// The unpack list of a pass: the selected packages without installer database (none in a repair run),
// each with the size of its cabinet resource without the length prefix, or of its package file.
std::vector<UnpackEntry> BuildUnpackList(CSetupApp& app, bool repair);

// The unpack worker's body. Returns the thread result (1603 on failure, 0 on success).
int UnpackPackages(CSetupApp* app, const std::vector<UnpackEntry>& list, ExtractionProgressHandler& receiver,
                   const UnpackSettings& settings);
// Extracts one package's cabinet (once: not when it has an installer database already) and writes its
// language transform. 0, or 11 (disk full), 1620 (cabinet failure) or 1603 (cancelled).
int UnpackMsiPackage(CSetupApp& app, PackageInfo& package, ICBSCabinetProgressCallbacks* receiver,
                     const UnpackSettings& settings);
// Writes a taxonomy package's data file into its package folder: 0, or 2 when it cannot be written.
int UnpackTaxonomyPackage(PackageInfo& package);
