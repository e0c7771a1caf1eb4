#include "launcher/Console_win.h"

#include <windows.h>

#include <string>

ConsoleAttachment::ConsoleAttachment() { attached_ = AttachConsole(ATTACH_PARENT_PROCESS) != FALSE; }

ConsoleAttachment::~ConsoleAttachment() { Release(); }

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
    const int bytes =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    if (bytes <= 0)
        return;
    std::string buffer(bytes, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), buffer.data(), bytes, nullptr,
                        nullptr);
    DWORD written = 0;
    WriteFile(handle, buffer.data(), static_cast<DWORD>(buffer.size()), &written, nullptr);
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
    HANDLE console = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 nullptr, OPEN_EXISTING, 0, nullptr);
    if (console == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteConsoleW(console, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(console);
}
