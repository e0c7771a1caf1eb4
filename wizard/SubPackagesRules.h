// The decisions of the sub-packages page that need no window: which packages it offers, what each row
// shows and does to the selection, where the rows go on the page and the description by mode. The page
// gathers the facts (installed, conflicting, named on the command line) and places what this returns.
#pragma once

#include "launcher/PackageList.h"
#include "wizard/WizardRules.h"

#include <cstddef>
#include <vector>

namespace SubPackages {

inline constexpr int kFirstCheckBoxId = 1360;
inline constexpr size_t kRowCount = 5;

// What the page knows of one offered package.
struct RowFacts {
    bool installed = false;   // its product is installed now
    bool conflicting = false; // the conflict check found at least one installation in its way
    bool named = true;        // the subPackages= option names it (no option names every package)
};

enum class RowTexts {
    None,
    AlreadyInstalled, // both texts say so; the box is unticked and cannot be ticked
    Conflict,         // the conflict's message while unticked, the replacement warning while ticked
};

struct RowPlan {
    RowTexts texts = RowTexts::None;
    // The first conflict's installation is kept with the row (Next removes it when the box is ticked).
    bool keepsInstallation = false;
    bool deselect = false;
    bool disable = false;
    int checkBoxTop = 0;
    int textTop = 0; // meaningful with texts
};

struct PagePlan {
    int titleTop = 0;
    int descriptionTop = 0;
    std::vector<RowPlan> rows; // one per offered package, in manifest order
};

// `conflictingPackages` counts every package of the launcher (main and companion too) whose check found
// something; it decides how tightly the page packs its rows.
PagePlan PlanPage(const SetupMode& mode, bool englishUserInterface, int conflictingPackages,
                  const std::vector<RowFacts>& rows);

// The description above the rows, by mode.
unsigned DescriptionStringId(const SetupMode& mode);

// The packages the page offers, by index: every one in manifest order but the main package and the
// companion server package, at most one per row.
std::vector<size_t> OfferedPackages(const PackageList& packages);

} // namespace SubPackages
