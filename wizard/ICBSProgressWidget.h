// A progress bar that takes the whole width. A worker moves it only by posting notifications
// (SetPosition, Advance); the user interface thread applies them with PumpProgress. A range of 0 makes an
// endless (marquee) bar that ignores positions.
#pragma once

#include "wizard/ICBSWidgetBase.h"

#include <atomic>

class ICBSProgressWidget : public ICBSWidgetBase {
public:
    ICBSProgressWidget(std::unique_ptr<ProgressWindowIF> window, unsigned notificationMessage, int range);

    // Any thread: stores `position`, limited to 0 ... range, and posts it when it differs from the last one.
    void SetPosition(int position);
    void Advance(int step);
    // User interface thread: applies one queued notification, if its position is in range.
    void PumpProgress();
    // User interface thread: applies a notification a message loop has already taken out of the queue.
    void ApplyNotification(int position);
    void SetBarRange(int total);

    int Position() const { return position_; }
    int Range() const { return range_; }

protected:
    LayoutSize ContentSize() const override;

private:
    void SetClampedPosition(long long position);

    ProgressWindowIF& bar_;
    const unsigned notificationMessage_;
    std::atomic<int> range_;
    // -1 at first, so the first position in range always posts a notification.
    std::atomic<int> position_{-1};
};
