#include "wizard/InstallWizardPage_win.h"

PageStep InstallWizardPage::Activate() {
    PageFrame& frame = Frame();
    const bool wasVisible = frame.IsVisible();
    frame.SetVisible(false);
    const WizardFlags& flags = frame.Flags();
    frame.Services().RunInstallSequence(
        {flags.mainLineServerPresent, flags.hasServerConfiguration, flags.workflowServerAdvanced});
    // A failure shows the wizard with the finish page anyway; the last filled slot ends the wizard unseen.
    if (wasVisible && frame.HasNextPage())
        frame.SetVisible(true);
    return PageStep::Next;
}
