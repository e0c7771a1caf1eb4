#include "wizard/ICBSLayout.h"

#include <algorithm>

void ICBSLayout::Apply() {
    if (geometry_.width < 1 && geometry_.height < 1)
        return;
    SetGeometry(geometry_);
}

bool ICBSLayout::SetGeometry(const LayoutRect& rect) {
    if (rect == geometry_ && !NeedsLayout())
        return false;
    const LayoutRect content{rect.x + marginLeft_, rect.y + marginTop_,
                             std::max(0, rect.width - marginRight_ - marginLeft_),
                             std::max(0, rect.height - marginBottom_ - marginTop_)};
    pending_ = rect;
    const bool changed = ArrangeContent(content);
    StoreGeometry(rect);
    return changed;
}

void ICBSLayout::StoreGeometry(const LayoutRect& rect) {
    geometry_ = rect;
    needsLayout_ = false;
}

bool ICBSLayout::HintFitsGeometry() const {
    const bool widthFits =
        sizeHint_.width == geometry_.width || (sizeHint_.width < geometry_.width && ExpandsHorizontally());
    const bool heightFits =
        sizeHint_.height == geometry_.height || (sizeHint_.height < geometry_.height && ExpandsVertically());
    return widthFits && heightFits;
}

bool ICBSLayout::UpdateSizeHint(bool propagate) {
    const LayoutSize content = ContentSize();
    const LayoutSize hint{marginLeft_ + marginRight_ + content.width,
                          marginTop_ + marginBottom_ + content.height};
    if (hint == sizeHint_)
        return false;
    sizeHint_ = hint;
    if (!propagate)
        return true;
    needsLayout_ = true;
    if (HintFitsGeometry()) {
        // The new hint still fits: rearrange inside the rectangle and leave the parent alone.
        Apply();
        return false;
    }
    if (!parent_) {
        Apply();
        return true;
    }
    // A parent that absorbed the change without a new hint of its own must still rearrange its children.
    if (!parent_->UpdateSizeHint(true))
        parent_->Apply();
    return true;
}

void ICBSLayout::SetMargins(int left, int right, int top, int bottom) {
    marginLeft_ = left;
    marginRight_ = right;
    marginTop_ = top;
    marginBottom_ = bottom;
    UpdateSizeHint(true);
}

void ICBSLayout::SetLeftMargin(int left) {
    marginLeft_ = left;
    UpdateSizeHint(true);
}

void ICBSLayout::SetTopMargin(int top) {
    marginTop_ = top;
    UpdateSizeHint(true);
}

void ICBSLayout::Adopt(ICBSLayout& item, int horizontalAlignment, int verticalAlignment) {
    item.horizontalAlignment_ = horizontalAlignment;
    item.verticalAlignment_ = verticalAlignment;
    item.parent_ = this;
}

bool ICBSLayout::ArrangeSingleChild(ICBSLayout* child, const LayoutRect& content) {
    if (!child)
        return false;
    // A child whose hint changed with the room it got (a text wrapping at its new width) is placed once
    // more with its new hint; the parent's own rectangle may not change, so nobody else would do it.
    bool hintChanged = false;
    for (int pass = 0; pass < 2; ++pass) {
        const LayoutSize hint = child->SizeHint();
        const int width = child->ExpandsHorizontally() ? content.width : hint.width;
        const int height = child->ExpandsVertically() ? content.height : hint.height;
        const LayoutRect cell{content.x + AlignedOffset(content.width, width, child->HorizontalAlignment()),
                              content.y + AlignedOffset(content.height, height, child->VerticalAlignment()),
                              width, height};
        if (!child->SetGeometry(cell))
            break;
        hintChanged = true;
    }
    return hintChanged && UpdateSizeHint(false);
}
