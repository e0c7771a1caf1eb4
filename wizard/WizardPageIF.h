// The operations the wizard's navigator calls on a page, portable so the navigation rules are tested
// without windows. A page never moves the wizard itself: its activation and its answers to Next and Back
// tell the navigator what it wants, and the navigator acts on that in its own loop. WizardPageBase
// implements it over a real child window.
#pragma once

enum class PageStep {
    Stay,   // wait for the user (after an activation), or refuse (after a query)
    Next,   // move on, as Next would: the page's QueryNext is asked
    Back,   // go back one page
    Cancel, // cancel the wizard (after QueryNext: the page gave up with its result recorded; no QueryCancel)
};

class WizardPageIF {
public:
    virtual ~WizardPageIF() = default;
    // Stay, Next or Cancel (Back too, as if the user pressed it).
    virtual PageStep Activate() = 0;
    virtual void Deactivate() = 0;
    // Next (agreed), Stay (refused) or Cancel.
    virtual PageStep QueryNext() = 0;
    virtual bool QueryCancel() = 0;
    // Back (agreed), Stay (refused) or Next (move forward instead).
    virtual PageStep QueryBack() = 0;
};
