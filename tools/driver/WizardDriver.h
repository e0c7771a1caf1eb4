// Wizard-specific steps for end-to-end tests, built on the window driver: finds the launcher's wizard,
// reads the texts of its current page and of its buttons, presses Next, Back and Cancel, sends Escape and
// takes screenshots. Like the window driver it owns nothing and copes with windows that went away.
#pragma once

#include "WindowDriver.h"

#include <string>
#include <vector>

namespace WizardDriver {

// Control identifiers of the wizard dialog.
constexpr int kNextId = IDOK;
constexpr int kCancelId = IDCANCEL;
constexpr int kBackId = 1000;
constexpr int kLanguageBoxId = 1015;
constexpr int kFrameId = 1036;
constexpr int kPageId = 1037;

// The process's visible wizard (a dialog holding the page frame); nullptr when none shows up in time.
HWND WaitForWizard(DWORD processId, DWORD timeoutMs = WindowDriver::kDefaultWaitMs);
// The visible page window inside the frame; nullptr while no page shows.
HWND CurrentPage(HWND wizard);
// The visible controls of the current page, in the system's order.
std::vector<WindowDriver::ControlInfo> PageControls(HWND wizard);
// Their texts without mnemonics, empty texts left out.
std::vector<std::wstring> PageTexts(HWND wizard);

struct Buttons {
    std::wstring next, back, cancel; // without mnemonics
    bool nextEnabled = false, backEnabled = false, cancelEnabled = false;
};
Buttons ReadButtons(HWND wizard);

// Presses a button as a user would; false when it is missing or disabled.
bool PressNext(HWND wizard);
bool PressBack(HWND wizard);
bool PressCancel(HWND wizard);
// The current page's check box `id`: ticks or unticks it with clicks as a user would; false when the
// page lacks it, it is disabled or it does not take the state.
bool SetCheckBox(HWND wizard, int id, bool checked);
// BST_CHECKED or BST_UNCHECKED of the current page's check box `id`; -1 when the page lacks it.
int CheckBoxState(HWND wizard, int id);
// Chooses `displayName` in the language box as a user would; false when the box is hidden or lacks it.
bool SelectLanguage(HWND wizard, const std::wstring& displayName);
// A click of the left mouse button at (x, y) in `control`'s client coordinates (e.g. on a link).
void ClickAt(HWND control, int x, int y);
// The Escape key, delivered to the wizard's focused control (a cancel request while a worker runs).
void SendEscape(HWND wizard);
// A screenshot of the wizard as the screen shows it, as a 24-bit BMP.
bool Screenshot(HWND wizard, const std::wstring& path);

} // namespace WizardDriver
