// PlaceholderWizardPage: stands in a page slot whose page class is not built yet. It logs its activation
// like every page and passes on at once, so a run walks through the same slots as it will with the real
// pages. Owned by the wizard like any page.
#pragma once

#include "wizard/WizardPageBase_win.h"

class PlaceholderWizardPage : public WizardPageBase {
public:
    using WizardPageBase::WizardPageBase;

    PageStep Activate() override {
        WizardPageBase::Activate();
        return PageStep::Next;
    }
    void CreateControls(HWND, int, int) override {}
    void Relayout() override {}
};
