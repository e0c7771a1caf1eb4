#include "installer/SetupAsyncInstallProcessIF.h"

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
                                     const PackageList& packages, const SetupChoices& choices,
                                     SetupReportAsyncProgressIF& progress) {
    switch (operation) {
    case AsyncInstallOperation::Extract:
        return installer.Extract(packages, choices, progress);
    case AsyncInstallOperation::Repair:
        return installer.Repair(packages, choices, progress);
    case AsyncInstallOperation::Uninstall:
        return installer.Uninstall(packages, choices, progress);
    case AsyncInstallOperation::Modify:
        return installer.Modify(packages, choices, progress);
    case AsyncInstallOperation::Install:
        break;
    }
    return installer.Install(packages, choices, progress);
}
