#include "wizard/PlaceholderWizardPage_win.h"

#include "wizard/WizardDialog_win.h"

void PlaceholderWizardPage::Activate() {
    WizardPageBase::Activate();
    // Without a full user interface the default activation has passed on already.
    if (Wizard().IsInteractive())
        Wizard().GoNext();
}
