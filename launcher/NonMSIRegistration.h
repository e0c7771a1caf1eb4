// Where a package that Windows Installer does not install registers itself as installed (its own entry in
// the current user's installed-programs list) and what that entry says about the package. The installer
// of such packages writes the entry; detection (InstalledProducts_win) reads it.
#pragma once

#include <string>
#include <string_view>

namespace NonMSIRegistration {

inline constexpr wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
// The value naming the package code that made the entry.
inline constexpr wchar_t kPackageCodeValue[] = L"PackageGUID";

// The entry's key below the current user: the list's key and the packed product code. Empty when the
// product code is no braced code, so that nothing opens, fills or deletes the list's key itself.
std::wstring KeyPath(std::wstring_view productCode);

// Whether the entry was made by another package of the product: it names a package code, and not this one
// (letter case aside).
bool FromAnotherPackage(std::wstring_view registeredPackageCode, std::wstring_view packageCode);

} // namespace NonMSIRegistration
