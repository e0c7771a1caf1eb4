// FinishWizardPage: the last page. Reports the run's outcome in the words of its mode and, after a
// successful run that left certain server products installed, offers to start their follow-up tools,
// which Finish starts through the wizard's services. Owns its layout tree and product icon; the tool boxes
// belong to the actions column, which is rebuilt on every activation.
#pragma once

#include "support/Handle_win.h"
#include "wizard/FinishRules.h"
#include "wizard/ICBSCheckboxWidget.h"
#include "wizard/ICBSTextWidget.h"
#include "wizard/ICBSVerticalLayout.h"
#include "wizard/WizardPageBase_win.h"

#include <string>

class FinishWizardPage : public WizardPageBase {
public:
    static constexpr int kTaxonomyToolBoxId = 1357;
    static constexpr int kSchemaToolBoxId = 1401;
    static constexpr int kWorkflowSetupBoxId = 1404;

    explicit FinishWizardPage(PageFrame& frame);

    PageStep Activate() override;
    PageStep Prepare() override;
    void CreateControls(HWND parent, int width, int height) override;
    void Relayout() override;
    PageStep QueryNext() override;
    // The run is over: leaving the last page records nothing.
    bool QueryCancel() override { return true; }

    const Finish::ToolOffers& Offers() const { return offers_; }

private:
    void RebuildActions();
    bool IsTicked(int boxId) const;
    void SetTicked(int boxId, bool ticked) const;
    // The tools only start when the user could see their boxes.
    bool ToolBoxesShown() const;
    void StartSharedTool(const wchar_t* fileName);
    void StartWorkflowSetup();

    IconHandle productIcon_;
    ICBSVerticalLayout root_{5};
    ICBSVerticalLayout* actions_ = nullptr;
    ICBSTextWidget* title_ = nullptr;
    ICBSTextWidget* outcome_ = nullptr;
    ICBSTextWidget* hint_ = nullptr;
    ICBSTextWidget* closing_ = nullptr;
    ICBSCheckboxWidget* taxonomyBox_ = nullptr;
    ICBSCheckboxWidget* schemaBox_ = nullptr;
    ICBSCheckboxWidget* workflowBox_ = nullptr;
    ICBSTextWidget* workflowNote_ = nullptr;
    Finish::ToolOffers offers_;
};
