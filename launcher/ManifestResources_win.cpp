#include "launcher/ManifestResources_win.h"

#include "launcher/ManifestRules.h"

namespace {

LPCWSTR ManifestType() {
    return MAKEINTRESOURCEW(kManifestResourceType);
}

BOOL CALLBACK TakeFirstLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR found) {
    *reinterpret_cast<LANGID*>(found) = language;
    return FALSE;
}

} // namespace

HRSRC ManifestResources::Find(const std::wstring& name, LANGID language) const {
    if (language != 0)
        return FindResourceExW(module_, ManifestType(), name.c_str(), language);
    if (HRSRC found = FindResourceW(module_, name.c_str(), ManifestType()))
        return found;
    // FindResource prefers some languages; a resource stored only in another one still exists.
    LANGID first = 0;
    EnumResourceLanguagesW(module_, ManifestType(), name.c_str(), TakeFirstLanguage,
                           reinterpret_cast<LONG_PTR>(&first));
    return first != 0 ? FindResourceExW(module_, ManifestType(), name.c_str(), first) : nullptr;
}

bool ManifestResources::Exists(const std::wstring& name, LANGID language) const {
    return Find(name, language) != nullptr;
}

std::optional<std::span<const unsigned char>> ManifestResources::Bytes(const std::wstring& name,
                                                                       LANGID language) const {
    const HRSRC resource = Find(name, language);
    const HGLOBAL loaded = resource ? LoadResource(module_, resource) : nullptr;
    const auto* data = loaded ? static_cast<const unsigned char*>(LockResource(loaded)) : nullptr;
    if (!data)
        return std::nullopt;
    return std::span<const unsigned char>(data, SizeofResource(module_, resource));
}

std::optional<std::wstring> ManifestResources::ReadText(const std::wstring& name) const {
    const auto bytes = Bytes(name, multiLanguage_ ? kManifestLanguage : 0);
    if (!bytes)
        return std::nullopt;
    // UTF-16LE up to the terminating zero; an odd last byte belongs to no character.
    std::wstring text;
    for (size_t i = 0; i + 1 < bytes->size(); i += 2) {
        const wchar_t c = static_cast<wchar_t>((*bytes)[i] | ((*bytes)[i + 1] << 8));
        if (c == L'\0')
            break;
        text.push_back(c);
    }
    return text;
}
