#include "launcher/StringTable_win.h"

#include <windows.h>

std::wstring LoadResourceString(unsigned id) {
    const wchar_t* text = nullptr;
    // With a zero buffer size LoadStringW returns a pointer into the resource itself.
    const int length = LoadStringW(GetModuleHandleW(nullptr), id, reinterpret_cast<LPWSTR>(&text), 0);
    return length > 0 && text ? std::wstring(text, length) : std::wstring();
}
