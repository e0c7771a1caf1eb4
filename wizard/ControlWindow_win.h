// A widget's control window over a real Win32 control: creation as a visible child of a page, placing,
// text, measuring in the control's font, link ideal sizes and the progress bar's messages. It owns the
// control (destroyed with this object); the font belongs to the font cache or to the page.
#pragma once

#include "support/Handle_win.h"
#include "wizard/WidgetWindowIF.h"

#include <memory>
#include <string>

class ControlWindow : public ProgressWindowIF {
public:
    // Creates a control of `className` with a zero rectangle and sets its font; empty when the system
    // refuses the window.
    static std::unique_ptr<ControlWindow> Create(HWND parent, const wchar_t* className,
                                                 const std::wstring& text, DWORD style, int id, HFONT font);

    HWND Handle() const { return window_.Get(); }
    HFONT Font() const { return font_; }

    void Move(const LayoutRect& rect) override;
    void Invalidate() override;
    void Show() override;
    void Hide() override;
    void SetText(const std::wstring& text) override;
    LayoutSize MeasureText(std::wstring_view text, int wrapWidth) const override;
    LayoutSize IdealSize(int maxWidth) const override;

    void SetBarRange(int total) override;
    void StartMarquee(int stepMilliseconds) override;
    void SetBarPosition(int position) override;
    void PostNotification(unsigned message, int position) override;
    std::optional<int> TakeNotification(unsigned message) override;

private:
    ControlWindow(HWND window, HFONT font) : window_(window), font_(font) {}

    WindowHandle window_;
    HFONT font_;
};
