#include "wizard/ICBSStackLayout.h"

bool ICBSStackLayout::ExpandsHorizontally() const {
    return ICBSLayout::ExpandsHorizontally() || (current_ && current_->ExpandsHorizontally());
}

bool ICBSStackLayout::ExpandsVertically() const {
    return ICBSLayout::ExpandsVertically() || (current_ && current_->ExpandsVertically());
}

void ICBSStackLayout::Show() {
    // Showing every page would lay them all over each other; only the current one is visible.
    if (current_)
        current_->Show();
}

ICBSLayout* ICBSStackLayout::AddPage(std::unique_ptr<ICBSLayout> item, int horizontalAlignment,
                                     int verticalAlignment) {
    ICBSLayout* raw = item.get();
    AddChild(std::move(item), horizontalAlignment, verticalAlignment);
    SetCurrent(raw);
    return current_;
}

bool ICBSStackLayout::SetCurrent(ICBSLayout* item) {
    if (item == current_ && item)
        return true;
    if (current_)
        current_->Hide();
    if (!item || !IsChild(item))
        return false;
    current_ = item;
    // The new page must be placed even when the stack's hint stays the same, else it would keep the
    // rectangle it had when it was last current (or none at all).
    MarkNeedsLayout();
    if (!UpdateSizeHint(true))
        Apply();
    current_->Show();
    return true;
}

void ICBSStackLayout::ChildRemoving(const ICBSLayout* item) {
    // The stack must not keep pointing at a destroyed page.
    if (item == current_)
        current_ = nullptr;
}
