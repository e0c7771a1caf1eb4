// Feeds arbitrary text to the reader of the payload record, as 8-bit characters or, when the first byte
// says so, as UTF-16 (the way the launcher reads it). What it keeps must be well-formed records of
// distinct resources that read back the same when written out again.
#include "FuzzInput.h"

#include "launcher/PayloadHashes.h"

namespace {

const wchar_t* KindText(PayloadKind kind) {
    switch (kind) {
    case PayloadKind::Package:
        return L"package";
    case PayloadKind::Transform:
        return L"transform";
    case PayloadKind::Extra:
        return L"extra";
    }
    std::abort();
}

// The record's lines as the bundle tool writes them.
std::wstring Written(const PayloadHashes& hashes) {
    std::wstring text;
    for (const PayloadRecord& record : hashes.records) {
        text += KindText(record.kind);
        text += L'\t' + record.name + L'\t' + std::to_wstring(record.language) + L'\t';
        for (uint8_t byte : record.digest) {
            text += L"0123456789abcdef"[byte >> 4];
            text += L"0123456789abcdef"[byte & 15];
        }
        text += L'\n';
    }
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const std::wstring text = FuzzText(data, size);
    const PayloadHashes hashes = ParsePayloadHashes(text);

    FUZZ_REQUIRE(hashes.malformedLines >= 0);
    FUZZ_REQUIRE(hashes.records.size() + static_cast<size_t>(hashes.malformedLines) <=
                 static_cast<size_t>(std::count(text.begin(), text.end(), L'\n')) + 1);
    for (const PayloadRecord& record : hashes.records) {
        FUZZ_REQUIRE(record.language != 0);
        FUZZ_REQUIRE(!record.name.empty());
        FUZZ_REQUIRE(record.name.find_first_of(L"\t\n") == std::wstring::npos);
        // Records are of distinct resources, so each finds itself.
        FUZZ_REQUIRE(FindPayloadRecord(hashes, record.kind, record.name, record.language) == &record);
        FUZZ_REQUIRE(FindPayloadRecord(hashes, record.kind, record.name, 0) != nullptr);
    }

    const PayloadHashes again = ParsePayloadHashes(Written(hashes));
    FUZZ_REQUIRE(again.malformedLines == 0);
    FUZZ_REQUIRE(again.records.size() == hashes.records.size());
    for (size_t i = 0; i < again.records.size(); ++i) {
        FUZZ_REQUIRE(again.records[i].kind == hashes.records[i].kind);
        FUZZ_REQUIRE(again.records[i].name == hashes.records[i].name);
        FUZZ_REQUIRE(again.records[i].language == hashes.records[i].language);
        FUZZ_REQUIRE(again.records[i].digest == hashes.records[i].digest);
    }
    return 0;
}
