#include "support/DllSearch_win.h"

#include <windows.h>

bool RestrictDllSearchToSystemFolder() {
    // Looked up, not imported: a Windows 7 without the update would refuse to start the launcher at all.
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    const auto setDefault = kernel ? reinterpret_cast<SetDefaultDllDirectoriesFn>(reinterpret_cast<void*>(
                                         GetProcAddress(kernel, "SetDefaultDllDirectories")))
                                   : nullptr;
    if (setDefault && setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32))
        return true;
    return SetDllDirectoryW(L"") != FALSE;
}
