// The wizard's services over the real system: installed-product detection and removal, the package
// unpacking over the context's packages, the follow-up tools, message boxes and the result report. Borrows
// the setup context, which the application owns.
#pragma once

#include "launcher/SetupContext.h"
#include "wizard/WizardServicesIF.h"

#include <memory>

class WizardServices : public WizardServicesIF, private UnpackerIF {
public:
    explicit WizardServices(SetupContext& context) : context_(context) {}

    bool UpgradeRelation(const PackageInfo& package, InstalledProducts::UpgradeFacts& facts,
                         std::vector<ProductRecord>& installed) override;
    std::optional<ProductRecord> FindInstalledRecord(const ProductRecord& record) override;
    bool IsVersionInstalled(const ProductRecord& record) override;
    bool HasCustomInstallFolder(const ProductRecord& record) override;
    bool CheckConflicts(const PackageInfo& package, std::vector<ConflictRecord>& records) override;
    SetupResult RemoveInstalledProduct(ProductRecord& installation, int32_t uiLevel) override;
    bool IsPackageInstalled(const PackageInfo& package) override;
    std::wstring InstalledApplicationPath(const PackageInfo& package) override;

    UnpackerIF& Unpacker() override { return *this; }
    void RunInstallSequence(const InstallSequenceFlags& flags) override;
    SetupAsyncInstallProcessIF* NonMSIInstaller() override;

    std::wstring CommonAppDataFolder() override;
    bool StartProgram(const std::wstring& path) override;
    bool StartProgramElevated(const std::wstring& path) override;

    void ReportResult() override;
    std::wstring ResultText(const SetupResult& result) override;
    void ShowErrorMessage(const std::wstring& text) override;

private:
    // UnpackerIF
    std::vector<UnpackEntry> BuildUnpackList(bool repair) override;
    SetupResult UnpackPackages(const std::vector<UnpackEntry>& list, ExtractionProgressHandler& receiver,
                               const UnpackRequest& request) override;

    SetupContext& context_;
    std::unique_ptr<SetupAsyncInstallProcessIF> nonMsiInstaller_;
};
