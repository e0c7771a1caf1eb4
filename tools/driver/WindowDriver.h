// A small driver for the windows of another process, for end-to-end tests: finds a process's top-level
// windows, waits for one, reads the texts and states of its controls and presses buttons, so that message
// boxes and wizard pages are asserted and answered the way a user would. It owns nothing: windows
// belong to the process under test, and every call copes with a window that has gone away meanwhile.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace WindowDriver {

constexpr DWORD kDefaultWaitMs = 20'000;

struct ControlInfo {
    HWND window = nullptr;
    int id = 0;
    std::wstring className;
    std::wstring text; // as the control reports it; "&" mnemonics kept
    bool visible = false;
    bool enabled = false;
};

// The class name of the dialog boxes the system makes, message boxes included.
inline constexpr wchar_t kDialogClass[] = L"#32770";
// The id of the static control that carries a message box's text.
constexpr int kMessageBoxTextId = 0xFFFF;

// Top-level windows owned by the process; visibleOnly skips hidden ones.
std::vector<HWND> TopLevelWindows(DWORD processId, bool visibleOnly = true);
// Waits until one of the process's visible top-level windows satisfies match (any window when match is
// empty); nullptr when none did within the time limit or the process ended first (process may be null).
HWND WaitForWindow(DWORD processId, const std::function<bool(HWND)>& match = {},
                   DWORD timeoutMs = kDefaultWaitMs, HANDLE process = nullptr);
// The same for a window of the given class (e.g. kDialogClass).
HWND WaitForWindowOfClass(DWORD processId, std::wstring_view className, DWORD timeoutMs = kDefaultWaitMs,
                          HANDLE process = nullptr);
// Waits until the window no longer exists or is hidden. True when it went within the time limit.
bool WaitUntilGone(HWND window, DWORD timeoutMs = kDefaultWaitMs);

std::wstring Caption(HWND window);
std::wstring ClassName(HWND window);
// The window's text through WM_GETTEXT, which also reads edit controls of other processes.
std::wstring Text(HWND window);
// The text without "&" mnemonic markers ("&&" stays one "&").
std::wstring WithoutMnemonics(std::wstring_view text);

// Every child control, depth first in the system's order (nested dialogs of wizard pages included).
std::vector<ControlInfo> Controls(HWND window);
// The first control with this id, or one with an empty window.
ControlInfo ControlById(HWND window, int id);
// The first visible button (class "Button") whose text, without mnemonics, equals text.
ControlInfo ButtonByText(HWND window, std::wstring_view text);
// A message box's text (its static control of id kMessageBoxTextId).
std::wstring MessageBoxText(HWND window);

// Clicks the button as a user would (the button notifies its parent). False when there is none or it is
// disabled.
bool Click(HWND button);
bool PressButton(HWND window, std::wstring_view text);
bool PressButtonById(HWND window, int id);

// Check boxes and radio buttons: BST_CHECKED, BST_UNCHECKED or BST_INDETERMINATE; -1 when unreadable.
int CheckState(HWND button);
// Clicks the box until it shows the wanted state. False when it does not get there.
bool SetChecked(HWND button, bool checked);
// Sends the parent the notification that a control with this id would send (e.g. CBN_SELCHANGE).
void Notify(HWND control, WORD notification);
// Selects an item of a combo box by index and tells the parent, as a user's choice would.
bool SelectComboItem(HWND combo, int index);
// The texts of a combo box's items.
std::vector<std::wstring> ComboItems(HWND combo);
// Replaces an edit control's text and tells the parent.
bool SetEditText(HWND edit, const std::wstring& text);

} // namespace WindowDriver
