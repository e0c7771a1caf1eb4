// The main product's entry in the installed-programs list, rewritten around the install sequence so that
// Change and Uninstall run the launcher (which knows the sub-packages) instead of Windows Installer alone.
// Each step is decided here as a list of actions (log lines, the launcher copy, registry writes);
// the Windows half carries them out against the real keys.
#pragma once

#include "installer/InstallPlan.h"
#include "launcher/PackedProductCode.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct UninstallEntryFacts {
    std::wstring launcherCopy;     // the package folder and the launcher's file name
    std::wstring languageArgument; // " lang=<name>" when the launcher offers a language choice, else empty
    std::wstring icon;             // the installed product's "ProductIcon"; empty when it has none
    std::wstring productName;      // the package's
    bool oldSystem = false; // Windows older than 6.1 also keeps the name in the installer's products key
};

struct EntryAction {
    enum class Kind {
        Log,          // text, at level 3
        CopyLauncher, // the running launcher to the copy, replacing one that is there
        CopyLauncherIfMissing,
        ProtectCopyFolder, // the copy's folder gets an access list of its own (administrators only write)
        SetNumber,         // key, name, number
        SetText,           // key, name, text
        DeleteValue,       // key, name
    };
    enum class Key { Uninstall, Products };
    Kind kind = Kind::Log;
    Key key = Key::Uninstall;
    std::wstring name;
    std::wstring text;
    uint32_t number = 0;
};

std::vector<EntryAction> PlanUninstallEntry(EntryStep step, const UninstallEntryFacts& facts);

// How the entry runs the launcher copy: its path, quoted when it holds a space so that Windows cannot take
// a shorter path for the program.
std::wstring LauncherCommand(std::wstring_view launcherCopy);
