// Registry keys with an explicit view: the launcher is a 32-bit program, and its 64-bit twin must read
// and write the same keys, so callers say which view they mean.
#pragma once

#include "support/Handle_win.h"

#include <optional>
#include <string>
#include <vector>

enum class RegistryView { Default, Bits32, Bits64 };

class RegistryKey {
public:
    RegistryKey() = default;
    static RegistryKey Open(HKEY root, const std::wstring& path, RegistryView view, REGSAM access = KEY_READ);
    // createdNew, when given, tells whether the key was made now rather than opened.
    static RegistryKey Create(HKEY root, const std::wstring& path, RegistryView view,
                              REGSAM access = KEY_READ | KEY_WRITE, bool* createdNew = nullptr);
    // Deletes a key and everything below it; true when it is gone afterwards.
    static bool DeleteTree(HKEY root, const std::wstring& path, RegistryView view);

    bool IsOpen() const { return key_.IsValid(); }
    HKEY Get() const { return key_.Get(); }
    // REG_SZ and REG_EXPAND_SZ (not expanded) values; nothing for a missing value or another type.
    std::optional<std::wstring> ReadString(const std::wstring& name) const;
    std::optional<std::vector<std::wstring>> ReadMultiString(const std::wstring& name) const;
    std::optional<DWORD> ReadDword(const std::wstring& name) const;
    bool WriteString(const std::wstring& name, const std::wstring& value, DWORD type = REG_SZ);
    bool WriteDword(const std::wstring& name, DWORD value);
    bool DeleteValue(const std::wstring& name);

private:
    RegistryKeyHandle key_;
};

REGSAM ViewFlag(RegistryView view);
