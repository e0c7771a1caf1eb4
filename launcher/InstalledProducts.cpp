#include "launcher/InstalledProducts.h"

#include "support/FilePath.h"
#include "support/FolderPath.h"
#include "support/Format.h"
#include "support/StringUtil.h"

#include <algorithm>
#include <climits>

namespace InstalledProducts {
namespace {

constexpr std::wstring_view kMakerKey = L"SOFTWARE\\Quenlis\\";
constexpr ProductCatalog::ProductId kRegisteredStandardId{ProductCatalog::kSuiteMemberCode,
                                                          ProductCatalog::kSuiteMemberRegisteredStandard};
constexpr ProductCatalog::ProductId kPackagedStandardId{ProductCatalog::kSuiteMemberCode,
                                                        ProductCatalog::kSuiteMemberPackagedStandard};
constexpr std::wstring_view kSpreadsheetAddInPrefix = L"ZX::";

std::wstring RegisteredIdentifier(const std::wstring& registered, std::wstring_view searching) {
    if (registered == kRegisteredStandardId.View() && searching == kPackagedStandardId.View())
        return std::wstring(kPackagedStandardId.View());
    return registered;
}

// The highest minor a line registers per major and minor; -1 for a line registered per major only.
int32_t HighestRegisteredMinor(const ProductEdition& row) {
    const VersionLine* line = ProductCatalog::FindVersionLine(row.code);
    return line ? line->highestMinor : -1;
}

bool SearchesMinors(const ProductEdition& row) {
    return HighestRegisteredMinor(row) >= 0;
}

// Lines without a bound of their own are numbered by year from 2018 on; a line numbered in small releases
// (5 over 4) would otherwise search from 5 down to 2018, that is not at all.
int32_t LowestSearchedMajor(const ProductEdition& row, int32_t major) {
    const VersionLine* line = ProductCatalog::FindVersionLine(row.code);
    if (line)
        return line->lowestMajor;
    return major < ProductCatalog::kYearNumberedLowestMajor ? 1 : ProductCatalog::kYearNumberedLowestMajor;
}

bool FolderCarriesMinor(const ProductEdition& row, int32_t major) {
    const VersionLine* line = ProductCatalog::FindVersionLine(row.code);
    return line && line->highestMinor >= 0 && major > line->lastMajorWithoutMinorFolder;
}

} // namespace

std::wstring RegistryFolderName(const ProductEdition& row) {
    if (!row.registryName.empty())
        return std::wstring(row.registryName);
    std::wstring_view name = row.fullName;
    if (name.starts_with(ProductCatalog::kMakerPrefix))
        name.remove_prefix(ProductCatalog::kMakerPrefix.size());
    std::wstring folder;
    for (wchar_t c : name) {
        if (c != L' ')
            folder += c;
    }
    return folder;
}

std::wstring FamilyKeyPath(const ProductEdition& row) {
    return std::wstring(kMakerKey) + RegistryFolderName(row);
}

std::wstring RegistrationKeyPath(std::wstring_view folderName, int32_t major, int32_t minor, bool is64Bit) {
    const std::wstring_view suffix = is64Bit ? L"_x64" : L"";
    if (minor < 0)
        return Format(L"SOFTWARE\\Quenlis\\%s\\Installation_v%d%s\\Setup", folderName, major, suffix);
    return Format(L"SOFTWARE\\Quenlis\\%s\\Installation_v%d.%d%s\\Setup", folderName, major, minor, suffix);
}

std::wstring ProductKeyPath(const ProductRecord& record) {
    if (!record.Row() || !record.HasVersion())
        return {};
    return RegistrationKeyPath(RegistryFolderName(*record.Row()), record.Major(),
                               SearchesMinors(*record.Row()) ? record.Minor() : -1, record.Is64Bit());
}

std::vector<std::wstring> SearchedRegistrationKeys(const ProductRecord& record) {
    std::vector<std::wstring> keys;
    if (!record.Row() || !record.HasVersion())
        return keys;
    const std::wstring folder = RegistryFolderName(*record.Row());
    const bool minors = SearchesMinors(*record.Row());
    // A version comes from files anyone can hand to the launcher: an absurd major must not turn into
    // millions of registry reads. No product line spans more majors than this.
    constexpr int32_t kMaxSearchedMajors = 200;
    const int32_t lowest =
        std::max(LowestSearchedMajor(*record.Row(), record.Major()), record.Major() - (kMaxSearchedMajors - 1));
    for (int32_t major = record.Major(); major >= lowest; --major) {
        if (minors) {
            for (int32_t minor = HighestRegisteredMinor(*record.Row()); minor >= 0; --minor)
                keys.push_back(RegistrationKeyPath(folder, major, minor, record.Is64Bit()));
        }
        keys.push_back(RegistrationKeyPath(folder, major, -1, record.Is64Bit()));
    }
    return keys;
}

std::optional<ProductRecord> InstalledRecordFrom(const SetupValues& values, const ProductRecord& searching) {
    if (values.version.empty())
        return std::nullopt;
    const bool fromSuite = values.installedFromSuite != 0;
    if (fromSuite != searching.IsFromSuite())
        return std::nullopt;
    const std::wstring searchingId = searching.IdentifierText();
    const std::wstring id =
        values.productId.empty() ? searchingId : RegisteredIdentifier(values.productId, searchingId);
    ProductRecord installed(id, values.version, searching.Is64Bit(), values.language, fromSuite);
    if (searching.CompareVersion(installed) == -1)
        return std::nullopt; // newer than the package: not an installation it upgrades
    return installed;
}

std::optional<ProductRecord> ScannedRecordFrom(const SetupValues& values,
                                               std::wstring_view searchingIdentifier,
                                               std::wstring_view keyPath) {
    if (values.version.empty())
        return std::nullopt;
    const std::wstring id = values.productId.empty()
                                ? std::wstring(searchingIdentifier)
                                : RegisteredIdentifier(values.productId, searchingIdentifier);
    const bool is64Bit = keyPath.find(L"_x64") != std::wstring_view::npos;
    return ProductRecord(id, values.version, is64Bit, values.language, values.installedFromSuite != 0);
}

bool RegistrationMatches(const SetupValues& values, const ProductRecord& record) {
    const std::wstring id = RegisteredIdentifier(values.productId, record.IdentifierText());
    return VersionMatches(values.version, record, true) && id == record.InstallerIdentifierText();
}

bool VersionMatches(std::wstring_view versionText, const ProductRecord& record, bool ignoreFourth) {
    const auto pieces = SplitKeepingEmpty(versionText, L'.');
    std::array<int32_t, 4> version = {-1, 0, 0, 0};
    for (size_t i = 0; i < pieces.size() && i < version.size(); ++i)
        version[i] = LeadingDecimal(pieces[i]);
    const auto& own = record.Version();
    return version[0] == own[0] && version[1] == own[1] && version[2] == own[2] &&
           (ignoreFourth || version[3] == own[3]);
}

std::wstring ActiveXControlPath(std::wstring_view applicationPath) {
    if (applicationPath.empty())
        return {};
    ICBSFilePath path(applicationPath);
    path.SetExtension(L"ocx");
    return path.FullPath();
}

void RemoveScannedDuplicates(std::vector<ProductRecord>& records) {
    RemoveTwinsOf64BitAddIns(records);
}

std::wstring DefaultInstallFolder(const ProductRecord& record, std::wstring_view programFiles) {
    if (programFiles.empty() || !record.Row())
        return {};
    const ProductEdition* row = ProductCatalog::FindByKey(record.Row()->key);
    // Borrowing another key's folder can lead to a desktop key the catalog does not carry: no folder then.
    if (row && row->installFolder.sameAsKey != 0)
        row = ProductCatalog::FindByKey(row->installFolder.sameAsKey);
    if (!row)
        return {};
    std::wstring_view folderName = row->installFolder.name;
    if (folderName.empty()) {
        const ProductFamily* family = row->Family();
        if (!family)
            return {};
        folderName = family->registryName;
    }

    std::wstring folder(programFiles);
    // The 32-bit launcher is handed the 32-bit folder; a 64-bit product goes to its 64-bit twin.
    if (record.Is64Bit()) {
        const size_t x86 = folder.find(L" (x86)");
        if (x86 != std::wstring::npos)
            folder.erase(x86, 6);
    }
    folder += L"\\Quenlis\\";
    folder += folderName;
    if (row->installFolder.carriesMajor) {
        folder += Format(L"%d", record.Major());
        if (FolderCarriesMinor(*row, record.Major()))
            folder += Format(L".%d", record.Minor());
    }
    return folder;
}

std::wstring InstalledFolderFrom(std::wstring_view applicationPath, bool serverProduct) {
    if (applicationPath.empty())
        return {};
    const ICBSFilePath application(applicationPath);
    if (!application.IsValid())
        return {};
    // Server executables live in a "bin" folder below the installation folder.
    const ICBSFolderPath folder = serverProduct ? application.Folder().Parent() : application.Folder();
    return folder.ToString();
}

bool WillReplace(const ProductRecord& record, const ProductRecord& installed) {
    if (record.IdentifierText() != installed.IdentifierText())
        return false;
    return record.IsServerProduct() || record.Major() == installed.Major();
}

bool ExtendsBaseProduct(const ProductEdition& row) {
    return StartsWithNoCase(row.edition, L"IntegrationPackage") || StartsWithNoCase(row.edition, L"AddOn_") ||
           EqualsNoCase(row.code, L"ZX");
}

bool InstallerIdentifierMatches(const std::optional<std::wstring>& productId, const ProductRecord& record) {
    return productId && *productId == record.InstallerIdentifierText();
}

bool InstallerVersionMatches(const std::optional<std::wstring>& versionString, const ProductRecord& record) {
    return versionString && *versionString == record.InstallerVersionText();
}

bool InstallerPlatformMatches(const std::optional<std::wstring>& productName, const ProductRecord& record) {
    if (!productName)
        return false;
    const bool names64Bit = productName->find(L"(x64)") != std::wstring::npos;
    return names64Bit == record.Is64Bit() ||
           record.InstallerIdentifierText().starts_with(kSpreadsheetAddInPrefix);
}

} // namespace InstalledProducts
