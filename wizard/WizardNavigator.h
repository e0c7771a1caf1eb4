// WizardNavigator: moves between the wizard's page slots on Next, Back and Cancel and jumps to the finish
// page once a failure is recorded. A page's activation and its answers to Next and Back say what it wants
// next; the navigator acts on them in a loop of its own, so no page call ever runs inside another (a
// silent run walks every page from one loop). It borrows the pages (null for an empty slot) and reaches
// the dialog through WizardNavigationHostIF, so the rules run the same with real windows and in tests.
#pragma once

#include "wizard/WizardPageIF.h"

#include <functional>
#include <vector>

class WizardNavigationHostIF {
public:
    virtual ~WizardNavigationHostIF() = default;
    // A non-zero setup result that is not reported yet.
    virtual bool HasUnreportedFailure() = 0;
    virtual void ReportResult() = 0;
    // Shows the window, brings it to the foreground and activates it (the finish page after a failure).
    virtual void ShowForFinish() = 0;
    virtual void EnableBack(bool enable) = 0;
    // Ends the modal run with OK (true) or Cancel (false).
    virtual void EndWizard(bool ok) = 0;
};

class WizardNavigator {
public:
    WizardNavigator(std::vector<WizardPageIF*> slots, int finishIndex, WizardNavigationHostIF& host)
        : slots_(std::move(slots)), finishIndex_(finishIndex), host_(host) {}

    // Makes slot 0 current and activates it.
    void Start();
    // The wizard's buttons (or keys). While a page is busy inside one of its calls (a worker pumping
    // messages), a button only asks the page: what it agrees to is acted on when that call returns.
    void GoNext() { Request(PageStep::Next); }
    void GoBack() { Request(PageStep::Back); }
    void CancelWizard() { Request(PageStep::Cancel); }

    int CurrentIndex() const { return current_; }
    int PageCount() const { return static_cast<int>(slots_.size()); }
    bool HasNextPage() const;
    bool Ended() const { return ended_; }
    WizardPageIF* CurrentPage() const;

private:
    void Request(PageStep step);
    // Runs `first`, then acts on the steps it leads to until the current page waits for the user or the
    // run has ended.
    void Follow(const std::function<PageStep()>& first);
    PageStep Dispatch(PageStep step);
    PageStep Next();
    PageStep Back();
    PageStep Cancel();
    // The cancellation without asking the page: it has recorded its own result.
    PageStep GiveUp();
    // The finish page after a cancellation (or the end when there is none to go to).
    PageStep ToFinish();
    PageStep ActivateCurrent(bool enableBack);
    // Reports a recorded failure once; true when there was one to report.
    bool ReportRecordedFailure();
    void End(bool ok);

    std::vector<WizardPageIF*> slots_;
    int finishIndex_;
    WizardNavigationHostIF& host_;
    int current_ = 0;
    bool ended_ = false;
    // Inside Follow. A cancellation the page agreed to meanwhile waits for the loop in `pendingGiveUp_`.
    bool following_ = false;
    bool pendingGiveUp_ = false;
};
