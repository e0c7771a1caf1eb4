#include "wizard/ICBSTextWidget.h"

ICBSTextWidget::ICBSTextWidget(std::unique_ptr<WidgetWindowIF> window, std::wstring text, bool wrap)
    : ICBSTextBasedWidget(std::move(window), std::move(text), wrap) {
    UpdateSizeHint(true);
}

LayoutSize ICBSTextWidget::ContentSize() const {
    if (Text().empty())
        return {};
    return MeasureText();
}
