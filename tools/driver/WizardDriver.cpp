#include "WizardDriver.h"

#include "WindowCapture.h"

namespace WizardDriver {

namespace {

bool IsWizard(HWND window) {
    return WindowDriver::ClassName(window) == WindowDriver::kDialogClass &&
           GetDlgItem(window, kFrameId) != nullptr;
}

bool Press(HWND wizard, int id) {
    HWND button = GetDlgItem(wizard, id);
    return button && IsWindowVisible(button) && WindowDriver::Click(button);
}

} // namespace

HWND WaitForWizard(DWORD processId, DWORD timeoutMs) {
    return WindowDriver::WaitForWindow(processId, IsWizard, timeoutMs);
}

HWND CurrentPage(HWND wizard) {
    HWND frame = GetDlgItem(wizard, kFrameId);
    for (HWND child = frame ? GetWindow(frame, GW_CHILD) : nullptr; child;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (GetDlgCtrlID(child) == kPageId && IsWindowVisible(child))
            return child;
    }
    return nullptr;
}

std::vector<WindowDriver::ControlInfo> PageControls(HWND wizard) {
    std::vector<WindowDriver::ControlInfo> visible;
    HWND page = CurrentPage(wizard);
    if (!page)
        return visible;
    for (WindowDriver::ControlInfo& control : WindowDriver::Controls(page))
        if (control.visible)
            visible.push_back(std::move(control));
    return visible;
}

std::vector<std::wstring> PageTexts(HWND wizard) {
    std::vector<std::wstring> texts;
    for (const WindowDriver::ControlInfo& control : PageControls(wizard)) {
        std::wstring text = WindowDriver::WithoutMnemonics(control.text);
        if (!text.empty())
            texts.push_back(std::move(text));
    }
    return texts;
}

Buttons ReadButtons(HWND wizard) {
    Buttons buttons;
    const auto read = [&](int id, std::wstring& text, bool& enabled) {
        HWND button = GetDlgItem(wizard, id);
        text = button ? WindowDriver::WithoutMnemonics(WindowDriver::Text(button)) : std::wstring();
        enabled = button && IsWindowEnabled(button);
    };
    read(kNextId, buttons.next, buttons.nextEnabled);
    read(kBackId, buttons.back, buttons.backEnabled);
    read(kCancelId, buttons.cancel, buttons.cancelEnabled);
    return buttons;
}

bool PressNext(HWND wizard) {
    return Press(wizard, kNextId);
}
bool PressBack(HWND wizard) {
    return Press(wizard, kBackId);
}
bool PressCancel(HWND wizard) {
    return Press(wizard, kCancelId);
}

bool SetCheckBox(HWND wizard, int id, bool checked) {
    HWND page = CurrentPage(wizard);
    const WindowDriver::ControlInfo box =
        page ? WindowDriver::ControlById(page, id) : WindowDriver::ControlInfo{};
    return box.window && box.visible && box.enabled && WindowDriver::SetChecked(box.window, checked);
}

int CheckBoxState(HWND wizard, int id) {
    HWND page = CurrentPage(wizard);
    const WindowDriver::ControlInfo box =
        page ? WindowDriver::ControlById(page, id) : WindowDriver::ControlInfo{};
    return box.window ? WindowDriver::CheckState(box.window) : -1;
}

bool SelectLanguage(HWND wizard, const std::wstring& displayName) {
    HWND box = GetDlgItem(wizard, kLanguageBoxId);
    if (!box || !IsWindowVisible(box))
        return false;
    const std::vector<std::wstring> names = WindowDriver::ComboItems(box);
    for (size_t index = 0; index < names.size(); ++index)
        if (names[index] == displayName)
            return WindowDriver::SelectComboItem(box, static_cast<int>(index));
    return false;
}

void ClickAt(HWND control, int x, int y) {
    const LPARAM where = MAKELPARAM(x, y);
    PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, where);
    PostMessageW(control, WM_LBUTTONUP, 0, where);
}

void SendEscape(HWND wizard) {
    HWND target = GetDlgItem(wizard, kNextId);
    PostMessageW(target ? target : wizard, WM_KEYDOWN, VK_ESCAPE, 0);
    PostMessageW(target ? target : wizard, WM_KEYUP, VK_ESCAPE, 0);
}

bool Screenshot(HWND wizard, const std::wstring& path) {
    return WindowDriver::CaptureWindow(wizard, path);
}

} // namespace WizardDriver
