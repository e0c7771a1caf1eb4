#include "launcher/Console_win.h"

#include "support/Handle_win.h"
#include "support/ICBSString.h"

#include <windows.h>

#include <string>

ConsoleAttachment::ConsoleAttachment() {
    attached_ = AttachConsole(ATTACH_PARENT_PROCESS) != FALSE;
}

ConsoleAttachment::~ConsoleAttachment() {
    Release();
}

void ConsoleAttachment::Release() {
    if (!attached_)
        return;
    attached_ = false;
    // The parent command prompt waits at its prompt without knowing we wrote below it; a carriage return
    // makes it draw the prompt again.
    if (HWND window = GetConsoleWindow())
        PostMessageW(window, WM_CHAR, 13, 0);
    FreeConsole();
}

namespace {

bool IsConsoleHandle(HANDLE handle) {
    DWORD mode = 0;
    return GetConsoleMode(handle, &mode) != FALSE;
}

void WriteUtf8(HANDLE handle, std::wstring_view text) {
    const std::string bytes = ICBSString(text).ToUtf8();
    DWORD written = 0;
    WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

} // namespace

void WriteConsoleText(std::wstring_view text) {
    if (text.empty())
        return;
    HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    if (output != nullptr && output != INVALID_HANDLE_VALUE && !IsConsoleHandle(output)) {
        WriteUtf8(output, text);
        return;
    }
    const FileHandle console(CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                         nullptr));
    if (!console)
        return;
    DWORD written = 0;
    WriteConsoleW(console.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}
