// NonMSIInstallWizardPage: the install page of a launcher whose main package is not a Windows Installer
// package. It runs its installer's operation for the run's mode on a worker, shows the installer's status
// line and progress, turns Escape into the installer's Cancel, records the outcome and moves on. The page
// owns its controls; the installer is the wizard's, lent for the run.
#pragma once

#include "installer/SetupAsyncInstallProcessIF.h"
#include "wizard/ICBSVerticalLayout.h"
#include "wizard/PostedText.h"
#include "wizard/WizardPageBase_win.h"

class ICBSTextWidget;
class ICBSProgressWidget;

class NonMSIInstallWizardPage : public WizardPageBase, public SetupReportAsyncProgressIF {
public:
    // Without an installer the page moves on at once.
    NonMSIInstallWizardPage(PageFrame& frame, SetupAsyncInstallProcessIF* installer);

    PageStep Prepare() override;
    // Cancel while the installer runs stops it as Escape does, so that the wait for its worker (the page
    // base's) ends after the current step instead of after the whole operation.
    bool QueryCancel() override;
    void CreateControls(HWND parent, int width, int height) override;
    void Relayout() override;

    // The installer's reports, from the worker's thread.
    void SetProgressRange(int total) override;
    void SetStatusText(const std::wstring& text) override;
    void SetProgressPosition(int position) override;
    void AdvanceProgress(int step) override;

    const SetupResult& Outcome() const { return outcome_; }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    SetupAsyncInstallProcessIF* installer_;
    bool running_ = false; // the user-interface thread's own
    SetupResult outcome_;  // written by the worker, read once it has ended
    PostedText statusText_;
    ICBSVerticalLayout root_{5};
    ICBSTextWidget* status_ = nullptr;
    ICBSProgressWidget* progress_ = nullptr;
};
