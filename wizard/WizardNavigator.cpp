#include "wizard/WizardNavigator.h"

WizardPageIF* WizardNavigator::CurrentPage() const {
    if (current_ < 0 || current_ >= PageCount())
        return nullptr;
    return slots_[current_];
}

bool WizardNavigator::HasNextPage() const {
    return current_ + 1 < PageCount() && slots_[current_ + 1] != nullptr;
}

void WizardNavigator::Start() {
    current_ = 0;
    if (WizardPageIF* page = CurrentPage())
        page->Activate();
    else
        End(true);
}

bool WizardNavigator::ReportRecordedFailure() {
    if (!host_.HasUnreportedFailure())
        return false;
    host_.ReportResult();
    return true;
}

void WizardNavigator::End(bool ok) {
    if (ended_)
        return;
    ended_ = true;
    host_.EndWizard(ok);
}

void WizardNavigator::GoNext() {
    if (ended_)
        return;
    if (WizardPageIF* page = CurrentPage(); page && page->QueryNext()) {
        page->Deactivate();
        ++current_;
    }
    if (ReportRecordedFailure()) {
        if (finishIndex_ > 0 && finishIndex_ != current_) {
            current_ = finishIndex_;
            host_.ShowForFinish();
        } else {
            current_ = PageCount();
        }
    }
    if (WizardPageIF* page = CurrentPage()) {
        host_.EnableBack(true);
        page->Activate();
    } else {
        End(true);
    }
}

void WizardNavigator::GoBack() {
    if (ended_)
        return;
    WizardPageIF* page = CurrentPage();
    if (!page || !page->QueryBack())
        return;
    if (current_ == 0) {
        // Back on the first page means leaving the wizard: the page's Cancel rules decide.
        CancelWizard();
        return;
    }
    page->Deactivate();
    --current_;
    if (current_ == 0)
        host_.EnableBack(false);
    if (WizardPageIF* previous = CurrentPage())
        previous->Activate();
}

void WizardNavigator::CancelWizard() {
    if (ended_)
        return;
    if (WizardPageIF* page = CurrentPage()) {
        if (!page->QueryCancel())
            return;
        page->Deactivate();
    }
    if (finishIndex_ > 0 && finishIndex_ != current_) {
        ReportRecordedFailure();
        current_ = finishIndex_;
        if (WizardPageIF* finish = CurrentPage())
            finish->Activate();
        return;
    }
    End(false);
}
