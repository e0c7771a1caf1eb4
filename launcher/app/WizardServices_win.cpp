#include "launcher/app/WizardServices_win.h"

#include "extraction/PackageUnpacker_win.h"
#include "extraction/UnpackRules.h"
#include "installer/InstallSequence_win.h"
#include "installer/NonMSIMachine_win.h"
#include "installer/TaxonomyInstaller.h"
#include "launcher/FollowUpTools_win.h"
#include "launcher/InstalledProducts_win.h"
#include "launcher/ResultReport_win.h"
#include "launcher/SystemConflictSource_win.h"
#include "wizard/ExtractionProgressHandler_win.h"

bool WizardServices::UpgradeRelation(const PackageInfo& package, InstalledProducts::UpgradeFacts& facts,
                                     std::vector<ProductRecord>& installed) {
    return InstalledProducts::UpgradeRelation(package, facts, installed);
}

std::optional<ProductRecord> WizardServices::FindInstalledRecord(const ProductRecord& record) {
    return InstalledProducts::FindInstalledRecord(record);
}

bool WizardServices::IsVersionInstalled(const ProductRecord& record) {
    return InstalledProducts::IsVersionInstalled(record);
}

bool WizardServices::HasCustomInstallFolder(const ProductRecord& record) {
    return !InstalledProducts::CustomInstallFolder(record).empty();
}

bool WizardServices::CheckConflicts(const PackageInfo& package, std::vector<ConflictRecord>& records) {
    SystemConflictSource source(context_.packages.Main(), context_.languages);
    return ::CheckConflicts(package.Products(), package.ProductId(), source, records);
}

SetupResult WizardServices::RemoveInstalledProduct(ProductRecord& installation, int32_t uiLevel) {
    return InstalledProducts::RemoveInstalledProduct(installation, context_.log, uiLevel);
}

bool WizardServices::IsPackageInstalled(const PackageInfo& package) {
    return InstalledProducts::IsInstalled(package);
}

std::wstring WizardServices::InstalledApplicationPath(const PackageInfo& package) {
    return InstalledProducts::InstalledApplicationPath(package);
}

void WizardServices::RunInstallSequence(const InstallSequenceFlags& flags) {
    ::RunInstallSequence(context_, flags);
}

SetupAsyncInstallProcessIF* WizardServices::NonMSIInstaller() {
    const PackageInfo* main = context_.packages.Main();
    if (!nonMsiInstaller_ && main && IsTaxonomyPackage(main->InstallerType()))
        nonMsiInstaller_ = std::make_unique<TaxonomyInstaller>(context_, std::make_unique<NonMSIMachine>());
    return nonMsiInstaller_.get();
}

std::wstring WizardServices::CommonAppDataFolder() {
    return FollowUpTools::CommonAppDataFolder();
}

bool WizardServices::StartProgram(const std::wstring& path) {
    return FollowUpTools::StartVisible(path);
}

bool WizardServices::StartProgramElevated(const std::wstring& path) {
    return FollowUpTools::StartElevated(path);
}

void WizardServices::ReportResult() {
    ::ReportResult(context_);
}

std::wstring WizardServices::ResultText(const SetupResult& result) {
    return ::ResultText(result);
}

void WizardServices::ShowErrorMessage(const std::wstring& text) {
    ::ShowErrorMessage(context_, text);
}

std::vector<UnpackEntry> WizardServices::BuildUnpackList(bool repair) {
    return ::BuildUnpackList(context_.packages, context_.choices, repair);
}

SetupResult WizardServices::UnpackPackages(const std::vector<UnpackEntry>& list,
                                           ExtractionProgressHandler& receiver,
                                           const UnpackRequest& request) {
    UnpackSettings settings = UnpackSettings::ForRun(context_, request.installsOrModifies);
    settings.cancel = request.cancel;
    settings.showStatus = request.showStatus;
    return ::UnpackPackages(list, receiver, settings, context_.log);
}
