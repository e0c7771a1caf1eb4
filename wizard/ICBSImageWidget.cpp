#include "wizard/ICBSImageWidget.h"

ICBSImageWidget::ICBSImageWidget(std::unique_ptr<WidgetWindowIF> window, LayoutSize iconSize)
    : ICBSWidgetBase(std::move(window)), iconSize_(iconSize) {
    UpdateSizeHint(true);
}
