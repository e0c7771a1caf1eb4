// CDialogBase: the launcher's modal dialog on a plain Win32 dialog template. It owns the header artwork,
// names the five fonts every page uses (the widgets' font cache owns them), paints the artwork above the
// separator line and routes the dialog's messages to the derived class. The template, the artwork and the
// icon come from a resource module the caller names (the launcher itself by default), which must outlive the
// dialog.
#pragma once

#include "support/Handle_win.h"

#include <windows.h>

#include <cstdint>

class CDialogBase {
public:
    CDialogBase(unsigned templateId, bool drawHeader, HMODULE resources);
    CDialogBase(const CDialogBase&) = delete;
    CDialogBase& operator=(const CDialogBase&) = delete;
    virtual ~CDialogBase() = default;

    // Runs the dialog modally from the template stored for `languageId` (else any language); returns the
    // code given to EndDialog, or -1 when the template is missing or the system refuses the dialog.
    INT_PTR RunModal(HWND parent, uint16_t languageId);

    HWND Handle() const { return window_; }
    HMODULE Resources() const { return resources_; }
    HFONT LargeBoldFont() const { return largeBold_; }
    HFONT BoldFont() const { return bold_; }
    HFONT MediumFont() const { return medium_; }
    HFONT NormalFont() const { return normal_; }
    HFONT SmallFont() const { return small_; }

protected:
    // Runs after the template's controls exist: loads the artwork and makes the fonts. Return FALSE when
    // the focus was set by hand.
    virtual BOOL OnInitDialog();
    // A message for the derived dialog; true when it was handled, with `result` as the dialog result.
    virtual bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result);
    void EndDialog(INT_PTR code);

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void CreateFonts();
    void PaintHeader();

    unsigned templateId_;
    bool drawHeader_;
    HMODULE resources_;
    HWND window_ = nullptr;
    GdiObject headerArtwork_;
    HFONT largeBold_ = nullptr, bold_ = nullptr, medium_ = nullptr, normal_ = nullptr, small_ = nullptr;
};
