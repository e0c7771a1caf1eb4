// What the wizard's pages ask of the running system and of the user outside the wizard's own window: the
// installed products they check, replace and remove, the package unpacking, the follow-up tools, message
// boxes and the report of a failure. The application implements it over the real system; tests fake it.
// The run's data itself (packages, choices, result, log, languages) is the setup context, not this.
#pragma once

#include "installer/InstallPlan.h"
#include "installer/SetupAsyncInstallProcessIF.h"
#include "launcher/ConflictCheck.h"
#include "launcher/InstalledProducts.h"
#include "launcher/PackageInfo.h"
#include "launcher/ProductRecord.h"
#include "launcher/SetupResult.h"
#include "wizard/UnpackerIF.h"

#include <optional>
#include <string>
#include <vector>

class WizardServicesIF {
public:
    virtual ~WizardServicesIF() = default;

    // Installed products, read afresh on every call.
    // The installation the package upgrades (or would downgrade), if any; its record is appended.
    virtual bool UpgradeRelation(const PackageInfo& package, InstalledProducts::UpgradeFacts& facts,
                                 std::vector<ProductRecord>& installed) = 0;
    // The installation of the record's product nearest below or at its version.
    virtual std::optional<ProductRecord> FindInstalledRecord(const ProductRecord& record) = 0;
    // Exactly the record's product and version is installed.
    virtual bool IsVersionInstalled(const ProductRecord& record) = 0;
    // The installation went to a folder of the user's choice.
    virtual bool HasCustomInstallFolder(const ProductRecord& record) = 0;
    // The package's conflicts with the installed products; true when they block.
    virtual bool CheckConflicts(const PackageInfo& package, std::vector<ConflictRecord>& records) = 0;
    // Uninstalls an installed product at the installer's user-interface level `uiLevel`; what becomes of
    // the result is the caller's business.
    virtual SetupResult RemoveInstalledProduct(ProductRecord& installation, int32_t uiLevel) = 0;
    // Whether the package's product is installed now (the run may just have installed it).
    virtual bool IsPackageInstalled(const PackageInfo& package) = 0;
    // The registered application of the package's installed product; empty when none is registered.
    virtual std::wstring InstalledApplicationPath(const PackageInfo& package) = 0;

    // The package unpacking of the unpack page.
    virtual UnpackerIF& Unpacker() = 0;
    // The install page's work: every selected package installed, changed, repaired or removed, with
    // rollback; the outcome goes into the run's result.
    virtual void RunInstallSequence(const InstallSequenceFlags& flags) = 0;

    // The installer of a main package that is not a Windows Installer package, made once for the run;
    // null when the main package has none.
    virtual SetupAsyncInstallProcessIF* NonMSIInstaller() = 0;

    // The finish page's follow-up tools.
    // The folder all users share for application data; empty when the system does not say.
    virtual std::wstring CommonAppDataFolder() = 0;
    // Starts a program with a visible window and does not wait for it; false when it did not start.
    virtual bool StartProgram(const std::wstring& path) = 0;
    // Starts a program with administrator rights (the user may be asked), visible, without parameters.
    virtual bool StartProgramElevated(const std::wstring& path) = 0;

    // The user.
    // Logs the run's recorded failure and, unless the run is quiet, shows it; marks it reported.
    virtual void ReportResult() = 0;
    // A result's text with the system's description of its installer error.
    virtual std::wstring ResultText(const SetupResult& result) = 0;
    // A modal message box with the error icon, shown whatever the user-interface level.
    virtual void ShowErrorMessage(const std::wstring& text) = 0;
};
