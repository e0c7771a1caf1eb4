// What the launcher removes when it ends: the folder clean-up rules and the self-deleting batch that
// removes the main package's folder after a successful uninstall.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct ExitFacts {
    size_t packageCount = 0;
    bool mainIsMsi = true;      // installer type "msi", any case
    bool mainInstalled = false; // the main package's product is installed now
    bool uninstall = false;     // /x
    bool repair = false;        // /f
    bool oemMode = false;
    int32_t resultCode = 0;
};

enum class ExitAction {
    PruneMsiFolders, // delete the folder of every package whose product is not installed
};

// The clean-up rules in their order; each may apply, so a prune can appear more than once.
std::vector<ExitAction> PlanFolderCleanup(const ExitFacts& facts);
// After a successful uninstall of a launcher with sub-packages, the main folder goes with a batch file that
// outlives the launcher.
bool WantsSelfDelete(const ExitFacts& facts);

// The batch text for a folder: it removes the folder once nothing holds it open, then itself. The folder is
// quoted so that a path with spaces names the folder itself.
std::wstring SelfDeleteBatchText(std::wstring_view folder);
// True when path names something strictly below folder (both absolute Windows paths; no ".." or "."
// components, quotes or percent signs allowed in path; letter case ignored). The batch is written only for
// such a folder.
bool IsStrictlyInsideFolder(std::wstring_view path, std::wstring_view folder);
