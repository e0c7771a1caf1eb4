#include "launcher/PayloadHashes.h"

#include <gtest/gtest.h>

#include <map>

namespace {

// SHA-256 of "abc" and of nothing.
constexpr wchar_t kAbc[] = L"ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";
constexpr wchar_t kEmpty[] = L"e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855";

std::string Narrow(std::wstring_view text) {
    std::string out;
    for (wchar_t c : text)
        out += c == L'\t' ? '|' : c == L'\n' ? '/' : static_cast<char>(c);
    return out;
}

std::wstring Line(std::wstring_view kind, std::wstring_view name, std::wstring_view language,
                  std::wstring_view digest) {
    return std::wstring(kind) + L"\t" + std::wstring(name) + L"\t" + std::wstring(language) + L"\t" +
           std::wstring(digest);
}

Sha256Digest Digest(std::wstring_view hex) {
    return ParseSha256Hex(hex).value();
}

// Each text against the records it yields and the lines it skips.
TEST(PayloadHashes, ParsesWellFormedLinesAndCountsTheOthers) {
    const std::wstring good = Line(L"package", L"PACKAGE_0", L"1033", kAbc);
    const std::wstring upper = L"BA7816BF8F01CFEA414140DE5DAE2223B00361A396177A9CB410FF61F20015AD";
    const struct {
        std::wstring text;
        size_t records;
        int malformed;
    } cases[] = {
        {L"", 0, 0},
        {good, 1, 0},
        {good + L"\n", 1, 0},
        {L"\n\n" + good + L"\n\n", 1, 0},
        {good + L"\n" + Line(L"transform", L"PACKAGE_0_1031", L"1031", kEmpty) + L"\n" +
             Line(L"extra", L"EVERGREEN_DOWNLOADER", L"1033", kAbc),
         3, 0},
        {good + L"\r\n", 0, 1},                                // a carriage return spoils the digest
        {Line(L"Package", L"PACKAGE_0", L"1033", kAbc), 0, 1}, // kinds are lowercase
        {Line(L"text", L"OS", L"1033", kAbc), 0, 1},
        {Line(L"package", L"", L"1033", kAbc), 0, 1},
        {Line(L"package", L"PACKAGE_0", L"", kAbc), 0, 1},
        {Line(L"package", L"PACKAGE_0", L"0", kAbc), 0, 1},
        {Line(L"package", L"PACKAGE_0", L"65535", kAbc), 1, 0},
        {Line(L"package", L"PACKAGE_0", L"65536", kAbc), 0, 1},
        {Line(L"package", L"PACKAGE_0", L"4294968329", kAbc), 0, 1}, // 2^32 + 1033 must not wrap to 1033
        {Line(L"package", L"PACKAGE_0", L"+1033", kAbc), 0, 1},
        {Line(L"package", L"PACKAGE_0", L"1033", upper), 0, 1},
        {Line(L"package", L"PACKAGE_0", L"1033", std::wstring(kAbc).substr(1)), 0, 1},
        {Line(L"package", L"PACKAGE_0", L"1033", std::wstring(kAbc) + L"0"), 0, 1},
        {Line(L"package", L"PACKAGE_0", L"1033", std::wstring(kAbc, 63) + L"g"), 0, 1},
        {good + L"\tmore", 0, 1},
        {L"package\tPACKAGE_0\t1033", 0, 1},
        // A second record of one resource, in any case of its name; another kind or language is another
        // resource.
        {good + L"\n" + Line(L"package", L"package_0", L"1033", kEmpty), 1, 1},
        {good + L"\n" + good, 1, 1},
        {good + L"\n" + Line(L"extra", L"PACKAGE_0", L"1033", kAbc), 2, 0},
        {good + L"\n" + Line(L"package", L"PACKAGE_0", L"1031", kAbc), 2, 0},
        {L"x\n" + good + L"\ny", 1, 2},
    };
    for (const auto& c : cases) {
        const PayloadHashes hashes = ParsePayloadHashes(c.text);
        EXPECT_EQ(c.records, hashes.records.size()) << Narrow(c.text);
        EXPECT_EQ(c.malformed, hashes.malformedLines) << Narrow(c.text);
    }

    const PayloadHashes hashes =
        ParsePayloadHashes(Line(L"transform", L"PACKAGE_1_1041", L"1041", kAbc) + L"\n" +
                           Line(L"extra", L"EVERGREEN_DOWNLOADER", L"1033", kEmpty));
    ASSERT_EQ(2u, hashes.records.size());
    EXPECT_EQ(PayloadKind::Transform, hashes.records[0].kind);
    EXPECT_EQ(L"PACKAGE_1_1041", hashes.records[0].name);
    EXPECT_EQ(1041, hashes.records[0].language);
    EXPECT_EQ(0xba, hashes.records[0].digest.front());
    EXPECT_EQ(0xad, hashes.records[0].digest.back());
    EXPECT_EQ(PayloadKind::Extra, hashes.records[1].kind);
    EXPECT_EQ(Digest(kEmpty), hashes.records[1].digest);
}

TEST(PayloadHashes, FindsTheRecordOfOneResource) {
    const PayloadHashes hashes =
        ParsePayloadHashes(Line(L"package", L"PACKAGE_0", L"1033", kAbc) + L"\n" +
                           Line(L"transform", L"PACKAGE_0_1031", L"1031", kAbc) + L"\n" +
                           Line(L"transform", L"PACKAGE_0_1031", L"1036", kEmpty) + L"\n" +
                           Line(L"extra", L"PACKAGE_1", L"1033", kAbc));
    const struct {
        PayloadKind kind;
        const wchar_t* name;
        unsigned short language;
        int found; // index of the record, -1 for none
    } cases[] = {
        {PayloadKind::Package, L"PACKAGE_0", 1033, 0},
        {PayloadKind::Package, L"package_0", 1033, 0},
        {PayloadKind::Package, L"PACKAGE_0", 0, 0},
        {PayloadKind::Package, L"PACKAGE_0", 1031, -1},
        {PayloadKind::Package, L"PACKAGE_00", 1033, -1},
        {PayloadKind::Transform, L"PACKAGE_0", 1033, -1},
        {PayloadKind::Transform, L"PACKAGE_0_1031", 1036, 2},
        {PayloadKind::Transform, L"PACKAGE_0_1031", 0, 1}, // the first in any language
        {PayloadKind::Package, L"PACKAGE_1", 1033, -1},    // recorded under the named type only
        {PayloadKind::Extra, L"PACKAGE_1", 0, 3},
    };
    for (const auto& c : cases) {
        const PayloadRecord* record = FindPayloadRecord(hashes, c.kind, c.name, c.language);
        const int found = record ? static_cast<int>(record - hashes.records.data()) : -1;
        EXPECT_EQ(c.found, found) << Narrow(c.name) << " " << c.language;
    }
    EXPECT_EQ(nullptr, FindPayloadRecord(PayloadHashes{}, PayloadKind::Package, L"PACKAGE_0", 0));
}

// The damaged resources are those whose digest is missing or differs, whatever their kind.
TEST(PayloadHashes, ListsMissingAndDifferingResourcesInOrder) {
    const PayloadHashes hashes = ParsePayloadHashes(
        Line(L"extra", L"INTACT_EXTRA", L"1033", kAbc) + L"\n" + Line(L"package", L"MISSING", L"1033", kAbc) +
        L"\n" + Line(L"package", L"PACKAGE_0", L"1033", kAbc) + L"\n" +
        Line(L"transform", L"PACKAGE_0_1031", L"1031", kEmpty) + L"\n" +
        Line(L"transform", L"PACKAGE_0_1036", L"1036", kEmpty));
    Sha256Digest oneBitOff = Digest(kEmpty);
    oneBitOff[31] ^= 1;
    const std::map<std::wstring, Sha256Digest> found = {
        {L"INTACT_EXTRA", Digest(kAbc)},
        {L"PACKAGE_0", Digest(kEmpty)},
        {L"PACKAGE_0_1031", oneBitOff},
        {L"PACKAGE_0_1036", Digest(kEmpty)},
    };
    const std::vector<PayloadRecord> damaged =
        DamagedPayloadRecords(hashes, [&](const PayloadRecord& record) -> std::optional<Sha256Digest> {
            const auto digest = found.find(record.name);
            return digest == found.end() ? std::nullopt : std::optional(digest->second);
        });
    std::vector<std::wstring> names;
    for (const PayloadRecord& record : damaged)
        names.push_back(record.name);
    EXPECT_EQ((std::vector<std::wstring>{L"MISSING", L"PACKAGE_0", L"PACKAGE_0_1031"}), names);
    EXPECT_TRUE(
        DamagedPayloadRecords(PayloadHashes{}, [](const PayloadRecord&) { return std::nullopt; }).empty());
}

} // namespace
