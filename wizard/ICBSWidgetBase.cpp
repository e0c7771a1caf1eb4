#include "wizard/ICBSWidgetBase.h"

bool ICBSWidgetBase::ArrangeContent(const LayoutRect& content) {
    PlaceWindow(content);
    return false;
}

bool ICBSWidgetBase::PlaceWindow(const LayoutRect& content) {
    if (PendingGeometry() == Geometry()) {
        window_->Invalidate();
        return false;
    }
    window_->Move(content);
    windowWidth_ = content.width;
    return true;
}
