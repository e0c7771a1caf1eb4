#include "installer/TaxonomyInstaller.h"

#include "support/Format.h"

#include <chrono>
#include <thread>

namespace {

constexpr int kActions = 10;
constexpr int kProgressPerAction = 10;
constexpr std::chrono::milliseconds kActionLength{1000};

} // namespace

TaxonomyInstaller::TaxonomyInstaller(SetupContext& context, std::unique_ptr<NonMSIMachineIF> machine,
                                     std::function<void()> waitForAction)
    : NonMSIInstaller(context, std::move(machine)), waitForAction_(std::move(waitForAction)) {
    if (!waitForAction_)
        waitForAction_ = [] { std::this_thread::sleep_for(kActionLength); };
}

SetupResult TaxonomyInstaller::InstallPackage(const PackageInfo&, SetupReportAsyncProgressIF& progress) {
    return RunActions(L"Install action %d", progress);
}

SetupResult TaxonomyInstaller::ModifyPackage(const PackageInfo&, SetupReportAsyncProgressIF& progress) {
    return RunActions(L"Modify action %d", progress);
}

SetupResult TaxonomyInstaller::RepairPackage(const PackageInfo&, SetupReportAsyncProgressIF&) {
    return {};
}

SetupResult TaxonomyInstaller::UninstallPackage(const PackageInfo&, SetupReportAsyncProgressIF& progress) {
    return RunActions(L"Remove action %d", progress);
}

SetupResult TaxonomyInstaller::ExtractPackage(const PackageInfo&, SetupReportAsyncProgressIF&) {
    // Taxonomy packages have no administrative image to extract.
    return SetupResult::Code(ResultCode::InstallFailed);
}

SetupResult TaxonomyInstaller::RunActions(std::wstring_view actionFormat,
                                          SetupReportAsyncProgressIF& progress) {
    for (int action = 1; action <= kActions; ++action) {
        progress.SetStatusText(Format(actionFormat, action));
        waitForAction_();
        progress.AdvanceProgress(kProgressPerAction);
        if (cancelled_ && !RollingBack())
            return SetupResult::Code(ResultCode::UserCancelled);
    }
    return {};
}
