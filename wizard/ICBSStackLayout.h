// A stack of pages, which it owns, of which one (the current child) is placed and shown at a time.
// Only the current child counts for the stack's size; the others stay hidden where they were last put.
#pragma once

#include "wizard/ICBSLayoutWithChildren.h"

class ICBSStackLayout : public ICBSLayoutWithChildren {
public:
    ICBSStackLayout() : ICBSLayoutWithChildren(0) {}

    bool ExpandsHorizontally() const override;
    bool ExpandsVertically() const override;
    void Show() override;

    // Appends `item` and makes it current; returns the current child.
    ICBSLayout* AddPage(std::unique_ptr<ICBSLayout> item, int horizontalAlignment = kAlignLeft,
                        int verticalAlignment = kAlignTop);
    // Hides the current child and shows `item` instead. False for an empty item or one that is not a
    // child; the former current child is then hidden but stays current. Asking for the current child
    // again changes nothing.
    bool SetCurrent(ICBSLayout* item);
    ICBSLayout* Current() const { return current_; }

protected:
    LayoutSize ContentSize() const override { return current_ ? current_->SizeHint() : LayoutSize{}; }
    bool ArrangeContent(const LayoutRect& content) override { return ArrangeSingleChild(current_, content); }
    void ChildRemoving(const ICBSLayout* item) override;

private:
    ICBSLayout* current_ = nullptr;
};
