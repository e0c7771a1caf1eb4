// A widget showing a text: keeps a copy of the control's text so that a new text updates the size hint
// before the control repaints. A wrapping widget wraps at its width and so expands horizontally, and when
// it gets less room than it asked for it asks again for the new width (height for width).
#pragma once

#include "wizard/ICBSWidgetBase.h"

#include <string>

class ICBSTextBasedWidget : public ICBSWidgetBase {
public:
    const std::wstring& Text() const { return text_; }
    bool Wraps() const { return wrap_; }
    // Nothing at all for the text the widget already has; otherwise the hint follows the new text and the
    // tree rearranges as far as needed.
    void SetText(const std::wstring& text);

protected:
    ICBSTextBasedWidget(std::unique_ptr<WidgetWindowIF> window, std::wstring text, bool wrap);

    bool ArrangeContent(const LayoutRect& content) override;
    // Static and link controls do not erase their old text themselves.
    virtual bool InvalidatesBeforeTextChange() const { return false; }
    // The control computes the size of its text itself (links: the markup is not shown).
    virtual bool MeasuresThroughControl() const { return false; }
    // The text's extent: wrapped within the window's width less `reserved` pixels (at least 1) when the
    // widget wraps and has a width, else on one line.
    LayoutSize MeasureText(int reserved = 0) const;
    // Check boxes and radio buttons: the text beside the box (or circle) of 16 pixels and a gap of 2.
    LayoutSize BoxedTextSize() const;

private:
    std::wstring text_;
    bool wrap_;
};
