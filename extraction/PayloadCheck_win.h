// Checks a launcher's payload resources against the SHA-256 digests its "PAYLOAD_HASHES" record holds
// (launcher/PayloadHashes.h): the unpacking refuses a package resource that differs, and the validation
// mode lists every recorded resource that is damaged. A launcher without the record checks nothing.
#pragma once

#include "launcher/PayloadHashes.h"

#include <windows.h>

#include <optional>
#include <span>
#include <string>
#include <vector>

// The record of a module: empty when the module carries none.
PayloadHashes ReadPayloadHashes(HMODULE module);
// The running launcher's record, read once: its resources cannot change while it runs, and a launcher
// without the record pays for one failed resource lookup only.
const PayloadHashes& LauncherPayloadHashes();

// The bytes of the resource a record describes (its kind says the type), or nothing when the module
// lacks it.
std::optional<std::span<const unsigned char>> PayloadResourceBytes(HMODULE module,
                                                                   const PayloadRecord& record);
// Whether bytes found for the record's resource are what it recorded; missing bytes never are.
bool PayloadBytesMatch(const PayloadRecord& record, std::optional<std::span<const unsigned char>> bytes);
// Whether the module's resource matches its record. True when there is no record: nothing was promised;
// false for every resource when the record has malformed lines. Language 0 takes the record in whatever
// language it has, and reads the resource in that language.
bool PayloadResourceMatches(HMODULE module, const PayloadHashes& hashes, PayloadKind kind,
                            const std::wstring& name, LANGID language);
// The same for the running launcher's own resource against its own record.
bool LauncherResourceMatches(PayloadKind kind, const std::wstring& name, LANGID language);
// Every recorded resource the module lacks or holds different bytes for, in the record's order.
std::vector<PayloadRecord> DamagedPayloadResources(HMODULE module, const PayloadHashes& hashes);
