// WizardNavigator: moves between the wizard's page slots on Next, Back and Cancel and jumps to the
// finish page once a failure is recorded. It borrows the pages (null for an empty slot) and reaches the
// dialog through WizardNavigationHostIF, so the rules run the same with real windows and in tests.
#pragma once

#include "wizard/WizardPageIF.h"

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
    void GoNext();
    void GoBack();
    void CancelWizard();

    int CurrentIndex() const { return current_; }
    int PageCount() const { return static_cast<int>(slots_.size()); }
    int FinishIndex() const { return finishIndex_; }
    bool HasNextPage() const;
    bool Ended() const { return ended_; }
    WizardPageIF* CurrentPage() const;

private:
    // Reports a recorded failure once; true when there was one to report.
    bool ReportRecordedFailure();
    void End(bool ok);

    std::vector<WizardPageIF*> slots_;
    int finishIndex_;
    WizardNavigationHostIF& host_;
    int current_ = 0;
    // Pages call GoNext from inside their activation; once the run has ended, late calls change nothing.
    bool ended_ = false;
};
