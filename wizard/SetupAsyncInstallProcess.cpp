#include "wizard/SetupAsyncInstallProcessIF.h"

AsyncInstallOperation ChooseAsyncInstallOperation(bool extract, bool repair, bool uninstall, bool modify) {
    if (extract)
        return AsyncInstallOperation::Extract;
    if (repair)
        return AsyncInstallOperation::Repair;
    if (uninstall)
        return AsyncInstallOperation::Uninstall;
    if (modify)
        return AsyncInstallOperation::Modify;
    return AsyncInstallOperation::Install;
}

SetupResult RunAsyncInstallOperation(SetupAsyncInstallProcessIF& installer, AsyncInstallOperation operation,
                                     PackageList& packages, SetupReportAsyncProgressIF& progress,
                                     SetupResult& result) {
    switch (operation) {
    case AsyncInstallOperation::Extract:
        return installer.Extract(packages, progress, result);
    case AsyncInstallOperation::Repair:
        return installer.Repair(packages, progress, result);
    case AsyncInstallOperation::Uninstall:
        return installer.Uninstall(packages, progress, result);
    case AsyncInstallOperation::Modify:
        return installer.Modify(packages, progress, result);
    case AsyncInstallOperation::Install:
        break;
    }
    return installer.Install(packages, progress, result);
}
