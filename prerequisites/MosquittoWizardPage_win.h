// MosquittoWizardPage: offers the MQTT broker's own installer, carried in the launcher, as one button that
// writes it into the main package's folder and runs it while the wizard waits (disabled, still painting).
// Nothing is installed unless the user presses the button. The page owns its layout tree and, while the
// broker's installer runs, the worker that waits for it.
#pragma once

#include "wizard/ICBSVerticalLayout.h"
#include "wizard/WizardPageBase_win.h"

#include <atomic>

class ICBSTextWidget;
class ICBSButtonWidget;

class MosquittoWizardPage : public WizardPageBase {
public:
    explicit MosquittoWizardPage(PageFrame& frame);

    PageStep Prepare() override;
    void CreateControls(HWND parent, int width, int height) override;
    void Relayout() override;

    // Writes the installer and runs it, waiting; false when it was not written (nothing carried for this
    // processor, no file, a full disk) or the application is quitting.
    bool RunBrokerInstaller();

protected:
    bool OnCommand(int id, int code) override;

private:
    // Disables (or enables again) the button, the wizard's buttons and the wizard.
    void EnableControls(bool enable);

    ICBSVerticalLayout root_{5};
    ICBSTextWidget* heading_ = nullptr;
    ICBSButtonWidget* button_ = nullptr;
    ICBSTextWidget* explanation_ = nullptr;
    std::atomic<bool> running_{false};
};
