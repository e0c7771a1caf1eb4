#include "installer/NonMSIInstaller.h"

#include "launcher/SetupLog.h"

struct NonMSIInstaller::ChangeTexts {
    const wchar_t* start;
    const wchar_t* failed;
    const wchar_t* succeeded;
};

namespace {

// The uninstall switch reads the other way while a failed run is rolled back, for as long as this lives.
class UninstallSwitchTurned {
public:
    explicit UninstallSwitchTurned(SetupContext& context) : context_(context) { Turn(); }
    ~UninstallSwitchTurned() { Turn(); }
    UninstallSwitchTurned(const UninstallSwitchTurned&) = delete;
    UninstallSwitchTurned& operator=(const UninstallSwitchTurned&) = delete;

private:
    // The mode is what everything after the command line reads, so it turns with the switch.
    void Turn() {
        context_.commandLine.uninstall = !context_.commandLine.uninstall;
        context_.mode.uninstallRequested = !context_.mode.uninstallRequested;
    }
    SetupContext& context_;
};

} // namespace

NonMSIInstaller::NonMSIInstaller(SetupContext& context, std::unique_ptr<NonMSIMachineIF> machine)
    : context_(context), machine_(std::move(machine)) {}

SetupResult NonMSIInstaller::Install(const PackageList& packages, const SetupChoices& choices,
                                     SetupReportAsyncProgressIF& progress) {
    context_.log.Write(kLogLevelOperation, L"VNT: Start installing...\r\n");
    return RunWithRollback(packages, choices, progress, &NonMSIInstaller::RegisterAndInstall,
                           &NonMSIInstaller::UnregisterAndUninstall,
                           L"VNT (c): Rolling back installation of product %s\r\n");
}

SetupResult NonMSIInstaller::Uninstall(const PackageList& packages, const SetupChoices& choices,
                                       SetupReportAsyncProgressIF& progress) {
    context_.log.Write(kLogLevelOperation, L"VNT: Start removing...\r\n");
    return RunWithRollback(packages, choices, progress, &NonMSIInstaller::UnregisterAndUninstall,
                           &NonMSIInstaller::RegisterAndInstall,
                           L"VNT (c): Rolling back removal of product %s\r\n");
}

SetupResult NonMSIInstaller::Modify(const PackageList& packages, const SetupChoices& choices,
                                    SetupReportAsyncProgressIF& progress) {
    static constexpr ChangeTexts texts{L"VNT: Start modifying...\r\n", L"Failed to modify product %s.\r\n",
                                       L"Successfully modified product %s.\r\n"};
    return Change(packages, choices, progress, &NonMSIInstaller::ModifyPackage, texts);
}

SetupResult NonMSIInstaller::Repair(const PackageList& packages, const SetupChoices& choices,
                                    SetupReportAsyncProgressIF& progress) {
    static constexpr ChangeTexts texts{L"VNT: Start repairing...\r\n", L"Failed to repair product %s.\r\n",
                                       L"Successfully repaired product %s.\r\n"};
    return Change(packages, choices, progress, &NonMSIInstaller::RepairPackage, texts);
}

SetupResult NonMSIInstaller::Extract(const PackageList& packages, const SetupChoices& choices,
                                     SetupReportAsyncProgressIF& progress) {
    context_.log.Write(kLogLevelOperation, L"VNT: Start extracting...\r\n");
    for (const PackageInfo& package : packages) {
        if (!choices.Selected(package))
            continue;
        const SetupResult result = ExtractPackage(package, progress);
        if (result.Failed())
            return result;
    }
    return {};
}

SetupResult NonMSIInstaller::RunWithRollback(const PackageList& packages, const SetupChoices& choices,
                                             SetupReportAsyncProgressIF& progress, PackageStep step,
                                             PackageStep undo, const wchar_t* rollbackLine) {
    for (size_t failed = 0; failed < packages.size(); ++failed) {
        if (!choices.Selected(failed))
            continue;
        const SetupResult result = (this->*step)(packages[failed], progress);
        if (!result.Failed())
            continue;
        const UninstallSwitchTurned turned(context_);
        rollingBack_ = true;
        for (size_t index = failed; index-- > 0;) {
            if (!choices.Selected(index))
                continue;
            context_.log.Write(kLogLevelOperation, rollbackLine, packages[index].ProductName());
            (this->*undo)(packages[index],
                          progress); // what the rollback achieves does not change the outcome
        }
        rollingBack_ = false;
        return result;
    }
    return {};
}

