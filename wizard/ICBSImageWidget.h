// An icon picture. The Windows layer reads the icon's size from its bitmaps (half the mask's height for a
// monochrome icon) and hands it over; (0, 0) without an icon.
#pragma once

#include "wizard/ICBSWidgetBase.h"

class ICBSImageWidget : public ICBSWidgetBase {
public:
    ICBSImageWidget(std::unique_ptr<WidgetWindowIF> window, LayoutSize iconSize);

protected:
    LayoutSize ContentSize() const override { return iconSize_; }

private:
    LayoutSize iconSize_;
};
