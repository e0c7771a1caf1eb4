#include "extraction/PayloadCheck_win.h"

#include "launcher/ManifestResources_win.h"
#include "launcher/ManifestRules.h"
#include "support/Sha256_win.h"

static_assert(kPayloadHashesLanguage == kManifestLanguage, "the record is read as a manifest-language text");

PayloadHashes ReadPayloadHashes(HMODULE module) {
    // A multi-language reader takes the text from the manifest language alone, the record's one language.
    const auto text = ManifestResources(module, true).ReadText(kPayloadHashesName);
    return text ? ParsePayloadHashes(*text) : PayloadHashes{};
}

const PayloadHashes& LauncherPayloadHashes() {
    static const PayloadHashes hashes = ReadPayloadHashes(GetModuleHandleW(nullptr));
    return hashes;
}

std::optional<std::span<const unsigned char>> PayloadResourceBytes(HMODULE module,
                                                                   const PayloadRecord& record) {
    const std::wstring namedType(kEmbeddedInstallerType);
    const LPCWSTR type =
        record.kind == PayloadKind::Extra ? namedType.c_str() : MAKEINTRESOURCEW(kManifestResourceType);
    const HRSRC resource = FindResourceExW(module, type, record.name.c_str(), record.language);
    const HGLOBAL loaded = resource ? LoadResource(module, resource) : nullptr;
    const auto* data = loaded ? static_cast<const unsigned char*>(LockResource(loaded)) : nullptr;
    if (!data)
        return std::nullopt;
    return std::span<const unsigned char>(data, SizeofResource(module, resource));
}

bool PayloadBytesMatch(const PayloadRecord& record, std::optional<std::span<const unsigned char>> bytes) {
    if (!bytes)
        return false;
    const std::optional<Sha256Digest> digest = Sha256(*bytes);
    return digest && *digest == record.digest;
}

bool PayloadResourceMatches(HMODULE module, const PayloadHashes& hashes, PayloadKind kind,
                            const std::wstring& name, LANGID language) {
    // A record with lines that cannot be read no longer vouches for anything it describes.
    if (hashes.malformedLines > 0)
        return false;
    const PayloadRecord* record = FindPayloadRecord(hashes, kind, name, language);
    return !record || PayloadBytesMatch(*record, PayloadResourceBytes(module, *record));
}

bool LauncherResourceMatches(PayloadKind kind, const std::wstring& name, LANGID language) {
    return PayloadResourceMatches(GetModuleHandleW(nullptr), LauncherPayloadHashes(), kind, name, language);
}

std::vector<PayloadRecord> DamagedPayloadResources(HMODULE module, const PayloadHashes& hashes) {
    return DamagedPayloadRecords(hashes,
                                 [module](const PayloadRecord& record) -> std::optional<Sha256Digest> {
                                     const auto bytes = PayloadResourceBytes(module, record);
                                     return bytes ? Sha256(*bytes) : std::nullopt;
                                 });
}
