#include "launcher/PayloadHashes.h"

#include "support/StringUtil.h"

namespace {

constexpr wchar_t kFieldSeparator = L'\t';

std::optional<PayloadKind> ParseKind(std::wstring_view text) {
    if (text == L"package")
        return PayloadKind::Package;
    if (text == L"transform")
        return PayloadKind::Transform;
    if (text == L"extra")
        return PayloadKind::Extra;
    return std::nullopt;
}

// Plain decimal digits only: a sign or a blank is no part of the tool's output.
std::optional<unsigned short> ParseLanguage(std::wstring_view text) {
    if (text.empty() || text.size() > 5)
        return std::nullopt;
    unsigned long value = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9')
            return std::nullopt;
        value = value * 10 + static_cast<unsigned long>(c - L'0');
    }
    // Language 0 is how a lookup asks for any language, so no record may claim it.
    if (value == 0 || value > 0xFFFF)
        return std::nullopt;
    return static_cast<unsigned short>(value);
}

std::optional<PayloadRecord> ParseLine(std::wstring_view line) {
    const std::vector<std::wstring_view> fields = SplitKeepingEmpty(line, kFieldSeparator);
    if (fields.size() != 4 || fields[1].empty())
        return std::nullopt;
    const auto kind = ParseKind(fields[0]);
    const auto language = ParseLanguage(fields[2]);
    const auto digest = ParseSha256Hex(fields[3]);
    if (!kind || !language || !digest)
        return std::nullopt;
    return PayloadRecord{*kind, std::wstring(fields[1]), *language, *digest};
}

} // namespace

PayloadHashes ParsePayloadHashes(std::wstring_view text) {
    PayloadHashes hashes;
    for (std::wstring_view line : SplitKeepingEmpty(text, L'\n')) {
        if (line.empty())
            continue;
        const auto record = ParseLine(line);
        // A second record of one resource may disagree with the first: neither can be trusted over the
        // other, so the list counts as damaged.
        if (!record || FindPayloadRecord(hashes, record->kind, record->name, record->language)) {
            ++hashes.malformedLines;
            continue;
        }
        hashes.records.push_back(*record);
    }
    return hashes;
}

const PayloadRecord* FindPayloadRecord(const PayloadHashes& hashes, PayloadKind kind, std::wstring_view name,
                                       unsigned short language) {
    for (const PayloadRecord& record : hashes.records) {
        if (record.kind == kind && (language == 0 || record.language == language) &&
            EqualsNoCase(record.name, name))
            return &record;
    }
    return nullptr;
}

std::vector<PayloadRecord> DamagedPayloadRecords(const PayloadHashes& hashes,
                                                 const PayloadDigestReader& digestOf) {
    std::vector<PayloadRecord> damaged;
    for (const PayloadRecord& record : hashes.records) {
        const std::optional<Sha256Digest> digest = digestOf(record);
        if (!digest || *digest != record.digest)
            damaged.push_back(record);
    }
    return damaged;
}
