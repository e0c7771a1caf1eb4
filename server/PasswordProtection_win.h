// The protected form in which a service logon password travels to the installer packages, which decipher
// it with the same derivation: RC4 keyed from the SHA-1 of a fixed pass phrase, then Base64 with the
// system's line breaks. The key is made on first use and kept, with its provider, until the process ends.
#pragma once

#include <string>

// The password enciphered and encoded; the password itself when the system offers no key, and empty when
// enciphering or encoding fails.
std::wstring ProtectServicePassword(const std::wstring& password);
