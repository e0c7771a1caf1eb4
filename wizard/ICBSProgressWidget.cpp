#include "wizard/ICBSProgressWidget.h"

#include <algorithm>

namespace {
constexpr int kBarHeight = 16;
constexpr int kMarqueeStepMilliseconds = 100;
} // namespace

ICBSProgressWidget::ICBSProgressWidget(std::unique_ptr<ProgressWindowIF> window, unsigned notificationMessage,
                                       int range)
    : ICBSWidgetBase(std::move(window)), bar_(static_cast<ProgressWindowIF&>(Window())),
      notificationMessage_(notificationMessage), range_(range) {
    SetExpandsHorizontally(true);
    SetBarRange(range);
    UpdateSizeHint(true);
}

void ICBSProgressWidget::SetBarRange(int total) {
    range_ = total;
    if (total > 0)
        bar_.SetBarRange(total);
    else if (total == 0)
        bar_.StartMarquee(kMarqueeStepMilliseconds);
}

void ICBSProgressWidget::SetPosition(int position) {
    SetClampedPosition(position);
}

void ICBSProgressWidget::Advance(int step) {
    // Summed wide, so that a huge step cannot overflow before it is limited to the range.
    SetClampedPosition(static_cast<long long>(position_.load()) + step);
}

void ICBSProgressWidget::SetClampedPosition(long long position) {
    const int range = range_;
    if (range <= 0)
        return;
    const int limited = static_cast<int>(std::clamp<long long>(position, 0, range));
    if (position_.exchange(limited) != limited)
        bar_.PostNotification(notificationMessage_, limited);
}

void ICBSProgressWidget::PumpProgress() {
    if (const auto position = bar_.TakeNotification(notificationMessage_))
        ApplyNotification(*position);
}

void ICBSProgressWidget::ApplyNotification(int position) {
    if (position >= 0 && position <= range_)
        bar_.SetBarPosition(position);
}

LayoutSize ICBSProgressWidget::ContentSize() const {
    return {0, kBarHeight};
}
