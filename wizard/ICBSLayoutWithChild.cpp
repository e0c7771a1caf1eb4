#include "wizard/ICBSLayoutWithChild.h"

bool ICBSLayoutWithChild::NeedsLayout() const {
    return ICBSLayout::NeedsLayout() || (child_ && child_->NeedsLayout());
}

void ICBSLayoutWithChild::Show() {
    if (child_)
        child_->Show();
}

void ICBSLayoutWithChild::Hide() {
    if (child_)
        child_->Hide();
}

void ICBSLayoutWithChild::SetChild(std::unique_ptr<ICBSLayout> item, int horizontalAlignment,
                                   int verticalAlignment) {
    child_.reset();
    if (item)
        Adopt(*item, horizontalAlignment, verticalAlignment);
    child_ = std::move(item);
    UpdateSizeHint(true);
}
