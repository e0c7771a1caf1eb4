// The base of the installers of packages that Windows Installer does not install: runs the five
// operations over the selected packages in list order, keeps each package's entry in the current user's
// installed-programs list itself (so that Change and Uninstall run the launcher) and rolls back a failed
// install or removal. A concrete installer supplies the steps of one package. Borrows the setup context
// (the log, the command line and the mode) and owns its machine.
#pragma once

#include "installer/NonMSIMachineIF.h"
#include "installer/SetupAsyncInstallProcessIF.h"
#include "launcher/SetupContext.h"

#include <memory>

class NonMSIInstaller : public SetupAsyncInstallProcessIF {
public:
    NonMSIInstaller(SetupContext& context, std::unique_ptr<NonMSIMachineIF> machine);

    SetupResult Install(const PackageList& packages, const SetupChoices& choices,
                        SetupReportAsyncProgressIF& progress) override;
    SetupResult Modify(const PackageList& packages, const SetupChoices& choices,
                       SetupReportAsyncProgressIF& progress) override;
    SetupResult Repair(const PackageList& packages, const SetupChoices& choices,
                       SetupReportAsyncProgressIF& progress) override;
    SetupResult Uninstall(const PackageList& packages, const SetupChoices& choices,
                          SetupReportAsyncProgressIF& progress) override;
    SetupResult Extract(const PackageList& packages, const SetupChoices& choices,
                        SetupReportAsyncProgressIF& progress) override;
    void Cancel() override { CancelPackage(); }

protected:
    // The steps of one package, on the worker thread; CancelPackage on the user-interface thread.
    virtual SetupResult InstallPackage(const PackageInfo& package, SetupReportAsyncProgressIF& progress) = 0;
    virtual SetupResult ModifyPackage(const PackageInfo& package, SetupReportAsyncProgressIF& progress) = 0;
    virtual SetupResult RepairPackage(const PackageInfo& package, SetupReportAsyncProgressIF& progress) = 0;
    virtual SetupResult UninstallPackage(const PackageInfo& package,
                                         SetupReportAsyncProgressIF& progress) = 0;
    virtual SetupResult ExtractPackage(const PackageInfo& package, SetupReportAsyncProgressIF& progress) = 0;
    virtual void CancelPackage() = 0;
    // A rollback runs: a cancellation already asked for must not stop it halfway, or the packages done
    // before the failure would stay half registered.
    bool RollingBack() const { return rollingBack_; }

private:
    using PackageStep = SetupResult (NonMSIInstaller::*)(const PackageInfo&, SetupReportAsyncProgressIF&);
    struct ChangeTexts;

    SetupResult RegisterAndInstall(const PackageInfo& package, SetupReportAsyncProgressIF& progress);
    SetupResult UnregisterAndUninstall(const PackageInfo& package, SetupReportAsyncProgressIF& progress);
    // step for each selected package; on the first failure undo for the selected packages before it,
    // nearest first, with the uninstall switch turned over meanwhile.
    SetupResult RunWithRollback(const PackageList& packages, const SetupChoices& choices,
                                SetupReportAsyncProgressIF& progress, PackageStep step, PackageStep undo,
                                const wchar_t* rollbackLine);
    // Modify and repair: step for each selected, installed package, stopping at the first failure.
    SetupResult Change(const PackageList& packages, const SetupChoices& choices,
                       SetupReportAsyncProgressIF& progress, PackageStep step, const ChangeTexts& texts);

    SetupContext& context_;
    std::unique_ptr<NonMSIMachineIF> machine_;
    bool rollingBack_ = false; // the worker's own
};
