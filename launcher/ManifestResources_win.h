// Reads the manifest texts and package resources (type 40) of a launcher module: the running launcher,
// or a launcher loaded as data by a test. The module is borrowed, not owned.
#pragma once

#include <windows.h>

#include <optional>
#include <span>
#include <string>

class ManifestResources {
public:
    // multiLanguage: the launcher carries the main package in several languages, so its texts are
    // read in the manifest language only.
    ManifestResources(HMODULE module, bool multiLanguage) : module_(module), multiLanguage_(multiLanguage) {}

    // The text, or nothing when the resource does not exist. A multi-language launcher's texts are
    // taken from the manifest language alone; a single-language launcher's from whatever language
    // holds them.
    std::optional<std::wstring> ReadText(const std::wstring& name) const;
    // Empty when the text is missing.
    std::wstring ReadString(const std::wstring& name) const { return ReadText(name).value_or(L""); }

    // A resource in one language (language 0: any language).
    bool Exists(const std::wstring& name, LANGID language = 0) const;
    // The raw bytes of a resource in one language (0: any), valid as long as the module is loaded.
    std::optional<std::span<const unsigned char>> Bytes(const std::wstring& name, LANGID language = 0) const;

private:
    HRSRC Find(const std::wstring& name, LANGID language) const;

    HMODULE module_;
    bool multiLanguage_;
};
