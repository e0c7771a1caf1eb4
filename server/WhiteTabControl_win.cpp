#include "server/WhiteTabControl_win.h"

#include <commctrl.h>

namespace {

constexpr UINT_PTR kSubclassId = 1;

} // namespace

bool CWhiteTabCtrl::Create(HWND parent, int id, const RECT& rect, HFONT font) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls);
    // Clipping its siblings keeps the tab control from painting over the summaries that lie on it.
    window_.Attach(CreateWindowExW(
        0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS, rect.left, rect.top,
        rect.right - rect.left, rect.bottom - rect.top, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr));
    if (!window_)
        return false;
    SendMessageW(window_.Get(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SetWindowSubclass(window_.Get(), SubclassProc, kSubclassId, 0);
    return true;
}

void CWhiteTabCtrl::SendToBack() {
    SetWindowPos(window_.Get(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

LRESULT CALLBACK CWhiteTabCtrl::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                             UINT_PTR, DWORD_PTR) {
    if (message == WM_ERASEBKGND) {
        RECT client{};
        GetClientRect(window, &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        return 1;
    }
    if (message == WM_NCDESTROY)
        RemoveWindowSubclass(window, SubclassProc, kSubclassId);
    return DefSubclassProc(window, message, wParam, lParam);
}

void CWhiteTabCtrl::AddTab(const std::wstring& text, LPARAM data) {
    TCITEMW item{};
    item.mask = TCIF_TEXT | TCIF_PARAM;
    item.pszText = const_cast<wchar_t*>(text.c_str());
    item.lParam = data;
    SendMessageW(window_.Get(), TCM_INSERTITEMW, static_cast<WPARAM>(TabCount()),
                 reinterpret_cast<LPARAM>(&item));
}

int CWhiteTabCtrl::TabCount() const {
    return window_ ? static_cast<int>(SendMessageW(window_.Get(), TCM_GETITEMCOUNT, 0, 0)) : 0;
}

LPARAM CWhiteTabCtrl::SelectedData() const {
    const LRESULT selected = window_ ? SendMessageW(window_.Get(), TCM_GETCURSEL, 0, 0) : -1;
    if (selected < 0)
        return -1;
    TCITEMW item{};
    item.mask = TCIF_PARAM;
    if (!SendMessageW(window_.Get(), TCM_GETITEMW, static_cast<WPARAM>(selected),
                      reinterpret_cast<LPARAM>(&item)))
        return -1;
    return item.lParam;
}

RECT CWhiteTabCtrl::DisplayArea() const {
    RECT area{};
    GetWindowRect(window_.Get(), &area);
    MapWindowPoints(nullptr, GetParent(window_.Get()), reinterpret_cast<POINT*>(&area), 2);
    SendMessageW(window_.Get(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    return area;
}
