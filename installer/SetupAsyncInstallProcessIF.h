// The interfaces between an asynchronous installer, which works on a page's worker thread, and the page
// that shows its progress. The installer reports only through SetupReportAsyncProgressIF; the page
// implements it so that every report becomes a posted message or a thread-safe widget update. An
// operation borrows the run's package list and choices for its length and works on the selected packages
// in list order; it owns nothing of them.
#pragma once

#include "launcher/PackageList.h"
#include "launcher/SetupChoices.h"
#include "launcher/SetupResult.h"

#include <string>

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
    // These run on the worker thread; each starts from success and returns the operation's outcome.
    virtual SetupResult Install(const PackageList& packages, const SetupChoices& choices,
                                SetupReportAsyncProgressIF& progress) = 0;
    virtual SetupResult Modify(const PackageList& packages, const SetupChoices& choices,
                               SetupReportAsyncProgressIF& progress) = 0;
    virtual SetupResult Repair(const PackageList& packages, const SetupChoices& choices,
                               SetupReportAsyncProgressIF& progress) = 0;
    virtual SetupResult Uninstall(const PackageList& packages, const SetupChoices& choices,
                                  SetupReportAsyncProgressIF& progress) = 0;
    virtual SetupResult Extract(const PackageList& packages, const SetupChoices& choices,
                                SetupReportAsyncProgressIF& progress) = 0;
    // Called on the user-interface thread (Escape); the installer stops at its next step.
    virtual void Cancel() = 0;
};

// Which operation the worker runs: extract first, then repair, uninstall, modify, else install.
enum class AsyncInstallOperation { Install, Modify, Repair, Uninstall, Extract };
AsyncInstallOperation ChooseAsyncInstallOperation(bool extract, bool repair, bool uninstall, bool modify);
SetupResult RunAsyncInstallOperation(SetupAsyncInstallProcessIF& installer, AsyncInstallOperation operation,
                                     const PackageList& packages, const SetupChoices& choices,
                                     SetupReportAsyncProgressIF& progress);
