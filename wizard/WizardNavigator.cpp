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
    Follow([this] { return ActivateCurrent(false); });
}

void WizardNavigator::Request(PageStep step) {
    if (ended_)
        return;
    if (!following_) {
        Follow([this, step] { return Dispatch(step); });
        return;
    }
    // A page call is under way and pumps messages (a worker runs). Only Cancel can be pressed then; the
    // page answers at once (it stops its worker), and the loop acts once the call has returned.
    if (step == PageStep::Cancel) {
        WizardPageIF* page = CurrentPage();
        if (!page || page->QueryCancel())
            pendingGiveUp_ = true;
    }
}

void WizardNavigator::Follow(const std::function<PageStep()>& first) {
    following_ = true;
    PageStep step = first();
    while (!ended_) {
        if (pendingGiveUp_) {
            pendingGiveUp_ = false;
            step = GiveUp();
            continue;
        }
        if (step == PageStep::Stay)
            break;
        step = Dispatch(step);
    }
    following_ = false;
}

PageStep WizardNavigator::Dispatch(PageStep step) {
    switch (step) {
    case PageStep::Next:
        return Next();
    case PageStep::Back:
        return Back();
    case PageStep::Cancel:
        return Cancel();
    case PageStep::Stay:
        break;
    }
    return PageStep::Stay;
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

PageStep WizardNavigator::ActivateCurrent(bool enableBack) {
    WizardPageIF* page = CurrentPage();
    if (!page) {
        End(true);
        return PageStep::Stay;
    }
    if (enableBack)
        host_.EnableBack(true);
    return page->Activate();
}

PageStep WizardNavigator::Next() {
    WizardPageIF* page = CurrentPage();
    if (!page) {
        End(true);
        return PageStep::Stay;
    }
    // A refusal keeps the index; a recorded failure still moves to the finish page, and otherwise the
    // same page is activated once more.
    const int asked = current_;
    const PageStep answer = page->QueryNext();
    if (answer == PageStep::Cancel)
        return GiveUp();
    if (answer == PageStep::Next) {
        page->Deactivate();
        ++current_;
    }
    if (ReportRecordedFailure()) {
        // Any page but the finish page itself leads there, the one just before it too.
        if (finishIndex_ > 0 && asked != finishIndex_) {
            current_ = finishIndex_;
            host_.ShowForFinish();
        } else {
            current_ = PageCount();
        }
    }
    return ActivateCurrent(true);
}

PageStep WizardNavigator::Back() {
    WizardPageIF* page = CurrentPage();
    if (!page)
        return PageStep::Stay;
    const PageStep answer = page->QueryBack();
    if (answer == PageStep::Next)
        return PageStep::Next;
    if (answer != PageStep::Back)
        return PageStep::Stay;
    // Back on the first page means leaving the wizard: the page's Cancel rules decide.
    if (current_ == 0)
        return PageStep::Cancel;
    page->Deactivate();
    --current_;
    if (current_ == 0)
        host_.EnableBack(false);
    return ActivateCurrent(false);
}

PageStep WizardNavigator::Cancel() {
    if (WizardPageIF* page = CurrentPage(); page && !page->QueryCancel())
        return PageStep::Stay;
    return GiveUp();
}

PageStep WizardNavigator::GiveUp() {
    if (WizardPageIF* page = CurrentPage())
        page->Deactivate();
    return ToFinish();
}

PageStep WizardNavigator::ToFinish() {
    if (finishIndex_ > 0 && finishIndex_ != current_) {
        ReportRecordedFailure();
        current_ = finishIndex_;
        return ActivateCurrent(false);
    }
    End(false);
    return PageStep::Stay;
}
