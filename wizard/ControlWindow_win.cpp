#include "wizard/ControlWindow_win.h"

#include <commctrl.h>

std::unique_ptr<ControlWindow> ControlWindow::Create(HWND parent, const wchar_t* className,
                                                     const std::wstring& text, DWORD style, int id,
                                                     HFONT font) {
    HWND window = CreateWindowExW(0, className, text.c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0,
                                  parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                  GetModuleHandleW(nullptr), nullptr);
    if (!window)
        return nullptr;
    if (font)
        SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return std::unique_ptr<ControlWindow>(new ControlWindow(window, font));
}

void ControlWindow::Move(const LayoutRect& rect) {
    SetWindowPos(Handle(), nullptr, rect.x, rect.y, rect.width, rect.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void ControlWindow::Invalidate() {
    InvalidateRect(Handle(), nullptr, TRUE);
}

void ControlWindow::Show() {
    ShowWindow(Handle(), SW_SHOW);
}

void ControlWindow::Hide() {
    ShowWindow(Handle(), SW_HIDE);
}

void ControlWindow::SetText(const std::wstring& text) {
    SetWindowTextW(Handle(), text.c_str());
}

LayoutSize ControlWindow::MeasureText(std::wstring_view text, int wrapWidth) const {
    const WindowDC dc(Handle());
    if (!dc || text.empty())
        return {};
    const SelectedObject selected(dc.Get(), font_);
    // One line is measured from a width of 1: the rectangle grows to the text.
    RECT rect{0, 0, wrapWidth >= 1 ? wrapWidth : 1, 0};
    const UINT format = DT_CALCRECT | (wrapWidth >= 1 ? DT_WORDBREAK : DT_SINGLELINE);
    DrawTextW(dc.Get(), text.data(), static_cast<int>(text.size()), &rect, format);
    return {static_cast<int>(rect.right - rect.left), static_cast<int>(rect.bottom - rect.top)};
}

LayoutSize ControlWindow::IdealSize(int maxWidth) const {
    // The ideal-height request fills in the whole size when given room for one (the ideal-size request).
    SIZE size{};
    SendMessageW(Handle(), LM_GETIDEALHEIGHT, static_cast<WPARAM>(maxWidth), reinterpret_cast<LPARAM>(&size));
    return {static_cast<int>(size.cx), static_cast<int>(size.cy)};
}

void ControlWindow::SetBarRange(int total) {
    // A bar that was endless becomes a plain bar again.
    const LONG_PTR style = GetWindowLongPtrW(Handle(), GWL_STYLE);
    if (style & PBS_MARQUEE) {
        SendMessageW(Handle(), PBM_SETMARQUEE, FALSE, 0);
        SetWindowLongPtrW(Handle(), GWL_STYLE, style & ~static_cast<LONG_PTR>(PBS_MARQUEE));
    }
    SendMessageW(Handle(), PBM_SETRANGE32, 0, total);
}

void ControlWindow::StartMarquee(int stepMilliseconds) {
    SetWindowLongPtrW(Handle(), GWL_STYLE, GetWindowLongPtrW(Handle(), GWL_STYLE) | PBS_MARQUEE);
    SendMessageW(Handle(), PBM_SETMARQUEE, TRUE, stepMilliseconds);
}

void ControlWindow::SetBarPosition(int position) {
    SendMessageW(Handle(), PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

void ControlWindow::PostNotification(unsigned message, int position) {
    PostMessageW(GetParent(Handle()), message, static_cast<WPARAM>(position), 0);
}

std::optional<int> ControlWindow::TakeNotification(unsigned message) {
    MSG msg;
    if (!PeekMessageW(&msg, nullptr, message, message, PM_REMOVE))
        return std::nullopt;
    return static_cast<int>(msg.wParam);
}
