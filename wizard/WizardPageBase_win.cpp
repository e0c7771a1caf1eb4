#include "wizard/WizardPageBase_win.h"

#include "launcher/SetupLog.h"
#include "support/Format.h"
#include "wizard/WarningStaticText_win.h"

#include <commctrl.h>

namespace {

constexpr wchar_t kPageClassName[] = L"WizardPageBase";
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr int32_t kInstallerErrorUserExit = 1602;

bool IsLinkControl(HWND control) {
    wchar_t className[16] = {};
    return control && GetClassNameW(control, className, 16) > 0 && lstrcmpiW(className, WC_LINK) == 0;
}

} // namespace

WizardPageBase::WizardPageBase(PageFrame& frame, std::wstring name) : frame_(frame), name_(std::move(name)) {}

bool WizardPageBase::RegisterPageClass() {
    static const bool registered = [] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = &WizardPageBase::PageProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        windowClass.lpszClassName = kPageClassName;
        return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }();
    return registered;
}

bool WizardPageBase::CreatePageWindow(HWND frame, const RECT& rect) {
    if (!RegisterPageClass())
        return false;
    HWND window = CreateWindowExW(WS_EX_CONTROLPARENT, kPageClassName, L"", WS_CHILD | WS_CLIPCHILDREN,
                                  rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, frame,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(kWizardPageControlId)),
                                  GetModuleHandleW(nullptr), this);
    if (!window)
        return false;
    window_.Attach(window);
    CreateControls(window, rect.right - rect.left, rect.bottom - rect.top);
    Deactivate();
    return true;
}

PageStep WizardPageBase::Activate() {
    WriteLog(kLogLevelProgress, Format(L"VNT (c): Activating dialog %s\r\n", name_));
    frame_.ShowLanguageBox(false);
    frame_.EnableButton(WizardButton::Back, true);
    frame_.EnableButton(WizardButton::Next, true);
    frame_.EnableButton(WizardButton::Cancel, true);
    // A page that leaves in Prepare is not current any more: the texts and Relayout are not its business.
    if (const PageStep step = Prepare(); step != PageStep::Stay)
        return step;
    frame_.RefreshTexts();
    return frame_.IsInteractive() ? PageStep::Stay : PageStep::Next;
}

void WizardPageBase::Deactivate() {
    WriteLog(kLogLevelProgress, Format(L"VNT (c): Deactivating dialog %s\r\n", name_));
    ShowWindow(window_.Get(), SW_HIDE);
}

bool WizardPageBase::WaitForWorkerServingSentMessages() {
    // Messages the worker sends to this thread's windows are served meanwhile, so it cannot hang on them;
    // posted messages (a reposted quit among them) stay queued.
    HANDLE worker = worker_.Get();
    for (;;) {
        const DWORD waited = MsgWaitForMultipleObjects(1, &worker, FALSE, INFINITE, QS_SENDMESSAGE);
        if (waited == WAIT_OBJECT_0)
            return true;
        if (waited != WAIT_OBJECT_0 + 1)
            return false;
        MSG msg;
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

bool WizardPageBase::QueryCancel() {
    if (workerBusy_) {
        if (cancelRequested_.exchange(true))
            return false;
        if (WaitForWorkerServingSentMessages())
            WriteLog(kLogLevelProgress, L"VNT (c): Worker-thread stopped\r\n");
        return false;
    }
    frame_.SetInstallerResult(kInstallerErrorUserExit);
    return true;
}

void WizardPageBase::MoveControl(HWND control, int dx, int dy) {
    RECT rect;
    if (!GetWindowRect(control, &rect))
        return;
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    SetWindowPos(control, nullptr, rect.left + dx, rect.top + dy, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int WizardPageBase::FitHeightToText(HWND control) {
    RECT client;
    if (!GetClientRect(control, &client))
        return 0;
    const int length = GetWindowTextLengthW(control);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    GetWindowTextW(control, text.data(), length + 1);
    text.resize(static_cast<size_t>(length));

    const WindowDC dc(window_.Get());
    if (!dc)
        return 0;
    const SelectedObject font(dc.Get(), reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
    RECT measured{0, 0, client.right, 0};
    DrawTextW(dc.Get(), text.c_str(), static_cast<int>(text.size()), &measured, DT_CALCRECT | DT_WORDBREAK);

    const int growth = measured.bottom - client.bottom;
    if (growth == 0)
        return 0;
    RECT outer;
    GetWindowRect(control, &outer);
    SetWindowPos(control, nullptr, 0, 0, outer.right - outer.left, measured.bottom,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return growth;
}

LRESULT WizardPageBase::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND window = window_.Get();
    switch (message) {
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG: {
        DefWindowProcW(window, message, wParam, lParam);
        // A warning sets its own text colour; the page's white background still wins.
        if (const WarningStaticText* warning = WarningStaticText::FromWindow(reinterpret_cast<HWND>(lParam)))
            warning->OnControlColour(reinterpret_cast<HDC>(wParam));
        SetBkColor(reinterpret_cast<HDC>(wParam), kWhite);
        return reinterpret_cast<LRESULT>(frame_.WhiteBrush());
    }
    case WM_ERASEBKGND: {
        RECT client;
        GetClientRect(window, &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, frame_.WhiteBrush());
        return TRUE;
    }
    case WM_COMMAND:
        if (OnCommand(LOWORD(wParam), HIWORD(wParam)))
            return 0;
        break;
    case WM_NOTIFY: {
        // A link control reports a click, or Enter on a focused link, with the link's index and address.
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if ((header->code == NM_CLICK || header->code == NM_RETURN) && IsLinkControl(header->hwndFrom)) {
            const auto* link = reinterpret_cast<const NMLINK*>(lParam);
            if (OnLinkClicked(static_cast<int>(header->idFrom), link->item.iLink, link->item.szUrl))
                return 0;
        }
        break;
    }
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK WizardPageBase::PageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<WizardPageBase*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_NCDESTROY)
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    if (!self || !self->window_ || message == WM_NCDESTROY)
        return DefWindowProcW(window, message, wParam, lParam);
    return self->HandleMessage(message, wParam, lParam);
}
