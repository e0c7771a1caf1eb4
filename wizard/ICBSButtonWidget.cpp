#include "wizard/ICBSButtonWidget.h"

namespace {
// Pixels added to the caption's extent, horizontally and vertically.
constexpr int kTextMarginWidth = 40;
constexpr int kTextMarginHeight = 10;
} // namespace

ICBSButtonWidget::ICBSButtonWidget(std::unique_ptr<WidgetWindowIF> window, std::wstring text)
    : ICBSWidgetBase(std::move(window)), text_(std::move(text)) {
    UpdateSizeHint(true);
}

void ICBSButtonWidget::SetText(const std::wstring& text) {
    if (text == text_)
        return;
    text_ = text;
    UpdateSizeHint(true);
    Window().SetText(text_);
}

LayoutSize ICBSButtonWidget::ContentSize() const {
    if (text_.empty())
        return {kTextMarginWidth, kTextMarginHeight};
    const LayoutSize text = Window().MeasureText(text_, 0);
    return {text.width + kTextMarginWidth, text.height + kTextMarginHeight};
}
