// WarningStaticText: a plain static control for warnings, drawn in dark red. It owns its control window and
// its brush. The page's colour handling (WizardPageBase) finds the warning behind a control, lets it set its
// colours and then paints the background white, so a warning shows as dark red text on white.
#pragma once

#include "support/Handle_win.h"

#include <windows.h>

#include <string>

class WarningStaticText {
public:
    static constexpr COLORREF kTextColour = RGB(100, 10, 10);
    static constexpr COLORREF kBackgroundColour = RGB(255, 200, 200);

    WarningStaticText();
    ~WarningStaticText();
    // The page finds the object through its control, so it stays where it was created.
    WarningStaticText(const WarningStaticText&) = delete;
    WarningStaticText& operator=(const WarningStaticText&) = delete;

    // Creates the visible static control as a child of `parent` with `rect` in `font`; false when the
    // system refuses the window or the control exists already.
    bool Create(HWND parent, const std::wstring& text, int id, const RECT& rect, HFONT font);
    HWND Handle() const { return window_.Get(); }

    // The control-colour hook: sets the warning's text colour on `dc` and returns its background brush.
    HBRUSH OnControlColour(HDC dc) const;
    // The warning whose control is `control`; null for any other window.
    static const WarningStaticText* FromWindow(HWND control);

private:
    GdiObject brush_; // outlives the control, which may paint until it is destroyed
    WindowHandle window_;
};
