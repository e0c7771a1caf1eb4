// The decisions behind the package manifest that need no Windows: resource names, the package count,
// which package codes may name a folder, the default selection of a package and the list of resources
// the validation mode looks for.
#pragma once

#include "launcher/PackageInfo.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Type of every manifest and package resource.
constexpr int kManifestResourceType = 40;
// Type, by name (not the number above), of the installers a launcher carries besides its packages: the
// broker's installer, the runtime's bootstrapper.
inline constexpr std::wstring_view kEmbeddedInstallerType = L"40";
// Language of the manifest texts of a multi-language launcher.
constexpr unsigned short kManifestLanguage = 1033;

// "PACKAGE_COUNT" as a number: 0 when it is empty or not a decimal number.
int ParsePackageCount(std::wstring_view text);

// A package code names a folder below the launcher's base folder, and that folder is deleted at exit:
// only a single plain folder name will do (no separators, drive, "." or "..", nothing Windows would
// trim or refuse in a file name).
bool IsPlainFolderName(std::wstring_view name);

// Reads one manifest text by name: the text, or nothing when the resource does not exist.
using ManifestTextReader = std::function<std::optional<std::wstring>(const std::wstring& name)>;
// The description of package n as the manifest texts give it. Missing texts read as empty; a missing
// installer type reads as "msi".
PackageDescription ReadManifestPackage(const ManifestTextReader& read, int n);

struct SelectionFacts {
    bool extract = false;   // /u
    bool repair = false;    // /f
    bool uninstall = false; // /x
    bool main = false;
    bool mainExists = false;    // a main package was built before this sub-package
    bool mainInstalled = false; // ... and its product is installed
    bool installed = false;     // this package's product is installed
};
// Whether a package starts selected.
bool DefaultSelection(const SelectionFacts& facts);

struct WantedResource {
    std::wstring name;
    std::wstring languageCode; // empty: any language will do
};
// What the validation mode looks for, in order, for a manifest of count packages.
std::vector<WantedResource> ResourcesToValidate(int count, bool multiLanguage);
// The console line for a resource that is missing (no line break: the lines follow each other).
std::wstring ValidationFailureLine(const WantedResource& resource);
