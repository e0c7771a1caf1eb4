// The rules of installed-product detection that need no system: where a product registers each
// installed version, the order in which registrations are searched, how the values of one registration
// become a product record, version matching, the duplicate rule of a family scan and the default
// installation folders. InstalledProducts_win.* gathers the registry and Windows Installer facts and
// hands them to these functions.
#pragma once

#include "launcher/ProductRecord.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace InstalledProducts {

// What an installation related to a package's product means for the package: an upgrade (the package's
// version is equal or newer) or a downgrade, and what the installation is like.
struct UpgradeFacts {
    bool upgrade = false;
    bool willReplace = false;
    bool sameMajor = false;
    bool hasActiveXControl = false;
    std::wstring installedDisplayName;
};

// The values of one registration ("Setup") key, as read: strings empty when missing or of another type,
// the number 0 when missing or of another type.
struct SetupValues {
    std::wstring version;
    std::wstring productId;
    std::wstring language;
    uint32_t installedFromSuite = 0;
    std::wstring applicationPath;
};

// The folder below "SOFTWARE\Quenlis" in which a catalog row's product registers.
std::wstring RegistryFolderName(const ProductEdition& row);
// "SOFTWARE\Quenlis\<folder>" of a row: the key whose subkeys are the row's installations.
std::wstring FamilyKeyPath(const ProductEdition& row);
// The registration key of one installed version; minor < 0 gives the major-only form.
std::wstring RegistrationKeyPath(std::wstring_view folderName, int32_t major, int32_t minor, bool is64Bit);
// The registration key of exactly the record's version; empty without a row or a version.
std::wstring ProductKeyPath(const ProductRecord& record);
// The registration keys searched for an older or equal installation of the record's product, in the
// order they are read (the record's major first, then downward to the code's lower bound).
std::vector<std::wstring> SearchedRegistrationKeys(const ProductRecord& record);

// The record a registration found by the downward search stands for; none when the registration is
// empty, made by a suite when the searching record is not (or the other way round), or newer than the
// searching record. The ActiveX flag is left to the caller, which can look at the disk.
std::optional<ProductRecord> InstalledRecordFrom(const SetupValues& values, const ProductRecord& searching);
// The record a registration met by a family scan stands for: no suite filter, nothing discarded for
// being newer, 64-bit when the key's path says "_x64".
std::optional<ProductRecord> ScannedRecordFrom(const SetupValues& values,
                                               std::wstring_view searchingIdentifier,
                                               std::wstring_view keyPath);
// Whether the values registered under the record's own key stand for exactly its product and version
// (the fourth number does not count).
bool RegistrationMatches(const SetupValues& values, const ProductRecord& record);
// Major, minor and third of the text equal the record's, and the fourth too unless ignored.
bool VersionMatches(std::wstring_view versionText, const ProductRecord& record, bool ignoreFourth);
// The file whose presence says the product has an ActiveX control: the application with ".ocx".
std::wstring ActiveXControlPath(std::wstring_view applicationPath);

// A 64-bit spreadsheet add-in installation also shows up as its 32-bit twin; the twin is dropped.
void RemoveScannedDuplicates(std::vector<ProductRecord>& records);
// The rule itself, for anything with IdentifierText(), Is64Bit() and Version(): for each 64-bit entry
// of the add-in line, a 32-bit entry with the same identifier and version goes, and the pass restarts.
template <class Entry> void RemoveTwinsOf64BitAddIns(std::vector<Entry>& entries) {
    bool removed = true;
    while (removed) {
        removed = false;
        for (const Entry& wide : entries) {
            if (!wide.Is64Bit() || !wide.IdentifierText().starts_with(L"ZX::"))
                continue;
            for (auto twin = entries.begin(); twin != entries.end(); ++twin) {
                if (!twin->Is64Bit() && twin->IdentifierText() == wide.IdentifierText() &&
                    twin->Version() == wide.Version()) {
                    entries.erase(twin);
                    removed = true;
                    break;
                }
            }
            if (removed)
                break;
        }
    }
}

// The folder the product's installer picks when the user changes nothing, below the given program
// files folder (the 32-bit one when the system is 64-bit); empty when it cannot be told.
std::wstring DefaultInstallFolder(const ProductRecord& record, std::wstring_view programFiles);
// The installation folder from the registered application path: the executable's folder, or for a
// server product the folder above it.
std::wstring InstalledFolderFrom(std::wstring_view applicationPath, bool serverProduct);
// Whether an installation of the package product installed replaces it rather than standing beside it.
bool WillReplace(const ProductRecord& record, const ProductRecord& installed);
// Integration packages and add-ons are scanned for under the product they extend.
bool ExtendsBaseProduct(const ProductEdition& row);

// The Windows Installer product whose properties were read stands for the record. Arguments are read
// one after the other by the caller; a property it could not read passes as none.
bool InstallerIdentifierMatches(const std::optional<std::wstring>& productId, const ProductRecord& record);
bool InstallerVersionMatches(const std::optional<std::wstring>& versionString, const ProductRecord& record);
bool InstallerPlatformMatches(const std::optional<std::wstring>& productName, const ProductRecord& record);

} // namespace InstalledProducts
