// The workload file: a JSON file named with workload= that lists the packages of a launcher carrying no
// package manifest. Reading it is portable; building the records, the log and the named values belong to
// the application, which the reader reaches through WorkloadTargetIF.
#pragma once

#include "launcher/PackageInfo.h"

#include <string>

// The named value a workload can hand to the WebView2 runtime page.
inline constexpr wchar_t kEvergreenDownloaderName[] = L"EVERGREEN_DOWNLOADER";

class WorkloadTargetIF {
public:
    virtual ~WorkloadTargetIF() = default;
    virtual void WriteLog(int level, const std::wstring& line) = 0;
    // Builds the package's record, appends it to the package list and logs it.
    virtual void AddPackage(PackageDescription description) = 0;
    virtual void SetNamedValue(const std::wstring& name, const std::wstring& value) = 0;
};

// Reads the workload at path into the target's package list. An empty path adds nothing and succeeds.
// False when the file is missing or not a workload, when a package code is no plain folder name (that
// package is not built, nor any after it), or when a package's data file is missing (that package is
// still built). Packages added before a failure stay.
bool ReadWorkload(const std::wstring& path, WorkloadTargetIF& target);
