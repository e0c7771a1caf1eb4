#include "support/Registry_win.h"

REGSAM ViewFlag(RegistryView view) {
    switch (view) {
    case RegistryView::Bits32: return KEY_WOW64_32KEY;
    case RegistryView::Bits64: return KEY_WOW64_64KEY;
    default: return 0;
    }
}

RegistryKey RegistryKey::Open(HKEY root, const std::wstring& path, RegistryView view, REGSAM access) {
    RegistryKey key;
    HKEY handle = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, access | ViewFlag(view), &handle) == ERROR_SUCCESS)
        key.key_.Attach(handle);
    return key;
}

RegistryKey RegistryKey::Create(HKEY root, const std::wstring& path, RegistryView view, REGSAM access,
                                bool* createdNew) {
    RegistryKey key;
    HKEY handle = nullptr;
    DWORD disposition = 0;
    if (RegCreateKeyExW(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access | ViewFlag(view),
                        nullptr, &handle, &disposition) == ERROR_SUCCESS)
        key.key_.Attach(handle);
    if (createdNew)
        *createdNew = key.IsOpen() && disposition == REG_CREATED_NEW_KEY;
    return key;
}

bool RegistryKey::DeleteTree(HKEY root, const std::wstring& path, RegistryView view) {
    RegistryKey key = Open(root, path, view, KEY_READ | KEY_WRITE | DELETE);
    if (!key.IsOpen())
        return true;
    RegDeleteTreeW(key.Get(), nullptr);
    key.key_.Close();
    return RegDeleteKeyExW(root, path.c_str(), ViewFlag(view), 0) == ERROR_SUCCESS;
}

namespace {
std::optional<std::vector<wchar_t>> ReadRaw(HKEY key, const std::wstring& name, DWORD& type) {
    DWORD bytes = 0;
    if (RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS)
        return std::nullopt;
    // Room for a terminating zero that the stored data may lack.
    std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 2, L'\0');
    DWORD size = bytes;
    if (RegQueryValueExW(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    buffer.resize(size / sizeof(wchar_t));
    return buffer;
}
} // namespace

std::optional<std::wstring> RegistryKey::ReadString(const std::wstring& name) const {
    DWORD type = 0;
    auto raw = ReadRaw(key_.Get(), name, type);
    if (!raw || (type != REG_SZ && type != REG_EXPAND_SZ))
        return std::nullopt;
    std::wstring text(raw->begin(), raw->end());
    const size_t zero = text.find(L'\0');
    if (zero != std::wstring::npos)
        text.resize(zero);
    return text;
}

std::optional<std::vector<std::wstring>> RegistryKey::ReadMultiString(const std::wstring& name) const {
    DWORD type = 0;
    auto raw = ReadRaw(key_.Get(), name, type);
    if (!raw || type != REG_MULTI_SZ)
        return std::nullopt;
    std::vector<std::wstring> strings;
    std::wstring current;
    for (wchar_t c : *raw) {
        if (c != L'\0') {
            current += c;
        } else if (!current.empty()) {
            strings.push_back(std::move(current));
            current.clear();
        } else {
            break; // the empty string that ends the list
        }
    }
    if (!current.empty())
        strings.push_back(current);
    return strings;
}

std::optional<DWORD> RegistryKey::ReadDword(const std::wstring& name) const {
    DWORD type = 0, value = 0, size = sizeof value;
    if (RegQueryValueExW(key_.Get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD)
        return std::nullopt;
    return value;
}

bool RegistryKey::WriteString(const std::wstring& name, const std::wstring& value, DWORD type) {
    const DWORD bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    return RegSetValueExW(key_.Get(), name.c_str(), 0, type, reinterpret_cast<const BYTE*>(value.c_str()), bytes) ==
           ERROR_SUCCESS;
}

bool RegistryKey::WriteDword(const std::wstring& name, DWORD value) {
    return RegSetValueExW(key_.Get(), name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                          sizeof value) == ERROR_SUCCESS;
}

bool RegistryKey::DeleteValue(const std::wstring& name) {
    return RegDeleteValueW(key_.Get(), name.c_str()) == ERROR_SUCCESS;
}
