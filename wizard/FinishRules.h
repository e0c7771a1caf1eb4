// The decisions of the finish page that need no window: which follow-up tools the installed products
// offer, the texts that report the run's outcome by mode, and where the tools are looked for.
#pragma once

#include "wizard/WizardRules.h"

#include <string>
#include <string_view>
#include <vector>

namespace Finish {

struct ToolOffers {
    bool taxonomyTool = false;
    bool schemaTool = false;
    bool workflowSetup = false;

    bool Any() const { return taxonomyTool || schemaTool || workflowSetup; }
};

// What the product names of the installed packages offer (names searched with letter case counting).
ToolOffers OfferedTools(const std::vector<std::wstring>& installedProductNames);

// The string ids of the outcome report; hint 0 means no second sentence.
struct OutcomeStrings {
    unsigned title = 0;
    unsigned outcome = 0;
    unsigned hint = 0;
};
OutcomeStrings OutcomeStringIds(const SetupMode& mode, bool success);

// The tool boxes are for a run that brought a product onto the machine: a successful run that was no
// uninstall.
bool ShowsToolBoxes(const SetupMode& mode, bool success);

// A shared tool in the common application-data folder; empty when that folder is unknown, so that a
// missing folder never turns into a path relative to the current drive.
std::wstring SharedToolPath(std::wstring_view commonAppDataFolder, std::wstring_view fileName);
// The workflow setup beside the installed application; empty when the application path names no folder
// (a bare name would be looked for in the current folder).
std::wstring WorkflowSetupPath(std::wstring_view applicationPath);

inline constexpr wchar_t kTaxonomyToolFile[] = L"ZettoraFrontend.exe";
inline constexpr wchar_t kSchemaToolFile[] = L"WexlinFrontend.exe";
inline constexpr wchar_t kWorkflowSetupFile[] = L"GavrinWeb Setup Launcher.exe";

} // namespace Finish
