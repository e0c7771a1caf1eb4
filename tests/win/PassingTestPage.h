// PassingTestPage: stands in a slot whose real page a wizard test leaves out. It logs its activation
// like every page and passes on at once, so a run walks through the same slots as the launcher's.
#pragma once

#include "wizard/WizardPageBase_win.h"

class PassingTestPage : public WizardPageBase {
public:
    using WizardPageBase::WizardPageBase;

    PageStep Activate() override {
        WizardPageBase::Activate();
        return PageStep::Next;
    }
    void CreateControls(HWND, int, int) override {}
    void Relayout() override {}
};
