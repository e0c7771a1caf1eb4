#include "wizard/PlaceholderWizardPage_win.h"

#include "wizard/WizardDialog_win.h"

void PlaceholderWizardPage::Activate() {
    WizardPageBase::Activate();
    // Without a full user interface the default activation has passed on already. A later page may have
    // made the run interactive meanwhile (the finish page ends a quick install): only the current page
    // moves on, or the wizard would skip past the page that waits.
    if (Wizard().CurrentPage() == this && Wizard().IsInteractive())
        Wizard().GoNext();
}
