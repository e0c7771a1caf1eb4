// CWhiteTabCtrl: a tab control whose background is the page's white instead of the dialog grey, so the
// summaries placed over its display area sit on white. It owns its control window; the tabs carry the
// index of their record as item data.
#pragma once

#include "support/Handle_win.h"

#include <string>

class CWhiteTabCtrl {
public:
    // Creates the visible control as a child of `parent`; false when the system refuses it.
    bool Create(HWND parent, int id, const RECT& rect, HFONT font);
    HWND Handle() const { return window_.Get(); }
    // Puts the control below all its siblings, so that the controls placed on its display area are drawn
    // over it (it clips them out of its own painting).
    void SendToBack();

    void AddTab(const std::wstring& text, LPARAM data);
    int TabCount() const;
    // The item data of the selected tab; -1 without one.
    LPARAM SelectedData() const;
    // The display area below the tabs, in the parent's client coordinates.
    RECT DisplayArea() const;

private:
    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR data);
    WindowHandle window_;
};
