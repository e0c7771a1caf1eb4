// The operations the wizard calls on a page, portable so the navigation rules are tested without
// windows. WizardPageBase implements it over a real child window.
#pragma once

class WizardPageIF {
public:
    virtual ~WizardPageIF() = default;
    virtual void Activate() = 0;
    virtual void Deactivate() = 0;
    virtual bool QueryNext() = 0;
    virtual bool QueryCancel() = 0;
    virtual bool QueryBack() = 0;
};
