// Package unpacking: makes each package of a run into files in its package folder (everything its cabinet
// holds, or a taxonomy package's data file) and writes the language transform beside it. The unpack
// page's worker runs UnpackPackages; the uninstall rollback unpacks single packages again. Each step
// returns its outcome; the caller records it. The caller owns the packages, the receiver and the log.
#pragma once

#include "extraction/ICBSCabinetProgressCallbacks.h"
#include "extraction/UnpackRules.h"
#include "launcher/LanguageTable.h"
#include "launcher/LogSink.h"
#include "launcher/SetupContext.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// What the run decides about unpacking, handed in by the caller (the wizard's mode, the language state).
struct UnpackSettings {
    bool installsOrModifies = false;           // a fresh install or a modification: transforms are wanted
    bool multiLanguage = false;                // the launcher offers a language choice
    const LanguageEntry* language = nullptr;   // the current user-interface language; null: English
    const std::atomic<bool>* cancel = nullptr; // the unpack page's cancel flag; null: never cancelled
    std::function<void(const std::wstring&)> showStatus; // the unpack page's status text; may be empty
    std::wstring readingPackageFormat; // "Reading contents of package %s" in the current language

    // The language state of the context, for a run that installs or modifies as given.
    static UnpackSettings ForRun(const SetupContext& context, bool installsOrModifies);
};

// The receiver of one pass: the cabinet progress of every package, weighed into one bar.
class UnpackProgressIF : public ICBSCabinetProgressCallbacks {
public:
    // The bytes of all cabinets of the pass, and of those already finished.
    virtual void SetTotalBytes(uint64_t total) = 0;
    virtual void SetBytesDoneBefore(uint64_t done) = 0;

protected:
    ~UnpackProgressIF() = default;
};

// The unpack list of a pass: the selected packages without installer database (none in a repair run),
// each with the size of its cabinet resource without the length prefix, or of its package file.
std::vector<UnpackEntry> BuildUnpackList(PackageList& packages, const SetupChoices& choices, bool repair);

// The unpack worker's body: the packages of the list in order, until the first failure or a cancel.
SetupResult UnpackPackages(const std::vector<UnpackEntry>& list, UnpackProgressIF& receiver,
                           const UnpackSettings& settings, LogSinkIF& log);
// Extracts one package's cabinet (once: not when it has an installer database already) and writes its
// language transform. Success, or result 11 (disk full), 1 with installer error 1620 (the cabinet cannot be
// read, or its resource differs from the launcher's payload record, which the log then says) or 3
// (cancelled).
SetupResult UnpackMsiPackage(PackageInfo& package, ICBSCabinetProgressCallbacks* receiver,
                             const UnpackSettings& settings, LogSinkIF& log);
// Writes a taxonomy package's data file into its package folder: success, or result 2 when it cannot be
// written.
SetupResult UnpackTaxonomyPackage(PackageInfo& package);
