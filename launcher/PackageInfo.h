// One package of the manifest or workload. The package list of the application owns these records; the
// first record is the main package.
#pragma once

#include <string>

struct PackageInfo {
    bool main = false;
    std::wstring productName;
    std::wstring productCode;
    std::wstring packageCode;
    std::wstring packageData;         // resource name "PACKAGE_n", or a file path (workload)
    std::wstring languageDataPattern; // "PACKAGE_n_%s"; the transform pattern
    std::wstring productId;
    std::wstring version;
    bool is64Bit = false;
    std::wstring installerType = L"msi";
    std::wstring packageFolder;       // base folder + package code
    std::wstring installerDatabase;   // full path of the package's .msi once known
    std::wstring transformFile;
    bool installed = false;
    bool installedFromOtherPackage = false;
    bool selected = false;
};
