// The main product's installed-programs entry, rewritten around the install sequence: carries out the
// actions of UninstallEntryPlan against the registry (the product's "Uninstall" key, and on old systems
// the installer's products key) and the disk (the launcher copy in the main package's folder). Keys are
// opened, never created; a key that does not open is skipped. Borrows the log and the package.
#pragma once

#include "installer/UninstallEntryPlan.h"
#include "launcher/LogSink.h"
#include "launcher/PackageInfo.h"

#include <string>

class UninstallEntry {
public:
    // languageArgument: " lang=<name>" when the launcher offers a language choice, else empty.
    UninstallEntry(LogSinkIF& log, const PackageInfo& package, std::wstring languageArgument, bool oldSystem);

    void Run(EntryStep step);

private:
    void Carry(const EntryAction& action, const UninstallEntryFacts& facts, const std::wstring& launcher);

    LogSinkIF& log_;
    const PackageInfo& package_;
    std::wstring languageArgument_;
    bool oldSystem_;
};
