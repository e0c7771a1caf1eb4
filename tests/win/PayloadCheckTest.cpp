// The payload check against this test program's own resources: its "PAYLOAD_HASHES" record (made by
// tools/testdata/make_test_cabinets.py) describes SAMPLE_CABINET and UNPACKTEST_1031 as they are,
// DAMAGED_CABINET with one byte different, a MISSING_CABINET and an extra that is not there.
#include "CabinetTestSupport.h"
#include "MemoryLog.h"

#include "extraction/PackageResources_win.h"
#include "extraction/PackageUnpacker_win.h"
#include "extraction/PayloadCheck_win.h"
#include "support/Sha256_win.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>

using namespace CabinetTest;

namespace {

std::span<const unsigned char> Bytes(const std::string& text) {
    return {reinterpret_cast<const unsigned char*>(text.data()), text.size()};
}

} // namespace

TEST(PayloadCheck, Sha256OfKnownInputs) {
    const struct {
        std::string input;
        const wchar_t* digest;
    } cases[] = {
        {"", L"e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", L"ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         L"248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {std::string(1000000, 'a'), L"cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.input.size());
        EXPECT_EQ(ParseSha256Hex(c.digest), Sha256(Bytes(c.input)));
    }
}

TEST(PayloadCheck, JudgesTheProgramsOwnResourcesAgainstItsRecord) {
    const HMODULE module = GetModuleHandleW(nullptr);
    const PayloadHashes& hashes = LauncherPayloadHashes();
    ASSERT_EQ(5u, hashes.records.size());
    EXPECT_EQ(0, hashes.malformedLines);

    // The resource bytes are the files the resources were made from.
    const PayloadRecord& transform = hashes.records[3];
    const auto transformBytes = PayloadResourceBytes(module, transform);
    ASSERT_TRUE(transformBytes.has_value());
    EXPECT_EQ(ReadBytes(DataFile(L"transform_de.bin")),
              std::string(reinterpret_cast<const char*>(transformBytes->data()), transformBytes->size()));

    const struct {
        PayloadKind kind;
        const wchar_t* name;
        LANGID language;
        bool matches;
    } cases[] = {
        {PayloadKind::Package, L"SAMPLE_CABINET", 0, true},
        {PayloadKind::Package, L"DAMAGED_CABINET", 0, false},
        {PayloadKind::Package, L"MISSING_CABINET", 1033, false},
        {PayloadKind::Transform, L"UNPACKTEST_1031", 1031, true},
        {PayloadKind::Extra, L"SAMPLE_CABINET", 1033, false},   // looked for under the named type
        {PayloadKind::Package, L"UNRECORDED", 0, true},         // nothing was promised
        {PayloadKind::Package, L"UNPACKTEST_1031", 1031, true}, // recorded as a transform only
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.name, c.name + wcslen(c.name)));
        EXPECT_EQ(c.matches, PayloadResourceMatches(module, hashes, c.kind, c.name, c.language));
    }

    std::vector<std::wstring> damaged;
    for (const PayloadRecord& record : DamagedPayloadResources(module, hashes))
        damaged.push_back(record.name);
    EXPECT_EQ((std::vector<std::wstring>{L"DAMAGED_CABINET", L"MISSING_CABINET", L"SAMPLE_CABINET"}),
              damaged);
    EXPECT_TRUE(DamagedPayloadResources(module, PayloadHashes{}).empty());
}

// A damaged or missing recorded package writes nothing and fails as an unreadable cabinet does, with its
// reason in the log.
TEST(PayloadCheck, UnpackingRefusesAPackageThatDiffersFromItsRecord) {
    const struct {
        const wchar_t* data;
        ExtractionOutcome outcome;
        int32_t code, installerError;
        size_t files; // at the top of the folder
    } cases[] = {
        {L"SAMPLE_CABINET", ExtractionOutcome::Extracted, 0, 0, 2},
        {L"DAMAGED_CABINET", ExtractionOutcome::Failed, 1, 1620, 0},
        {L"MISSING_CABINET", ExtractionOutcome::Failed, 1, 1620, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.data, c.data + wcslen(c.data)));
        ScratchFolder scratch(L"payload-check");
        MemoryLog log;
        EXPECT_EQ(c.outcome, ExtractPackageCabinet(c.data, scratch / L"extracted", nullptr, log));
        EXPECT_EQ(c.files, ICBSFileUtilities::ListFiles(scratch / L"extracted", L"*").size());

        PackageDescription description;
        description.packageData = c.data;
        description.languageDataPattern = L"UNPACKTEST_%s";
        PackageInfo package(description);
        package.SetPackageFolder(scratch / L"package");
        const SetupResult result = UnpackMsiPackage(package, nullptr, UnpackSettings{}, log);
        EXPECT_EQ(c.code, result.code);
        EXPECT_EQ(c.installerError, result.installerError);
        EXPECT_EQ(c.files, ICBSFileUtilities::ListFiles(package.PackageFolder(), L"*").size());

        const std::wstring refusal = L"VNT (c): Package resource " + std::wstring(c.data) +
                                     L" does not match its recorded SHA-256 hash.\r\n";
        const std::vector<std::wstring> lines = log.Lines();
        const std::ptrdiff_t refusals = c.code ? 2 : 0; // once per attempt
        EXPECT_EQ(refusals, std::count(lines.begin(), lines.end(), refusal));
    }
}
