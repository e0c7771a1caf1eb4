// CWebView2EULADlg: the WebView2 runtime's licence before it is installed or downloaded: the terms from the
// launcher's RTF resource in a read-only rich-text box with its links live, the vendor's privacy statement
// in the browser, and "Accept and Install" or Cancel. The page runs it modally and owns it.
#pragma once

#include "support/Handle_win.h"
#include "wizard/DialogBase_win.h"

class CWebView2EULADlg : public CDialogBase {
public:
    explicit CWebView2EULADlg(HMODULE resources);
    // True only for "Accept and Install".
    bool Accepted(HWND parent, uint16_t languageId);

protected:
    BOOL OnInitDialog() override;
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

private:
    ModuleHandle richEdit_;
};
