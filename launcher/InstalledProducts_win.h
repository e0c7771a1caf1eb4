// Installed-product detection on the running system: reads the products' registration keys and Windows
// Installer's product list afresh on every call and answers with product records that the caller owns.
// Only a record's Windows Installer product code is cached, in the record itself.
#pragma once

#include "launcher/InstalledProducts.h"
#include "launcher/LogSink.h"
#include "launcher/PackageInfo.h"
#include "launcher/SetupResult.h"
#include "support/Registry_win.h"

#include <optional>
#include <string>
#include <vector>

namespace InstalledProducts {

// The values of a registration key; strings of another type than plain or expandable read as empty.
SetupValues ReadSetupValues(const RegistryKey& key);

// The package's own product is installed: for a Windows Installer package its product code (letter case
// counting) is among the installed products; for another installer's package its entry exists.
bool IsInstalled(const PackageInfo& package);
// For a package of another installer than Windows Installer: the package code its entry names (empty when
// it names none), or none when the package has no entry.
std::optional<std::wstring> NonMSIRegisteredPackageCode(const PackageInfo& package);
// The view that entry lives in: 64 bits for a 64-bit package, else the one the 32-bit launcher sees.
RegistryView NonMSIRegistrationView(const PackageInfo& package);

// An installation the package upgrades was found; its record is appended to installed.
bool UpgradeRelation(const PackageInfo& package, UpgradeFacts& facts, std::vector<ProductRecord>& installed);
// The registered application of the package's first product; empty when not registered.
std::wstring InstalledApplicationPath(const PackageInfo& package);

// The installation of the record's product nearest below or at its version, made the same way (by the
// suite or not) as the record says.
std::optional<ProductRecord> FindInstalledRecord(const ProductRecord& record);
// The record of one registration met by the downward search, or none.
std::optional<ProductRecord> ReadInstalledRecord(const RegistryKey& key, const ProductRecord& searching);
bool IsVersionInstalled(const ProductRecord& record);
// Every registered installation of the record's family, 32-bit and 64-bit.
void InstalledOfFamily(const ProductRecord& record, std::vector<ProductRecord>& installed);
// For an integration package or add-on: the installations of the product it extends.
void InstalledOfBaseProduct(const ProductRecord& record, std::vector<ProductRecord>& installed);
void ScanInstallations(const std::wstring& keyPath, const ProductRecord& searching,
                       std::vector<ProductRecord>& installed);

// The Windows Installer product code of the installed product the record stands for; empty when none
// matches. A found code is kept in the record.
std::wstring InstalledProductCode(ProductRecord& record);
// Removes the installed product with its cached installer file, lending the log to Windows Installer
// meanwhile. The caller decides whether the result becomes the run's result.
SetupResult RemoveInstalledProduct(ProductRecord& record, LogSinkIF& log, int uiLevel);

std::wstring DefaultInstallFolder(const ProductRecord& record);
std::wstring InstalledFolder(const ProductRecord& record);
// The installed folder when the user chose one other than the default and it still exists.
std::wstring CustomInstallFolder(const ProductRecord& record);

} // namespace InstalledProducts
