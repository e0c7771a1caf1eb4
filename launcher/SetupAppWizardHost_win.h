// The application object seen from the wizard: a thin view of CSetupApp, which owns everything behind it.
#pragma once

#include "launcher/FollowUpTools_win.h"
#include "launcher/InstalledProducts_win.h"
#include "launcher/SetupAppUnpacker_win.h"
#include "launcher/SetupApp_win.h"
#include "launcher/SystemConflictSource_win.h"
#include "wizard/WizardHostIF.h"

class SetupAppWizardHost : public WizardHostIF {
public:
    explicit SetupAppWizardHost(CSetupApp& app) : app_(app) {}

    SetupResult& Result() override { return app_.Result(); }
    void ReportResult() override { app_.ReportResult(); }
    void WriteLogLine(int level, const std::wstring& line) override { app_.WriteLog(level, L"%s", line); }
    const CSetupAppCommandLineInfo& CommandLine() const override { return app_.CommandLine(); }
    std::vector<std::unique_ptr<PackageInfo>>& Packages() override { return app_.Packages(); }
    LanguageTable& Languages() override { return app_.Languages(); }
    bool OffersLanguageChoice() const override { return app_.IsMultiLanguage(); }
    std::wstring WizardTitle() override { return app_.WizardTitle(); }
    std::vector<ProductRecord>& QuickInstallList() override { return app_.QuickInstallList(); }
    unsigned IntroductionStringId() const override {
        return static_cast<unsigned>(app_.IntroductionTextId());
    }
    bool UpgradeRelation(const PackageInfo& package, InstalledProducts::UpgradeFacts& facts,
                         std::vector<ProductRecord>& installed) override {
        return InstalledProducts::UpgradeRelation(package, facts, installed);
    }
    std::optional<ProductRecord> FindInstalledRecord(const ProductRecord& record) override {
        return InstalledProducts::FindInstalledRecord(record);
    }
    bool IsVersionInstalled(const ProductRecord& record) override {
        return InstalledProducts::IsVersionInstalled(record);
    }
    bool HasCustomInstallFolder(const ProductRecord& record) override {
        return !InstalledProducts::CustomInstallFolder(record).empty();
    }
    bool CheckConflicts(const PackageInfo& package, std::vector<ConflictRecord>& records) override {
        SystemConflictSource source(app_);
        return ::CheckConflicts(package.Products(), package.ProductId(), source, records);
    }
    SetupResult RemoveInstalledProduct(ProductRecord& installation, int32_t uiLevel) override {
        return InstalledProducts::RemoveInstalledProduct(installation, app_, uiLevel);
    }
    std::wstring ResultText(const SetupResult& result) override { return app_.ResultText(result); }
    void ShowErrorMessage(const std::wstring& text) override {
        MessageBoxW(nullptr, text.c_str(), app_.ApplicationName().c_str(), MB_OK | MB_ICONERROR);
    }

private:
    CSetupApp& app_;

public:
    UnpackerIF& Unpacker() override { return unpacker_; }

private:
    SetupAppUnpacker unpacker_{app_}; // after app_, which it works on

public:
    bool IsPackageInstalled(const PackageInfo& package) override { return app_.IsPackageInstalled(package); }
    std::wstring InstalledApplicationPath(const PackageInfo& package) override {
        return InstalledProducts::InstalledApplicationPath(package);
    }
    std::wstring CommonAppDataFolder() override { return FollowUpTools::CommonAppDataFolder(); }
    bool StartProgram(const std::wstring& path) override { return FollowUpTools::StartVisible(path); }
    bool StartProgramElevated(const std::wstring& path) override {
        return FollowUpTools::StartElevated(path);
    }
};
