// The record a launcher carries of its payload: the SHA-256 of every package, transform and extra
// installer exactly as the bundle tool stored them, in the type-40 text "PAYLOAD_HASHES" (the format is
// described in tools/bundle/bundle.py). Reading the record and judging digests against it are portable;
// hashing the resources is the Windows layer's part (extraction/PayloadCheck_win.h).
#pragma once

#include "support/Sha256Digest.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

inline constexpr wchar_t kPayloadHashesName[] = L"PAYLOAD_HASHES";
// The record is stored in this language only, whatever languages the launcher offers.
constexpr unsigned short kPayloadHashesLanguage = 1033;

// Where a recorded resource lives: packages and transforms under the numeric type 40, extras under the
// named type "40".
enum class PayloadKind { Package, Transform, Extra };

struct PayloadRecord {
    PayloadKind kind = PayloadKind::Package;
    std::wstring name;
    unsigned short language = 0; // never 0 in a parsed record
    Sha256Digest digest{};
};

struct PayloadHashes {
    std::vector<PayloadRecord> records; // in the record's order
    // Lines that were skipped: not four fields, an unknown kind, no name, a language outside 1..65535, a
    // digest that is not 64 lowercase hex digits, or a second record of the same resource. A launcher
    // whose record has any is damaged itself.
    int malformedLines = 0;
};

// Reads the record's text; empty lines are ignored.
PayloadHashes ParsePayloadHashes(std::wstring_view text);

// The record of a resource, or null. Names compare without regard to case, as Windows finds resources;
// language 0 takes the first record of that kind and name in any language.
const PayloadRecord* FindPayloadRecord(const PayloadHashes& hashes, PayloadKind kind, std::wstring_view name,
                                       unsigned short language);

// A resource's digest as the launcher finds it; nothing when the resource is missing or cannot be hashed.
using PayloadDigestReader = std::function<std::optional<Sha256Digest>(const PayloadRecord&)>;
// Every recorded resource that is missing or whose digest differs from its record, in the record's order.
std::vector<PayloadRecord> DamagedPayloadRecords(const PayloadHashes& hashes,
                                                 const PayloadDigestReader& digestOf);
