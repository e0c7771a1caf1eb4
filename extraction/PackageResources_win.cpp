#include "extraction/PackageResources_win.h"

#include "extraction/CabinetExtractor_win.h"
#include "extraction/PayloadCheck_win.h"
#include "launcher/ManifestResources_win.h"
#include "launcher/SetupLog.h"
#include "support/FileUtilities_win.h"
#include "support/Handle_win.h"

namespace {

constexpr size_t kLengthPrefixBytes = 4;
constexpr LANGID kTaxonomyResourceLanguage = 1033;
constexpr wchar_t kTaxonomyResourceName[] = L"PACKAGE_0";

} // namespace

std::optional<std::span<const unsigned char>> PackageResourceBytes(const std::wstring& name,
                                                                   LANGID language) {
    return ManifestResources(GetModuleHandleW(nullptr), false).Bytes(name, language);
}

uint64_t PackageDataSize(const std::wstring& packageData) {
    if (const auto bytes = PackageResourceBytes(packageData))
        return bytes->size() > kLengthPrefixBytes ? bytes->size() - kLengthPrefixBytes : 0;
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (packageData.empty() || !GetFileAttributesExW(packageData.c_str(), GetFileExInfoStandard, &data))
        return 0;
    return (uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

ExtractionOutcome ExtractPackageCabinet(const std::wstring& packageData, const std::wstring& folder,
                                        ICBSCabinetProgressCallbacks* receiver, LogSinkIF& log) {
    // A record with lines that cannot be read no longer vouches for what they described: the launcher is
    // damaged, and none of its packages is unpacked.
    if (LauncherPayloadHashes().malformedLines > 0) {
        log.Write(kLogLevelFailure, L"VNT (c): The launcher's record of SHA-256 hashes is damaged.\r\n");
        return ExtractionOutcome::Failed;
    }
    // The bytes that were checked are the bytes extracted: the record's language, not whichever one a
    // lookup in any language would find.
    if (const PayloadRecord* record =
            FindPayloadRecord(LauncherPayloadHashes(), PayloadKind::Package, packageData, 0)) {
        const auto bytes = PackageResourceBytes(packageData, record->language);
        if (!PayloadBytesMatch(*record, bytes)) {
            log.Write(kLogLevelFailure,
                      L"VNT (c): Package resource %s does not match its recorded SHA-256 hash.\r\n",
                      packageData);
            return ExtractionOutcome::Failed;
        }
        return CabinetExtractor::FromMemory(bytes->data(), bytes->size(), folder).ExtractAll(receiver);
    }
    if (const auto bytes = PackageResourceBytes(packageData))
        return CabinetExtractor::FromMemory(bytes->data(), bytes->size(), folder).ExtractAll(receiver);
    return CabinetExtractor::FromFile(packageData, folder).ExtractAll(receiver);
}

FileWriteResult WriteWholeFile(const std::wstring& path, std::span<const unsigned char> bytes) {
    FileHandle file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return FileWriteResult::NotCreated;
    DWORD written = 0;
    const bool wrote =
        WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    const DWORD error = GetLastError();
    if (wrote && written == bytes.size() && file.Close())
        return FileWriteResult::Written;
    file.Close();
    DeleteFileW(path.c_str());
    return !wrote && (error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL) ? FileWriteResult::DiskFull
                                                                                   : FileWriteResult::Failed;
}

bool WriteTaxonomyFile(const std::wstring& packageData, const std::wstring& target) {
    if (!LauncherResourceMatches(PayloadKind::Package, kTaxonomyResourceName, kTaxonomyResourceLanguage))
        return false;
    if (const auto bytes = PackageResourceBytes(kTaxonomyResourceName, kTaxonomyResourceLanguage))
        return WriteWholeFile(target, *bytes) == FileWriteResult::Written;
    return ICBSFileUtilities::CopyFile(packageData, target, false);
}
