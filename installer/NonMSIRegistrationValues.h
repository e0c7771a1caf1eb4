// What a package that Windows Installer does not install writes into its installed-programs entry, in
// the order it writes it, and the files that entry names: the launcher copy that Change and Uninstall
// run, and the copy of the workload file that the launcher copy is started with.
#pragma once

#include "launcher/PackageInfo.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

struct RegistrationValue {
    std::wstring name;
    std::variant<std::wstring, uint32_t> value; // a string, or a 32-bit number
    bool operator==(const RegistrationValue&) const = default;
};

// The package folder and the running launcher's file name.
std::wstring NonMSILauncherCopy(const PackageInfo& package, std::wstring_view runningLauncher);
// Where the workload file named on the command line is copied: the package folder and the file's own
// name. Empty when no workload file was named or its name does not end in ".json" (letter case counting).
std::wstring NonMSIWorkloadCopy(const PackageInfo& package, std::wstring_view workload);

// The entry's values for a package whose launcher copy and workload copy (empty: none) are given.
std::vector<RegistrationValue> NonMSIRegistrationValues(const PackageInfo& package,
                                                        std::wstring_view launcherCopy,
                                                        std::wstring_view workloadCopy);
