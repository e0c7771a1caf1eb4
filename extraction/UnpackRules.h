// The decisions of the package unpacking step that need no Windows: which packages a pass unpacks,
// whether and under which names a language transform is written, and which unpacked file becomes the
// installer database.
#pragma once

#include "launcher/PackageList.h"
#include "launcher/SetupChoices.h"
#include "support/FilePath.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A package cabinet that cannot be extracted: Windows Installer's "the installer package cannot be opened".
constexpr int32_t kCabinetFailure = 1620;

// Installer type "taxonomy" in any letter case: a data file copied as it is, not a cabinet.
bool IsTaxonomyPackage(std::wstring_view installerType);

// One package of an unpack pass and the bytes of its cabinet (or package file), which weigh its share
// of the progress bar. The package list owns the package.
struct UnpackEntry {
    PackageInfo* package = nullptr;
    uint64_t size = 0;
};

// The indices of the packages one unpack pass handles, in list order: the selected ones without installer
// database. A repair run unpacks nothing.
std::vector<size_t> PackagesToUnpack(const PackageList& packages, const SetupChoices& choices, bool repair);

// A language transform is written only when the launcher offers a language choice, the run installs or
// modifies, and the language is not English.
bool WantsLanguageTransform(bool multiLanguage, bool installsOrModifies, uint16_t languageId);
// The transform resource: the package's pattern ("PACKAGE_0_%s") with the language's decimal code.
std::wstring TransformResourceName(std::wstring_view pattern, std::wstring_view languageCode);
// "Transform" + suffix + ".mst": "Transform_de.mst".
std::wstring TransformFileName(std::wstring_view languageSuffix);

// The installer database among the .msi files found: the only one; empty with none or several.
std::wstring SingleInstallerDatabase(const std::vector<std::wstring>& msiFiles);
