#include "WindowDriver.h"

namespace WindowDriver {

namespace {

constexpr DWORD kPollIntervalMs = 50;
// A window that does not answer within this time is treated as gone or hung.
constexpr UINT kMessageTimeoutMs = 5000;

bool Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR& result) {
    return SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kMessageTimeoutMs,
                               &result) != 0;
}

// Polls condition until it holds or the time is up; stops early when the process has ended.
bool PollUntil(const std::function<bool()>& condition, DWORD timeoutMs, HANDLE process = nullptr) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        if (condition())
            return true;
        if (GetTickCount64() >= deadline)
            return false;
        if (process && WaitForSingleObject(process, 0) == WAIT_OBJECT_0)
            return condition();
        Sleep(kPollIntervalMs);
    }
}

} // namespace

std::vector<HWND> TopLevelWindows(DWORD processId, bool visibleOnly) {
    struct Search {
        DWORD processId;
        bool visibleOnly;
        std::vector<HWND> found;
    } search{processId, visibleOnly, {}};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == s.processId && (!s.visibleOnly || IsWindowVisible(window)))
                s.found.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForWindow(DWORD processId, const std::function<bool(HWND)>& match, DWORD timeoutMs, HANDLE process) {
    HWND found = nullptr;
    PollUntil(
        [&] {
            for (HWND window : TopLevelWindows(processId)) {
                if (!match || match(window)) {
                    found = window;
                    return true;
                }
            }
            return false;
        },
        timeoutMs, process);
    return found;
}

HWND WaitForWindowOfClass(DWORD processId, std::wstring_view className, DWORD timeoutMs, HANDLE process) {
    return WaitForWindow(
        processId, [&](HWND window) { return ClassName(window) == className; }, timeoutMs, process);
}

bool WaitUntilGone(HWND window, DWORD timeoutMs) {
    return PollUntil([&] { return !IsWindow(window) || !IsWindowVisible(window); }, timeoutMs);
}

std::wstring Caption(HWND window) {
    return Text(window);
}

std::wstring ClassName(HWND window) {
    wchar_t name[256] = {};
    const int length = GetClassNameW(window, name, 256);
    return std::wstring(name, length > 0 ? length : 0);
}

std::wstring Text(HWND window) {
    DWORD_PTR length = 0;
    if (!Send(window, WM_GETTEXTLENGTH, 0, 0, length))
        return {};
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!Send(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), copied))
        return {};
    text.resize(std::min<size_t>(copied, length));
    return text;
}

std::wstring WithoutMnemonics(std::wstring_view text) {
    std::wstring plain;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'&' && i + 1 < text.size())
            ++i; // "&x" is x, "&&" is "&"
        else if (text[i] == L'&')
            continue;
        plain += text[i];
    }
    return plain;
}

std::vector<ControlInfo> Controls(HWND window) {
    std::vector<ControlInfo> controls;
    EnumChildWindows(
        window,
        [](HWND child, LPARAM data) -> BOOL {
            ControlInfo info;
            info.window = child;
            info.id = GetDlgCtrlID(child);
            info.className = ClassName(child);
            info.text = Text(child);
            info.visible = IsWindowVisible(child) != FALSE;
            info.enabled = IsWindowEnabled(child) != FALSE;
            reinterpret_cast<std::vector<ControlInfo>*>(data)->push_back(std::move(info));
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&controls));
    return controls;
}

ControlInfo ControlById(HWND window, int id) {
    for (auto& control : Controls(window)) {
        if (control.id == id)
            return control;
    }
    return {};
}

ControlInfo ButtonByText(HWND window, std::wstring_view text) {
    for (auto& control : Controls(window)) {
        if (control.visible && _wcsicmp(control.className.c_str(), L"Button") == 0 &&
            WithoutMnemonics(control.text) == text)
            return control;
    }
    return {};
}

std::wstring MessageBoxText(HWND window) {
    return ControlById(window, kMessageBoxTextId).text;
}

bool Click(HWND button) {
    if (!button || !IsWindow(button) || !IsWindowEnabled(button))
        return false;
    // Posted, not sent: a button that opens a modal dialog would not answer a sent click until that
    // dialog closes.
    return PostMessageW(button, BM_CLICK, 0, 0) != FALSE;
}

bool PressButton(HWND window, std::wstring_view text) {
    return Click(ButtonByText(window, text).window);
}

bool PressButtonById(HWND window, int id) {
    return Click(ControlById(window, id).window);
}

int CheckState(HWND button) {
    DWORD_PTR state = 0;
    return Send(button, BM_GETCHECK, 0, 0, state) ? static_cast<int>(state) : -1;
}

bool SetChecked(HWND button, bool checked) {
    const int wanted = checked ? BST_CHECKED : BST_UNCHECKED;
    // A three-state box passes through the indeterminate state, so allow a few clicks.
    for (int click = 0; click < 3; ++click) {
        const int state = CheckState(button);
        if (state == wanted)
            return true;
        if (state < 0 || !Click(button))
            return false;
        PollUntil([&] { return CheckState(button) != state; }, kMessageTimeoutMs);
    }
    return CheckState(button) == wanted;
}

void Notify(HWND control, WORD notification) {
    const int id = GetDlgCtrlID(control);
    PostMessageW(GetParent(control), WM_COMMAND, MAKEWPARAM(id, notification),
                 reinterpret_cast<LPARAM>(control));
}

bool SelectComboItem(HWND combo, int index) {
    DWORD_PTR result = 0;
    if (!Send(combo, CB_SETCURSEL, index, 0, result) || static_cast<int>(result) != index)
        return false;
    Notify(combo, CBN_SELCHANGE);
    return true;
}

std::vector<std::wstring> ComboItems(HWND combo) {
    std::vector<std::wstring> items;
    DWORD_PTR count = 0;
    if (!Send(combo, CB_GETCOUNT, 0, 0, count) || static_cast<LONG_PTR>(count) < 0)
        return items;
    for (DWORD_PTR i = 0; i < count; ++i) {
        DWORD_PTR length = 0;
        if (!Send(combo, CB_GETLBTEXTLEN, i, 0, length) || static_cast<LONG_PTR>(length) < 0)
            break;
        std::wstring text(length + 1, L'\0');
        DWORD_PTR copied = 0;
        Send(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()), copied);
        text.resize(std::min<size_t>(static_cast<LONG_PTR>(copied) < 0 ? 0 : copied, length));
        items.push_back(std::move(text));
    }
    return items;
}

bool SetEditText(HWND edit, const std::wstring& text) {
    DWORD_PTR result = 0;
    if (!Send(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), result) || !result)
        return false;
    Notify(edit, EN_CHANGE);
    return true;
}

} // namespace WindowDriver
