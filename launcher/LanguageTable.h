// LanguageTable: the five user-interface languages the launcher can show, which of them the packages
// carry, the current one, and string loading in the current language. It owns its entries; the strings
// themselves come from a StringSource (the executable's string tables on Windows, a map in tests), so the
// table decides nothing by the thread's or the system's user-interface language.
#pragma once

#include "support/Format.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// <windows.h> defines LoadString as a macro for LoadStringW. The table keeps its own name in every file and
// answers to both spellings, whichever order the headers come in.
#pragma push_macro("LoadString")
#undef LoadString

struct LanguageEntry {
    std::wstring name;        // English name, as given with lang= on the command line
    std::wstring displayName; // name in the current user-interface language
    unsigned nameStringId = 0;
    uint16_t languageId = 0; // Windows language identifier
    std::wstring code;       // the identifier in decimal, as used in resource names
    std::wstring suffix;     // file-name suffix
    std::wstring shortCode;  // two-letter code stored by installed products
    bool available = true;   // the main package carries this language
};

// The string with this id as stored for this language; empty when the language has no such string.
using StringSource = std::function<std::wstring(uint16_t languageId, unsigned id)>;

constexpr uint16_t kLanguageIdEnglish = 1033;
constexpr uint16_t kLanguageIdGerman = 1031;
constexpr uint16_t kLanguageIdSpanish = 1034;
constexpr uint16_t kLanguageIdFrench = 1036;
constexpr uint16_t kLanguageIdJapanese = 1041;
constexpr uint16_t kLanguageIdChinese = 2052;

// The code table of resource names: "1031", "1034", "1036", "1041" and "2052" map to themselves, every other
// text to 1033.
uint16_t LanguageIdForCode(std::wstring_view code);

class LanguageTable {
public:
    explicit LanguageTable(StringSource source);

    // Each Select* returns whether an entry matched; with no match the current entry stays. SelectByName and
    // SelectByLanguageId reload the display names in any case, SelectByShortCode only when an entry is
    // current afterwards.
    bool SelectByName(std::wstring_view name);      // name or display name, without regard to case
    bool SelectByLanguageId(uint16_t languageId);   // exact identifier, else the same primary language
    bool SelectByShortCode(std::wstring_view code); // exact, case-sensitive
    // Marks the entry with this code (without regard to case); other codes change nothing.
    void SetAvailable(std::wstring_view code, bool available);

    // The display names of the available entries, in table order (the wizard's language box).
    std::vector<std::wstring> AvailableDisplayNames() const;
    const std::vector<LanguageEntry>& Entries() const { return entries_; }

    // The current entry, or null before the first successful selection.
    const LanguageEntry* Current() const { return current_ < 0 ? nullptr : &entries_[current_]; }
    std::wstring CurrentName() const;
    std::wstring CurrentDisplayName() const;
    uint16_t CurrentLanguageId() const;
    std::wstring CurrentCode() const;
    std::wstring CurrentSuffix() const;
    std::wstring CurrentShortCode() const;

    // The string in the current language, empty when missing (never the English text instead). Before any
    // language is current the English strings are used.
    std::wstring LoadString(unsigned id) const;
    std::wstring LoadStringW(unsigned id) const { return LoadString(id); }
    template <class... Args> std::wstring FormatString(unsigned id, const Args&... args) const {
        return Format(LoadString(id), args...);
    }

private:
    // Makes the first entry that matches current.
    bool Select(const std::function<bool(const LanguageEntry&)>& matches);
    void ReloadDisplayNames();

    StringSource source_;
    std::vector<LanguageEntry> entries_;
    int current_ = -1; // index into entries_
};

#pragma pop_macro("LoadString")
