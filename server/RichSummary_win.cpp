#include "server/RichSummary_win.h"

#include <richedit.h>

bool RichSummary::Create(HWND parent, int id, const RECT& rect, HFONT font) {
    library_.Attach(LoadLibraryExW(L"riched20.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
    if (!library_)
        return false;
    window_.Attach(CreateWindowExW(
        0, RICHEDIT_CLASSW, L"", WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL,
        rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr));
    if (!window_)
        return false;
    SendMessageW(window_.Get(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SendMessageW(window_.Get(), EM_SETBKGNDCOLOR, 0, RGB(255, 255, 255));
    return true;
}

void RichSummary::Show(bool show) {
    if (window_)
        ShowWindow(window_.Get(), show ? SW_SHOW : SW_HIDE);
}

void RichSummary::Move(const RECT& rect) {
    if (window_)
        MoveWindow(window_.Get(), rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
}

void RichSummary::SetPieces(const std::vector<RichTextPiece>& pieces) {
    HWND control = window_.Get();
    if (!control)
        return;
    SetWindowTextW(control, L"");
    for (const RichTextPiece& piece : pieces) {
        // Each piece goes in at the end, in the weight chosen for the empty selection there.
        CHARRANGE end{-1, -1};
        SendMessageW(control, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&end));
        CHARFORMAT2W format{};
        format.cbSize = sizeof(format);
        format.dwMask = CFM_BOLD;
        format.dwEffects = piece.bold ? CFE_BOLD : 0;
        SendMessageW(control, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
        SendMessageW(control, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(piece.text.c_str()));
    }
}
