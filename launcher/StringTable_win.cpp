#include "launcher/StringTable_win.h"

#include "launcher/StringBlock.h"

#include <atomic>
#include <span>
#include <vector>

namespace {

std::atomic<const LanguageTable*> processTable{nullptr};

BOOL CALLBACK CollectLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR found) {
    reinterpret_cast<std::vector<LANGID>*>(found)->push_back(language);
    return TRUE;
}

// The language of the block to read: the exact one, else the neutral sublanguage of the same primary
// language. The platform's own lookup would go on to other languages, which must not happen here.
bool ChooseBlockLanguage(HMODULE module, unsigned block, LANGID wanted, LANGID& chosen) {
    std::vector<LANGID> languages;
    EnumResourceLanguagesW(module, RT_STRING, MAKEINTRESOURCEW(block), CollectLanguage,
                           reinterpret_cast<LONG_PTR>(&languages));
    const LANGID neutral = MAKELANGID(PRIMARYLANGID(wanted), SUBLANG_NEUTRAL);
    for (LANGID candidate : {wanted, neutral}) {
        for (LANGID language : languages) {
            if (language == candidate) {
                chosen = language;
                return true;
            }
        }
    }
    return false;
}

} // namespace

std::wstring LoadStringInLanguage(HMODULE module, uint16_t languageId, unsigned id) {
    if (!module)
        module = GetModuleHandleW(nullptr);
    const unsigned block = StringBlockNumber(id);
    if (block > 0xFFFF)
        return {};
    LANGID language = 0;
    if (!ChooseBlockLanguage(module, block, languageId, language))
        return {};
    HRSRC resource = FindResourceExW(module, RT_STRING, MAKEINTRESOURCEW(block), language);
    HGLOBAL loaded = resource ? LoadResource(module, resource) : nullptr;
    const auto* data = loaded ? static_cast<const uint16_t*>(LockResource(loaded)) : nullptr;
    if (!data)
        return {};
    const size_t units = SizeofResource(module, resource) / sizeof(uint16_t);
    return StringFromBlock(std::span<const uint16_t>(data, units), StringBlockIndex(id));
}

StringSource ResourceStringSource(HMODULE module) {
    return
        [module](uint16_t languageId, unsigned id) { return LoadStringInLanguage(module, languageId, id); };
}

void SetProcessLanguageTable(const LanguageTable* table) {
    processTable.store(table);
}

std::wstring LoadResourceString(unsigned id) {
    const LanguageTable* table = processTable.load();
    return table ? table->LoadString(id) : LoadStringInLanguage(nullptr, kLanguageIdEnglish, id);
}
