// SubPackagesWizardPage: lets the user choose which further products the launcher carries take part in
// the run, beside the main product and its companion server. Each row shows whether its product is
// installed already or stands in the way of an installation that Next will remove first. The controls sit
// at fixed positions (see SubPackagesRules); the page owns them through its window, and each row keeps a
// copy of the installation it would remove until the next Relayout.
#pragma once

#include "launcher/ConflictCheck.h"
#include "wizard/SubPackagesRules.h"
#include "wizard/WarningStaticText_win.h"
#include "wizard/WizardPageBase_win.h"

#include <array>
#include <memory>
#include <optional>

class SubPackagesWizardPage : public WizardPageBase {
public:
    explicit SubPackagesWizardPage(PageFrame& frame);

    PageStep Prepare() override;
    void CreateControls(HWND parent, int width, int height) override;
    void Relayout() override;
    // Stores the ticks as the selection and removes the installations in the way of ticked packages;
    // Cancel when a removal fails (its result stands).
    PageStep QueryNext() override;
    // Stores the ticks as the selection.
    PageStep QueryBack() override;

protected:
    bool OnCommand(int id, int code) override;

private:
    struct Row {
        const PackageInfo* package = nullptr;
        HWND checkBox = nullptr;
        SubPackages::RowTexts texts = SubPackages::RowTexts::None;
        HWND notice = nullptr;      // shown while unticked
        HWND replacement = nullptr; // shown while ticked; the warning's control for a conflict
        std::unique_ptr<WarningStaticText> warning;
        std::optional<ProductRecord> installation; // removed on Next while ticked
    };

    // The texts of a row and the installation it would remove, from a fresh conflict check.
    void FillRowTexts(Row& row, const std::vector<ConflictRecord>& records);
    void ShowTextsByTicks();
    bool Ticked(const Row& row) const;
    void StoreSelection();

    HWND title_ = nullptr;
    HWND description_ = nullptr;
    std::array<Row, SubPackages::kRowCount> rows_;
};
