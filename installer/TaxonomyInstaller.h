// The installer of taxonomy packages: installing, modifying and removing one package is ten actions of a
// second each, reported to the page, and changes nothing on disk; the installed-programs entry is the
// base's. Cancel ends the current package step after its action and every later step of the run.
#pragma once

#include "installer/NonMSIInstaller.h"

#include <atomic>
#include <functional>
#include <string_view>

class TaxonomyInstaller : public NonMSIInstaller {
public:
    // waitForAction: the pause of one action; a second unless given (tests pass one of their own).
    TaxonomyInstaller(SetupContext& context, std::unique_ptr<NonMSIMachineIF> machine,
                      std::function<void()> waitForAction = {});

protected:
    SetupResult InstallPackage(const PackageInfo& package, SetupReportAsyncProgressIF& progress) override;
    SetupResult ModifyPackage(const PackageInfo& package, SetupReportAsyncProgressIF& progress) override;
    SetupResult RepairPackage(const PackageInfo& package, SetupReportAsyncProgressIF& progress) override;
    SetupResult UninstallPackage(const PackageInfo& package, SetupReportAsyncProgressIF& progress) override;
    SetupResult ExtractPackage(const PackageInfo& package, SetupReportAsyncProgressIF& progress) override;
    void CancelPackage() override { cancelled_ = true; }

private:
    // The ten actions, each named by actionFormat ("... %d") with its number.
    SetupResult RunActions(std::wstring_view actionFormat, SetupReportAsyncProgressIF& progress);

    std::function<void()> waitForAction_;
    std::atomic<bool> cancelled_ = false; // set by the user-interface thread, never cleared
};
