#include "wizard/WarningStaticText_win.h"

namespace {

// The window property through which a page finds the warning behind a static control.
constexpr wchar_t kWarningProperty[] = L"LauncherWarningStaticText";

} // namespace

WarningStaticText::WarningStaticText() : brush_(CreateSolidBrush(kBackgroundColour)) {}

WarningStaticText::~WarningStaticText() {
    if (window_)
        RemovePropW(window_.Get(), kWarningProperty);
}

bool WarningStaticText::Create(HWND parent, const std::wstring& text, int id, const RECT& rect, HFONT font) {
    if (window_)
        return false;
    window_.Attach(CreateWindowExW(0, L"Static", text.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT, rect.left,
                                   rect.top, rect.right - rect.left, rect.bottom - rect.top, parent,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                   GetModuleHandleW(nullptr), nullptr));
    if (!window_)
        return false;
    if (font)
        SendMessageW(window_.Get(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SetPropW(window_.Get(), kWarningProperty, const_cast<WarningStaticText*>(this));
    return true;
}

HBRUSH WarningStaticText::OnControlColour(HDC dc) const {
    SetTextColor(dc, kTextColour);
    SetBkColor(dc, kBackgroundColour);
    return static_cast<HBRUSH>(brush_.Get());
}

const WarningStaticText* WarningStaticText::FromWindow(HWND control) {
    return control ? static_cast<const WarningStaticText*>(GetPropW(control, kWarningProperty)) : nullptr;
}