SetupResult NonMSIInstaller::Change(const PackageList& packages, const SetupChoices& choices,
                                    SetupReportAsyncProgressIF& progress, PackageStep step,
                                    const ChangeTexts& texts) {
    context_.log.Write(kLogLevelOperation, texts.start);
    for (const PackageInfo& package : packages) {
        if (!choices.Selected(package))
            continue;
        if (!machine_->RegistrationExists(package))
            return SetupResult::Code(ResultCode::InstallFailed);
        const std::wstring& name = package.ProductName();
        context_.log.Write(kLogLevelProgress, L"Modifying package %s...\r\n", name);
        const SetupResult result = (this->*step)(package, progress);
        context_.log.Write(kLogLevelProgress, result.Failed() ? texts.failed : texts.succeeded, name);
        if (result.Failed())
            return result;
    }
    return {};
}

SetupResult NonMSIInstaller::RegisterAndInstall(const PackageInfo& package,
                                                SetupReportAsyncProgressIF& progress) {
    if (machine_->RegistrationExists(package))
        return SetupResult::Code(ResultCode::OtherVersionInstalled);
    const NonMSIMachineIF::Creation creation = machine_->CreateRegistration(package);
    if (creation == NonMSIMachineIF::Creation::Failed)
        return SetupResult::Code(ResultCode::Corrupted);

    const std::wstring& name = package.ProductName();
    const SetupResult result = InstallPackage(package, progress);
    if (result.Failed()) {
        context_.log.Write(kLogLevelProgress, L"Failed to install product %s.\r\n", name);
        // An entry left behind would make the package count as installed (the next attempt ends with "another
        // version") while its Change and Uninstall name a launcher copy that was never made. An entry that
        // was there before is someone else's.
        if (creation == NonMSIMachineIF::Creation::Created)
            machine_->DeleteRegistration(package);
        return result;
    }

    // The copies are best effort: the entry is what makes the package installed.
    const std::wstring running = machine_->RunningLauncher();
    const std::wstring launcherCopy = NonMSILauncherCopy(package, running);
    machine_->CopyReplacing(running, launcherCopy);
    const std::wstring& workload = context_.commandLine.workload;
    const std::wstring workloadCopy = NonMSIWorkloadCopy(package, workload);
    if (!workloadCopy.empty())
        machine_->CopyReplacing(workload, workloadCopy);

    bool written = true;
    for (const RegistrationValue& value : NonMSIRegistrationValues(package, launcherCopy, workloadCopy))
        written = machine_->WriteRegistrationValue(package, value) && written;
    if (!written) {
        context_.log.Write(kLogLevelProgress, L"Failed to register product %s as installed product.\r\n",
                           name);
        return SetupResult::Code(ResultCode::InstallFailed);
    }
    context_.log.Write(kLogLevelProgress, L"Successfully installed product %s.\r\n", name);
    return result;
}

SetupResult NonMSIInstaller::UnregisterAndUninstall(const PackageInfo& package,
                                                    SetupReportAsyncProgressIF& progress) {
    if (!machine_->RegistrationExists(package))
        return SetupResult::Code(ResultCode::InstallFailed);
    const std::wstring& name = package.ProductName();
    context_.log.Write(kLogLevelProgress, L"Installing package %s...\r\n", name);
    const SetupResult result = UninstallPackage(package, progress);
    if (result.Failed()) {
        context_.log.Write(kLogLevelProgress, L"Failed to un-install product %s.\r\n", name);
        return result;
    }
    if (!machine_->DeleteRegistration(package)) {
        context_.log.Write(kLogLevelProgress, L"Failed to un-register product %s as installed product.\r\n",
                           name);
        return SetupResult::Code(ResultCode::InstallFailed);
    }
    context_.log.Write(kLogLevelProgress, L"Successfully un-installed product %s.\r\n", name);
    return result;
}
