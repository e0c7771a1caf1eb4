// The start-language decision of the launcher: which languages the main package carries, whether the user
// gets a language choice, and which language the run starts in. The Windows layer answers whether a
// resource exists; the decision itself is here.
#pragma once

#include "launcher/LanguageTable.h"

#include <cstdint>
#include <functional>
#include <string>

// Whether the launcher's resource lookup finds a manifest resource (type 40) of this name in this language.
using ManifestResourceProbe = std::function<bool(const std::wstring& name, uint16_t languageId)>;

// Selects the start language in `table` and marks the available languages. Returns the multi-language
// flag: more than one language variant of the main package is carried. requestedLanguage is the lang=
// value of the command line; userLanguage the user's default user-interface language identifier.
bool ProbeStartLanguage(LanguageTable& table, const ManifestResourceProbe& hasResource,
                        const std::wstring& requestedLanguage, uint16_t userLanguage);
