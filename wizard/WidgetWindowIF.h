// What a widget needs of its control window: placing, showing, repainting, its text, and measuring text
// in the control's font. The Windows layer implements it over a real control; the widget owns the object,
// and destroying the object destroys the control.
#pragma once

#include "wizard/LayoutGeometry.h"

#include <optional>
#include <string>
#include <string_view>

class WidgetWindowIF {
public:
    virtual ~WidgetWindowIF() = default;

    // Moves and sizes the control without activating it or changing its stacking order.
    virtual void Move(const LayoutRect& rect) = 0;
    // Has the whole control repainted.
    virtual void Invalidate() = 0;
    virtual void Show() = 0;
    virtual void Hide() = 0;
    // The control's own handling of a new text (after the widget has updated its copy and its hint).
    virtual void SetText(const std::wstring& text) = 0;
    // The extent of `text` in the control's font, word-wrapped within `wrapWidth` when that is at least 1,
    // otherwise on one line.
    virtual LayoutSize MeasureText(std::wstring_view text, int wrapWidth) const = 0;
    // For link controls: the control's ideal size for its current text within `maxWidth`. Other controls
    // measure their text instead.
    virtual LayoutSize IdealSize(int maxWidth) const = 0;
};

// A progress bar control. The bar is only set on the user interface thread; a worker reaches it through
// notification messages posted to the bar's parent window and taken out again by the widget.
class ProgressWindowIF : public WidgetWindowIF {
public:
    // Range 0 ... total (total > 0).
    virtual void SetBarRange(int total) = 0;
    // An endless bar that moves every `stepMilliseconds`.
    virtual void StartMarquee(int stepMilliseconds) = 0;
    virtual void SetBarPosition(int position) = 0;
    // Posts `message` with `position` as its first parameter to the parent window; any thread may call it.
    virtual void PostNotification(unsigned message, int position) = 0;
    // Takes one queued `message` out of the calling thread's queue and returns its position, if there is one.
    virtual std::optional<int> TakeNotification(unsigned message) = 0;
};
