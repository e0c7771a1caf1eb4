#include "launcher/SetupApp_win.h"

#include "launcher/Console_win.h"
#include "launcher/EnvironmentChecks_win.h"
#include "launcher/PropertyCheck.h"
#include "launcher/RunMode.h"
#include "launcher/StringTable_win.h"
#include "launcher/SubPackageSelection.h"
#include "launcher/SystemInfo_win.h"

#include <windows.h>

#include <commctrl.h>

namespace {

// String ids of the messages this file shows.
constexpr unsigned kStringWizardTitle = 1;
constexpr unsigned kStringIncompatibleSystem = 10;
constexpr unsigned kStringNoDirect2D = 66;
constexpr unsigned kStringPropertyNotSupported = 1277;
constexpr unsigned kStringPropertyNotNumeric = 1310;

std::wstring FileNameOf(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

std::wstring BaseNameOf(const std::wstring& path) {
    std::wstring name = FileNameOf(path);
    const size_t dot = name.find_last_of(L'.');
    return dot == std::wstring::npos ? name : name.substr(0, dot);
}

} // namespace

CSetupApp::CSetupApp(const std::wstring& processCommandLine) {
    SetProcessLanguageTable(&languages_);
    applicationName_ = BaseNameOf(ThisModulePath());
    rawArguments_ = ArgumentsAfterProgramName(processCommandLine);
    commandLine_.ParseArguments(rawArguments_);
    verbosity_ = LogVerbosityFromMode(commandLine_.logMode);
    if (!commandLine_.logFile.empty())
        logFile_.Open(commandLine_.logFile, (commandLine_.logAttributes & kLogAttributeAppend) != 0);
    WriteLog(kLogLevelFailure, L"%s", StartLine(LocalNow(), ThisFileVersion()));
}

CSetupApp::~CSetupApp() {
    SetProcessLanguageTable(nullptr);
    logFile_.Close();
}

void CSetupApp::WriteLogLine(const std::wstring& line) { logFile_.Write(LimitLogLine(line)); }

void CSetupApp::ReleaseLogToInstaller() {
    if (logFile_.IsOpen()) {
        WriteLog(kLogLevelFailure, L"\r\n");
        logFile_.Close();
    }
    if (!commandLine_.logFile.empty())
        WindowsInstallerEnableLog();
}

void CSetupApp::ReopenLog() {
    if (!logFile_.IsOpen() && !commandLine_.logFile.empty())
        logFile_.Open(commandLine_.logFile, true);
}

bool CSetupApp::GetNamedValue(const std::wstring& name, std::wstring& value) const {
    const auto found = namedValues_.find(name);
    if (found == namedValues_.end())
        return false;
    value = found->second;
    return true;
}

std::wstring CSetupApp::WizardTitle() {
    return Format(LoadResourceString(kStringWizardTitle), ReadManifestString(L"PRODUCT_NAME_0"));
}

bool CSetupApp::InitInstance() {
    WriteLog(kLogLevelOperation, L"VNT (c): CommandLine: %s\r\n", rawArguments_);

    ProbeLanguages();
    BuildUsageTable();
    std::wstring propertyErrors;
    const bool propertiesValid = CheckCommandLineProperties(propertyErrors);

    EnvironmentProbe probe;
    probe.checkOperatingSystem = [this] { return CheckOperatingSystem(); };
    probe.hasDirect2D = [] { return HasDirect2D(); };
    probe.isSetupRunning = [this] { return IsSetupRunning(singleInstanceMutex_, systemVersion_.major); };
    probe.isAdministrator = [] { return IsAdministrator(); };

    switch (ChooseRunMode(commandLine_, propertiesValid, probe)) {
    case RunMode::Validate: RunValidation(); break;
    case RunMode::Usage: RunUsage(); break;
    case RunMode::ExtractAll:
        if (!RunExtractAll())
            return false; // stopped at once: nothing reported or posted
        break;
    case RunMode::UnsupportedSystem:
        WriteLog(kLogLevelOperation, L"VNT (c): Setup not allowed to run on %s\r\n", detectedSystemName_);
        ShowError(Format(LoadResourceString(kStringIncompatibleSystem), detectedSystemName_, requiredSystemName_));
        SetResultCode(ResultCode::IncompatibleWindows);
        break;
    case RunMode::NoDirect2D:
        WriteLog(kLogLevelOperation, L"No Direct2D found on this machine.");
        ShowError(LoadResourceString(kStringNoDirect2D));
        SetResultCode(ResultCode::NoDirect2D);
        break;
    case RunMode::InvalidProperties: {
        ConsoleAttachment console;
        WriteConsoleText(L"\r\n" + propertyErrors + L"\r\n" + L"\r\n");
        break;
    }
    case RunMode::AlreadyRunning:
        WriteLog(kLogLevelFailure, L"VNT (c): Setup already in progress.\r\n");
        SetResultCode(ResultCode::AlreadyRunning);
        break;
    case RunMode::NoAdministratorRights:
        WriteLog(kLogLevelFailure, L"VNT (c): User has no sufficient rights to run setup.\r\n");
        SetResultCode(ResultCode::NoAdminRights);
        break;
    case RunMode::Setup: RunSetup(); break;
    }

    ReportResult();
    PostQuitMessage(result_.code);
    initialisationFinished_ = true;
    return false;
}

void CSetupApp::ShowError(const std::wstring& text) {
    if (!commandLine_.IsQuiet())
        MessageBoxW(nullptr, text.c_str(), applicationName_.c_str(), MB_OK | MB_ICONERROR);
}

bool CSetupApp::CheckCommandLineProperties(std::wstring& errorText) {
    const PropertyCheckResult check = CheckProperties(
        commandLine_.properties, usagePropertyNames_, LoadResourceString(kStringPropertyNotNumeric),
        [this](const std::wstring& name) {
            ConsoleAttachment console;
            WriteConsoleText(Format(LoadResourceString(kStringPropertyNotSupported), name) + L"\r\n");
        });
    errorText = check.errorText;
    return check.allValid;
}

void CSetupApp::RunValidation() {
    ConsoleAttachment console;
    WriteLog(kLogLevelProgress, L"Validation if all necessary resources have been compiled into setup.");
    if (!ValidateResources()) {
        WriteLog(kLogLevelFailure, L"Validation failed!");
        result_.Set(ResultCode::Corrupted, 0, true);
    }
}

void CSetupApp::RunUsage() {
    ConsoleAttachment console;
    PrintUsage();
}

void CSetupApp::RunSetup() {
    RecordDownloadIdOfThisFile();
    LoadLibraryW(L"Msftedit.dll"); // rich-edit controls for the wizard's texts
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_LINK_CLASS};
    InitCommonControlsEx(&controls);
    applicationName_ = WizardTitle();
    if (!LoadPackages())
        SetResultCode(ResultCode::PackageInfoMissing);
    ApplySubPackageSelection();
    // What detection found and what the run will therefore handle, for whoever reads the log.
    for (const auto& package : packages_)
        WriteLog(kLogLevelProgress, L"VNT (c): Package %s: installed %s, selected %s.\r\n",
                 package->ProductName(), package->Installed() ? L"yes" : L"no",
                 package->Selected() ? L"yes" : L"no");
    if (result_.code == 0) {
        WriteLog(kLogLevelProgress, L"VNT (c): All information collected. Start processing.\r\n");
        RunWizard();
    }
}

void CSetupApp::ApplySubPackageSelection() {
    std::vector<std::wstring> names;
    for (const auto& package : packages_)
        names.push_back(package->ProductName());
    const auto selection = SelectSubPackages(names, commandLine_.subPackages,
                                             [this](const std::wstring& line) { WriteLog(kLogLevelProgress, L"%s", line); });
    for (size_t i = 0; i < selection.size(); ++i) {
        if (selection[i])
            packages_[i]->SetSelected(*selection[i]);
    }
}

void CSetupApp::ReportResult() {
    if (!result_.NeedsReport())
        return;
    WriteLog(kLogLevelProgress, L"VNT (c): ERROR: %s\r\n", ResultText());
    const int stringId = ResultMessageStringId(result_.code);
    if (!commandLine_.IsQuiet() && stringId != 0)
        MessageBoxW(nullptr, LoadResourceString(stringId).c_str(), applicationName_.c_str(), MB_OK | MB_ICONWARNING);
    result_.reported = true;
}

std::wstring CSetupApp::ResultText(const SetupResult& result) const {
    return ComposeResultText(result.code, result.installerError,
                             result.installerError ? SystemErrorText(result.installerError) : std::wstring());
}
