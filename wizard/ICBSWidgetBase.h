// A widget: a control window joined with a layout item, so that it reports a size hint and the layout
// engine places its window. The widget owns its window object (destroying the widget destroys the
// control); a container owns the widget.
#pragma once

#include "wizard/ICBSLayout.h"
#include "wizard/WidgetWindowIF.h"

#include <memory>

class ICBSWidgetBase : public ICBSLayout {
public:
    void Show() override { window_->Show(); }
    void Hide() override { window_->Hide(); }

    WidgetWindowIF& Window() const { return *window_; }

protected:
    // `window` is the created control, never empty. Concrete widgets compute their hint when constructed.
    explicit ICBSWidgetBase(std::unique_ptr<WidgetWindowIF> window) : window_(std::move(window)) {}

    bool ArrangeContent(const LayoutRect& content) override;
    // Moves the window to `content`; false when the rectangle is the one the widget already has, and the
    // window is only repainted.
    bool PlaceWindow(const LayoutRect& content);
    // The width the window was last given: the width text wraps at.
    int WindowWidth() const { return windowWidth_; }

private:
    std::unique_ptr<WidgetWindowIF> window_;
    int windowWidth_ = 0;
};
