#include "wizard/ICBSTextWithHyperlinksWidget.h"

namespace {
// The width a link text may take when it does not wrap: in effect, no limit.
constexpr int kUnwrappedLinkWidth = 10000;
} // namespace

ICBSTextWithHyperlinksWidget::ICBSTextWithHyperlinksWidget(std::unique_ptr<WidgetWindowIF> window,
                                                           std::wstring text, bool wrap)
    : ICBSTextBasedWidget(std::move(window), std::move(text), wrap) {
    UpdateSizeHint(true);
}

LayoutSize ICBSTextWithHyperlinksWidget::ContentSize() const {
    if (Text().empty())
        return {};
    return Window().IdealSize(Wraps() && WindowWidth() >= 1 ? WindowWidth() : kUnwrappedLinkWidth);
}
