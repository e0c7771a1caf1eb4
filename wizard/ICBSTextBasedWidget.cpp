#include "wizard/ICBSTextBasedWidget.h"

#include <algorithm>

namespace {
// Room a check box or radio button keeps for its box or circle, and between it and the text.
constexpr int kBoxSize = 16;
constexpr int kBoxTextGap = 2;
constexpr int kUnplacedWrapWidth = 1 << 20;
} // namespace

ICBSTextBasedWidget::ICBSTextBasedWidget(std::unique_ptr<WidgetWindowIF> window, std::wstring text, bool wrap)
    : ICBSWidgetBase(std::move(window)), text_(std::move(text)), wrap_(wrap) {
    SetExpandsHorizontally(wrap);
}

void ICBSTextBasedWidget::SetText(const std::wstring& text) {
    if (text == text_)
        return;
    if (InvalidatesBeforeTextChange())
        Window().Invalidate();
    text_ = text;
    // A control that measures itself must hold the new text first, or its hint would lag one text behind.
    if (MeasuresThroughControl()) {
        Window().SetText(text_);
        UpdateSizeHint(true);
        return;
    }
    UpdateSizeHint(true);
    Window().SetText(text_);
}

bool ICBSTextBasedWidget::ArrangeContent(const LayoutRect& content) {
    if (!PlaceWindow(content))
        return false;
    const LayoutRect& given = PendingGeometry();
    const LayoutSize hint = SizeHint();
    if (given.width >= hint.width && given.height >= hint.height)
        return false;
    if (wrap_ && content.width < 1)
        return false;
    // Measure again for the new width; the container arranges once more with the new hint.
    UpdateSizeHint(false);
    return true;
}

LayoutSize ICBSTextBasedWidget::MeasureText(int reserved) const {
    if (wrap_ && WindowWidth() >= 1)
        return Window().MeasureText(text_, std::max(1, WindowWidth() - reserved));
    // Not placed yet: a wrapping text is measured on a width nothing fills, so that its own line breaks
    // still count. Measured as one line, a short text of two lines would seem to fit its place and keep
    // the height of one.
    if (wrap_)
        return Window().MeasureText(text_, kUnplacedWrapWidth);
    return Window().MeasureText(text_, 0);
}

LayoutSize ICBSTextBasedWidget::BoxedTextSize() const {
    if (text_.empty())
        return {kBoxSize, kBoxSize};
    // The text wraps in the room beside the box, not across the whole width, or its last line is cut.
    const LayoutSize text = MeasureText(kBoxSize + kBoxTextGap);
    return {text.width + kBoxSize + kBoxTextGap, std::max(kBoxSize, text.height)};
}
