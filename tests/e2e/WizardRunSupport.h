// Helpers of the end-to-end runs that drive a real launcher's wizard: waiting for a page by its buttons,
// and finding the launcher's lines in a log that Windows Installer shares.
#pragma once

#include "LauncherRun.h"
#include "WizardDriver.h"

#include <string>

namespace e2e {

// Windows Installer adds its own lines, in its own encoding, to the log it borrows during a removal, so
// the launcher's lines are looked for as UTF-16 bytes rather than in a decoded text. (Wine's Windows
// Installer even writes from the start of the file, over the launcher's earlier lines: the tests look
// for lines written after a removal, or read the log before it.)
inline bool LogHas(const std::wstring& logPath, const std::wstring& line) {
    std::string needle;
    for (const wchar_t c : line) {
        needle += static_cast<char>(c & 0xFF);
        needle += static_cast<char>((c >> 8) & 0xFF);
    }
    const auto bytes = ReadFileBytes(logPath);
    return bytes && bytes->find(needle) != std::string::npos;
}

// Waits until the wizard's Next and Back buttons read as given (a page has shown itself).
inline bool WaitForButtons(HWND wizard, const std::wstring& next, const std::wstring& back) {
    for (int waited = 0; waited < 20'000; waited += 100, Sleep(100)) {
        const WizardDriver::Buttons buttons = WizardDriver::ReadButtons(wizard);
        if (buttons.next == next && buttons.back == back)
            return true;
    }
    return false;
}

// Waits until the wizard is on screen with a page that shows `text` among its controls' texts. Installs
// hide the wizard for a while, so the default time allows for a whole install.
inline bool WaitForPageText(HWND wizard, const std::wstring& text, DWORD timeoutMs = 120'000) {
    for (DWORD waited = 0; waited < timeoutMs; waited += 100, Sleep(100)) {
        if (!IsWindowVisible(wizard))
            continue;
        for (const std::wstring& shown : WizardDriver::PageTexts(wizard))
            if (shown == text)
                return true;
    }
    return false;
}

} // namespace e2e
