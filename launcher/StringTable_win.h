// Texts shown to the user come from the launcher's string tables by number.
#pragma once

#include <string>

// The string with this id in the current user-interface language; empty when it is missing.
std::wstring LoadResourceString(unsigned id);
