// CSetupApp: the launcher's one application object and the setup context every part of the run shares.
// It owns the command line, the log, the setup result, the package list and the named values for the
// whole process; InitInstance chooses and runs the run mode, ExitInstance cleans up and returns the
// exit code.
#pragma once

#include "launcher/CommandLine.h"
#include "launcher/LanguageTable.h"
#include "launcher/OperatingSystem.h"
#include "launcher/ManifestResources_win.h"
#include "launcher/PackageInfo.h"
#include "launcher/ProductRecord.h"
#include "launcher/SetupLog.h"
#include "launcher/SetupLogFile_win.h"
#include "launcher/SetupResult.h"
#include "launcher/StringTable_win.h"
#include "launcher/UsageTable.h"
#include "support/Format.h"
#include "support/Handle_win.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

class CSetupApp {
public:
    // Parses the process command line (the whole text, program name first), opens the log and writes
    // the start line.
    explicit CSetupApp(const std::wstring& processCommandLine);
    CSetupApp(const CSetupApp&) = delete;
    CSetupApp& operator=(const CSetupApp&) = delete;
    ~CSetupApp();

    // Runs the chosen mode to its end. False: do not run a message loop, go to ExitInstance.
    bool InitInstance();
    // Clean-up; returns the result code, which becomes the process exit code.
    int ExitInstance();

    template <class... Args> bool WriteLog(int level, std::wstring_view format, const Args&... args) {
        if (logFile_.IsOpen() && level <= verbosity_)
            WriteLogLine(Format(format, args...));
        return true;
    }
    void ReleaseLogToInstaller();
    void ReopenLog();
    int LogVerbosity() const { return verbosity_; }

    SetupResult& Result() { return result_; }
    int SetResultCode(int32_t code) { return result_.SetResultCode(code); }
    void ReportResult();
    // ResultText(): the result's text with the system's description of the installer error.
    std::wstring ResultText() const { return ResultText(result_); }
    std::wstring ResultText(const SetupResult& result) const;

    CSetupAppCommandLineInfo& CommandLine() { return commandLine_; }
    const CSetupAppCommandLineInfo& CommandLine() const { return commandLine_; }
    std::vector<std::unique_ptr<PackageInfo>>& Packages() { return packages_; }
    PackageInfo* MainPackage() { return packages_.empty() ? nullptr : packages_.front().get(); }

    std::wstring ReadManifestString(const std::wstring& name);
    // The manifest of this launcher, or of the module a test hands over (borrowed, not owned).
    ManifestResources Manifest() const;
    void UseManifestModule(HMODULE module) { manifestModule_ = module; }
    // The package list from the manifest, else from the workload. False: the list cannot be used.
    bool LoadPackages();
    // Builds a record (installed state, default selection, package folder, a database found again) and
    // appends it. Refuses a package code that is no plain folder name.
    bool AddPackage(PackageDescription description);
    // Whether the package's product is installed, asked afresh.
    bool IsPackageInstalled(const PackageInfo& package);
    std::wstring WizardTitle();
    void SetNamedValue(const std::wstring& name, const std::wstring& value) { namedValues_[name] = value; }
    bool GetNamedValue(const std::wstring& name, std::wstring& value) const;

    void DeleteMsiFolder(PackageInfo& package);
    void PruneMsiFolders();

    // The user-interface languages, the current one and string loading in it.
    LanguageTable& Languages() { return languages_; }
    const LanguageTable& Languages() const { return languages_; }
    // More than one language variant of the main package is carried: the user gets a language choice.
    bool IsMultiLanguage() const { return multiLanguage_; }
    bool Is64BitSystem() const { return is64BitSystem_; }
    int IntroductionTextId() const { return introductionTextId_; }
    const WindowsVersion& SystemVersion() const { return systemVersion_; }
    const std::wstring& DetectedSystemName() const { return detectedSystemName_; }
    const std::wstring& RequiredSystemName() const { return requiredSystemName_; }
    // The name message boxes carry: the wizard title in setup mode, else the program's name.
    const std::wstring& ApplicationName() const { return applicationName_; }
    // The installed products a quick install replaces; empty when the user chose no quick install.
    std::vector<ProductRecord>& QuickInstallList() { return quickInstallList_; }

private:
    void WriteLogLine(const std::wstring& line);
    void WindowsInstallerEnableLog();
    // Chooses the start language and the multi-language flag from the carried main-package variants.
    void ProbeLanguages();
    void RunValidation();
    void RunUsage();
    // The help: built once the start language is chosen, printed in the usage mode.
    void BuildUsageTable();
    void PrintUsage();
    // False when the run stopped at once (nothing is reported then).
    bool RunExtractAll();
    void RunSetup();
    void RunWizard();
    bool CheckOperatingSystem();
    bool CheckCommandLineProperties(std::wstring& errorText);
    // A message box with the error icon, unless the run is quiet.
    void ShowError(const std::wstring& text);
    bool LoadWorkloadPackages();
    bool ValidateResources();
    void RecordDownloadIdOfThisFile();
    void ApplySubPackageSelection();
    void RunSelfDelete();

    CSetupAppCommandLineInfo commandLine_;
    std::wstring rawArguments_;
    SetupLogFile logFile_;
    int verbosity_ = 0;
    SetupResult result_;
    std::vector<std::unique_ptr<PackageInfo>> packages_;
    std::map<std::wstring, std::wstring> namedValues_;
    std::wstring detectedSystemName_;
    std::wstring requiredSystemName_;
    bool is64BitSystem_ = false;
    WindowsVersion systemVersion_;
    UsageTable usageTable_;
    std::vector<std::wstring> usagePropertyNames_; // property names of the usage table's groups
    int introductionTextId_ = 35;
    LanguageTable languages_{ResourceStringSource()};
    bool multiLanguage_ = false;
    HMODULE manifestModule_ = nullptr; // null: this launcher's own resources
    bool initialisationFinished_ = false;
    std::wstring applicationName_;
    KernelHandle singleInstanceMutex_; // held until the process ends
    std::vector<ProductRecord> quickInstallList_;
};
