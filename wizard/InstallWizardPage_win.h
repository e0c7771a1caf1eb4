// InstallWizardPage: the slot of Windows Installer packages. A page without controls: when it becomes
// current it hides the wizard, runs the install sequence (Windows Installer's own dialogs are the visible
// interface meanwhile), shows the wizard again when it was visible and a page follows, and moves on in
// every mode. Owned by the wizard like any page; the sequence works on the application's packages.
#pragma once

#include "wizard/WizardPageBase_win.h"

class InstallWizardPage : public WizardPageBase {
public:
    explicit InstallWizardPage(PageFrame& frame) : WizardPageBase(frame, L"Install (hidden)") {}

    // Replaces the default activation: no log line, no buttons, never waits for the user.
    PageStep Activate() override;
    void CreateControls(HWND, int, int) override {}
    void Relayout() override {}
};
