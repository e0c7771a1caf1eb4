// Texts shown to the user come from the launcher's string tables by number, read straight from the
// resources in the language the launcher chose, never in the thread's or the system's user-interface
// language. The application object owns the LanguageTable and registers it here for the process.
#pragma once

#include "launcher/LanguageTable.h"
#include "support/Format.h"

#include <windows.h>

#include <cstdint>
#include <string>

// String `id` of `module` (null: the launcher's own executable) stored for exactly this language, or else
// for the neutral sublanguage of its primary language (Japanese is stored under 17); empty when neither
// string table holds it. No other language is ever used instead.
std::wstring LoadStringInLanguage(HMODULE module, uint16_t languageId, unsigned id);

// A StringSource over a module's string tables, for a LanguageTable.
StringSource ResourceStringSource(HMODULE module = nullptr);

// The table whose current language LoadResourceString speaks; null (the default) means English. The
// application object registers its table for its lifetime.
void SetProcessLanguageTable(const LanguageTable* table);

// The string with this id in the current user-interface language; empty when it is missing.
std::wstring LoadResourceString(unsigned id);

// The string with this id in the current user-interface language, formatted with the arguments; a
// translation whose placeholders do not fit them never reads past them.
template <class... Args> std::wstring FormatResourceString(unsigned id, const Args&... args) {
    return Format(LoadResourceString(id), args...);
}
