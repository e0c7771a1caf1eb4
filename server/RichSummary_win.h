// A read-only multi-line rich-text control showing a summary whose pieces may be bold (what differs from
// the values the page started with). It owns its control window and keeps the rich-text library loaded.
#pragma once

#include "support/Handle_win.h"

#include <string>
#include <vector>

struct RichTextPiece {
    std::wstring text;
    bool bold = false;
};

class RichSummary {
public:
    // Creates the visible control as a child of `parent`; false when the system refuses it.
    bool Create(HWND parent, int id, const RECT& rect, HFONT font);
    HWND Handle() const { return window_.Get(); }
    void Show(bool show);
    void Move(const RECT& rect);
    // Replaces the text by the pieces, each in its own weight.
    void SetPieces(const std::vector<RichTextPiece>& pieces);

private:
    ModuleHandle library_; // loaded before the window and freed after it
    WindowHandle window_;
};
