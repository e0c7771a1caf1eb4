// The interfaces between an asynchronous installer, which works on a page's worker thread, and the page
// that shows its progress. The installer reports only through SetupReportAsyncProgressIF; the page
// implements it so that every report becomes a posted message or a thread-safe widget update.
#pragma once

#include "launcher/PackageInfo.h"
#include "launcher/SetupResult.h"

#include <memory>
#include <string>
#include <vector>

using PackageList = std::vector<std::unique_ptr<PackageInfo>>;

class SetupReportAsyncProgressIF {
public:
    virtual ~SetupReportAsyncProgressIF() = default;
    // Range 0 ... total; 0 switches to an endless display.
    virtual void SetProgressRange(int total) = 0;
    virtual void SetStatusText(const std::wstring& text) = 0;
    // Both limited to 0 ... total by the receiver.
    virtual void SetProgressPosition(int position) = 0;
    virtual void AdvanceProgress(int step) = 0;
};

class SetupAsyncInstallProcessIF {
public:
    virtual ~SetupAsyncInstallProcessIF() = default;
    // These run on the worker thread and return the filled result.
    virtual SetupResult Install(PackageList& packages, SetupReportAsyncProgressIF& progress,
                                SetupResult& result) = 0;
    virtual SetupResult Modify(PackageList& packages, SetupReportAsyncProgressIF& progress,
                               SetupResult& result) = 0;
    virtual SetupResult Repair(PackageList& packages, SetupReportAsyncProgressIF& progress,
                               SetupResult& result) = 0;
    virtual SetupResult Uninstall(PackageList& packages, SetupReportAsyncProgressIF& progress,
                                  SetupResult& result) = 0;
    virtual SetupResult Extract(PackageList& packages, SetupReportAsyncProgressIF& progress,
                                SetupResult& result) = 0;
    // Called on the user-interface thread (Escape); the installer stops at its next step.
    virtual void Cancel() = 0;
};

// Which operation the worker runs: extract first, then repair, uninstall, modify, else install.
enum class AsyncInstallOperation { Install, Modify, Repair, Uninstall, Extract };
AsyncInstallOperation ChooseAsyncInstallOperation(bool extract, bool repair, bool uninstall, bool modify);
SetupResult RunAsyncInstallOperation(SetupAsyncInstallProcessIF& installer, AsyncInstallOperation operation,
                                     PackageList& packages, SetupReportAsyncProgressIF& progress,
                                     SetupResult& result);
