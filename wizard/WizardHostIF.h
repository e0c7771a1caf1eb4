// What the wizard needs of the launcher's application object: the setup result and its report, the log,
// the command line, the package list, the languages, and the installed products the pages check and
// remove. The application implements it for the real run; tests supply their own. The host owns all of
// it; the wizard only borrows.
#pragma once

#include "launcher/CommandLine.h"
#include "launcher/ConflictCheck.h"
#include "launcher/InstalledProducts.h"
#include "launcher/LanguageTable.h"
#include "launcher/PackageInfo.h"
#include "launcher/ProductRecord.h"
#include "launcher/SetupResult.h"
#include "wizard/UnpackerIF.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

class WizardHostIF {
public:
    virtual ~WizardHostIF() = default;
    virtual SetupResult& Result() = 0;
    // Logs a recorded failure and, unless the run is quiet, shows it; marks it reported.
    virtual void ReportResult() = 0;
    virtual void WriteLogLine(int level, const std::wstring& line) = 0;
    virtual const CSetupAppCommandLineInfo& CommandLine() const = 0;
    virtual std::vector<std::unique_ptr<PackageInfo>>& Packages() = 0;
    virtual LanguageTable& Languages() = 0;
    // More than one user-interface language is offered.
    virtual bool OffersLanguageChoice() const = 0;
    // String 1 formatted with the main product's name, in the current language.
    virtual std::wstring WizardTitle() = 0;
    // The installed products a quick install replaces (filled by the welcome page); a non-empty list
    // makes every later page without work of its own pass on.
    virtual std::vector<ProductRecord>& QuickInstallList() = 0;
    // The string id of the fresh-install greeting the system check chose.
    virtual unsigned IntroductionStringId() const = 0;

    // The installation the package upgrades (or would downgrade), if any; its record is appended.
    virtual bool UpgradeRelation(const PackageInfo& package, InstalledProducts::UpgradeFacts& facts,
                                 std::vector<ProductRecord>& installed) = 0;
    // The installation of the record's product nearest below or at its version.
    virtual std::optional<ProductRecord> FindInstalledRecord(const ProductRecord& record) = 0;
    // Exactly the record's product and version is installed.
    virtual bool IsVersionInstalled(const ProductRecord& record) = 0;
    // The installation went to a folder of the user's choice.
    virtual bool HasCustomInstallFolder(const ProductRecord& record) = 0;

    // The package's conflicts with the installed products, read afresh; true when they block.
    virtual bool CheckConflicts(const PackageInfo& package, std::vector<ConflictRecord>& records) = 0;
    // Uninstalls an installed product at the installer's user-interface level `uiLevel`; what becomes of
    // the result is the caller's business.
    virtual SetupResult RemoveInstalledProduct(ProductRecord& installation, int32_t uiLevel) = 0;
    // A result's text with the system's description of its installer error.
    virtual std::wstring ResultText(const SetupResult& result) = 0;
    // A modal message box with the error icon, shown whatever the user-interface level.
    virtual void ShowErrorMessage(const std::wstring& text) = 0;

    // The package unpacking of the unpack page.
    virtual UnpackerIF& Unpacker() = 0;

    // The finish page's follow-up tools.
    // Whether the package's product is installed, asked afresh (the run may just have installed it).
    virtual bool IsPackageInstalled(const PackageInfo& package) = 0;
    // The registered application of the package's installed product; empty when none is registered.
    virtual std::wstring InstalledApplicationPath(const PackageInfo& package) = 0;
    // The folder all users share for application data; empty when the system does not say.
    virtual std::wstring CommonAppDataFolder() = 0;
    // Starts a program with a visible window and does not wait for it; false when it did not start.
    virtual bool StartProgram(const std::wstring& path) = 0;
    // Starts a program with administrator rights (the user may be asked), visible, without parameters.
    virtual bool StartProgramElevated(const std::wstring& path) = 0;
};
