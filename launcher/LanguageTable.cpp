#include "launcher/LanguageTable.h"

#include "support/StringUtil.h"

namespace {

// The language-independent part of a Windows language identifier.
constexpr uint16_t kPrimaryLanguageMask = 0x3FF;

std::vector<LanguageEntry> BuildEntries() {
    struct Row {
        const wchar_t* name;
        unsigned nameStringId;
        uint16_t languageId;
        const wchar_t* suffix;
        const wchar_t* shortCode;
    };
    static const Row rows[] = {
        {L"English", 50, kLanguageIdEnglish, L"", L"en"},
        {L"German", 51, kLanguageIdGerman, L"_de", L"de"},
        {L"Spanish", 52, kLanguageIdSpanish, L"_es", L"es"},
        {L"French", 65, kLanguageIdFrench, L"_fr", L"fr"},
        {L"Japanese", 53, kLanguageIdJapanese, L"_ja", L"ja"},
    };
    std::vector<LanguageEntry> entries;
    for (const Row& row : rows) {
        LanguageEntry entry;
        entry.name = row.name;
        entry.displayName = row.name;
        entry.nameStringId = row.nameStringId;
        entry.languageId = row.languageId;
        entry.code = std::to_wstring(row.languageId);
        entry.suffix = row.suffix;
        entry.shortCode = row.shortCode;
        entries.push_back(entry);
    }
    return entries;
}

} // namespace

uint16_t LanguageIdForCode(std::wstring_view code) {
    for (uint16_t id : {kLanguageIdGerman, kLanguageIdSpanish, kLanguageIdFrench, kLanguageIdJapanese,
                        kLanguageIdChinese}) {
        if (code == std::to_wstring(id))
            return id;
    }
    return kLanguageIdEnglish;
}

LanguageTable::LanguageTable(StringSource source) : source_(std::move(source)), entries_(BuildEntries()) {}

bool LanguageTable::Select(const std::function<bool(const LanguageEntry&)>& matches) {
    for (size_t i = 0; i < entries_.size(); ++i) {
        if (matches(entries_[i])) {
            current_ = static_cast<int>(i);
            return true;
        }
    }
    return false;
}

bool LanguageTable::SelectByName(std::wstring_view name) {
    const bool matched = Select([&](const LanguageEntry& entry) {
        return EqualsNoCase(entry.name, name) || EqualsNoCase(entry.displayName, name);
    });
    ReloadDisplayNames();
    return matched;
}

bool LanguageTable::SelectByLanguageId(uint16_t languageId) {
    const bool matched =
        Select([&](const LanguageEntry& entry) { return entry.languageId == languageId; }) ||
        Select([&](const LanguageEntry& entry) {
            return (entry.languageId & kPrimaryLanguageMask) == (languageId & kPrimaryLanguageMask);
        });
    ReloadDisplayNames();
    return matched;
}

bool LanguageTable::SelectByShortCode(std::wstring_view code) {
    const bool matched = Select([&](const LanguageEntry& entry) { return entry.shortCode == code; });
    if (current_ >= 0)
        ReloadDisplayNames();
    return matched;
}

void LanguageTable::SetAvailable(std::wstring_view code, bool available) {
    for (LanguageEntry& entry : entries_) {
        if (EqualsNoCase(entry.code, code)) {
            entry.available = available;
            return;
        }
    }
}

std::vector<std::wstring> LanguageTable::AvailableDisplayNames() const {
    std::vector<std::wstring> names;
    for (const LanguageEntry& entry : entries_) {
        if (entry.available)
            names.push_back(entry.displayName);
    }
    return names;
}

std::wstring LanguageTable::CurrentName() const {
    return Current() ? Current()->name : std::wstring();
}
std::wstring LanguageTable::CurrentDisplayName() const {
    return Current() ? Current()->displayName : std::wstring();
}
uint16_t LanguageTable::CurrentLanguageId() const {
    return Current() ? Current()->languageId : kLanguageIdEnglish;
}
std::wstring LanguageTable::CurrentCode() const {
    return Current() ? Current()->code : std::wstring();
}
std::wstring LanguageTable::CurrentSuffix() const {
    return Current() ? Current()->suffix : std::wstring();
}
std::wstring LanguageTable::CurrentShortCode() const {
    return Current() ? Current()->shortCode : std::wstring();
}

std::wstring LanguageTable::LoadString(unsigned id) const {
    return source_ ? source_(CurrentLanguageId(), id) : std::wstring();
}

void LanguageTable::ReloadDisplayNames() {
    for (LanguageEntry& entry : entries_)
        entry.displayName = LoadString(entry.nameStringId);
}
