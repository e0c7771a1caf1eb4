#include "launcher/app/SetupApp_win.h"

#include "StringIds.h"
#include "launcher/Console_win.h"
#include "launcher/EnvironmentChecks_win.h"
#include "launcher/LanguageProbe.h"
#include "launcher/ManifestResources_win.h"
#include "launcher/OperatingSystem_win.h"
#include "launcher/PropertyCheck.h"
#include "launcher/ResultReport_win.h"
#include "launcher/RunMode.h"
#include "launcher/SystemInfo_win.h"
#include "launcher/app/Usage_win.h"
#include "support/FilePath.h"

#include <windows.h>

namespace {

// String ids of the messages this file shows.

// A message box with the error icon, unless the run is quiet.
void ShowError(const SetupContext& context, const std::wstring& text) {
    if (!context.mode.IsQuiet())
        ShowErrorMessage(context, text);
}

// Chooses the start language and the multi-language flag from the carried main-package variants.
void ProbeLanguages(SetupContext& context) {
    // Existence in a given language only; the multi-language rule of the text readers does not apply here.
    const ManifestResources resources(GetModuleHandleW(nullptr), false);
    context.multiLanguage = ProbeStartLanguage(
        context.languages,
        [&resources](const std::wstring& name, uint16_t language) {
            return resources.Exists(name, language);
        },
        context.commandLine.language, GetUserDefaultUILanguage());
}

// Warns on the console about unknown properties; false with the error text when a port is not numeric.
bool CheckCommandLineProperties(const SetupContext& context, const UsageTable& usage,
                                std::wstring& errorText) {
    const PropertyCheckResult check = CheckProperties(
        context.commandLine.properties, UsagePropertyNames(usage),
        LoadResourceString(StringId::PropertyNotNumeric), [](const std::wstring& name) {
            ConsoleAttachment console;
            WriteConsoleText(Format(LoadResourceString(StringId::PropertyNotSupported), name) + L"\r\n");
        });
    errorText = check.errorText;
    return check.allValid;
}

} // namespace

// A run that never showed a window (the usage text, /v, /u without a message) never loaded the window
// library, so its thread has no message queue to end or drain; loading the library only for that would
// take longer than the rest of such a run.
bool CSetupApp::HasMessageQueue() {
    return GetModuleHandleW(L"user32.dll") != nullptr;
}

CSetupApp::CSetupApp(const std::wstring& processCommandLine) {
    SetProcessLanguageTable(&context_.languages);
    context_.applicationName = ICBSFilePath(ThisModulePath()).BaseName();
    rawArguments_ = ArgumentsAfterProgramName(processCommandLine);
    context_.ParseCommandLine(rawArguments_);
    const CSetupAppCommandLineInfo& commandLine = context_.commandLine;
    log_.Open(commandLine.logFile, commandLine.logMode, commandLine.logAttributes);
    // Reading the file version loads a library; a run without a log has no use for it.
    if (log_.IsOpen())
        log_.Write(kLogLevelFailure, L"%s", StartLine(LocalNow(), ThisFileVersion()));
}

CSetupApp::~CSetupApp() {
    SetProcessLanguageTable(nullptr);
    log_.Close();
}

bool CSetupApp::InitInstance() {
    log_.Write(kLogLevelOperation, L"%s", CommandLineLogLine(rawArguments_));

    ProbeLanguages(context_);
    const ManifestResources manifest(GetModuleHandleW(nullptr), context_.multiLanguage);
    context_.mainProductName = manifest.ReadString(L"PRODUCT_NAME_0");
    usage_ = BuildUsageTable(manifest);
    std::wstring propertyErrors;
    const bool propertiesValid = CheckCommandLineProperties(context_, usage_, propertyErrors);

    EnvironmentProbe probe;
    probe.checkOperatingSystem = [&] {
        return CheckOperatingSystem(manifest.ReadString(L"OS"), log_, context_.system);
    };
    probe.hasDirect2D = [] { return HasDirect2D(); };
    probe.isSetupRunning = [this] {
        return IsSetupRunning(singleInstanceMutex_, context_.system.version.major);
    };
    probe.isAdministrator = [] { return IsAdministrator(); };

    switch (ChooseRunMode(context_.commandLine, propertiesValid, probe)) {
    case RunMode::Validate:
        RunValidation();
        break;
    case RunMode::Usage:
        RunUsage();
        break;
    case RunMode::ExtractAll:
        if (!RunExtractAll())
            return false; // stopped at once: nothing reported or posted
        break;
    case RunMode::UnsupportedSystem:
        log_.Write(kLogLevelOperation, L"VNT (c): Setup not allowed to run on %s\r\n",
                   context_.system.detectedName);
        ShowError(context_, Format(LoadResourceString(StringId::IncompatibleSystem),
                                   context_.system.detectedName, context_.system.requiredName));
        context_.result.SetResultCode(ResultCode::IncompatibleWindows);
        break;
    case RunMode::NoDirect2D:
        log_.Write(kLogLevelOperation, L"No Direct2D found on this machine.");
        ShowError(context_, LoadResourceString(StringId::NoDirect2D));
        context_.result.SetResultCode(ResultCode::NoDirect2D);
        break;
    case RunMode::InvalidProperties: {
        ConsoleAttachment console;
        WriteConsoleText(L"\r\n" + propertyErrors + L"\r\n" + L"\r\n");
        break;
    }
    case RunMode::AlreadyRunning:
        log_.Write(kLogLevelFailure, L"VNT (c): Setup already in progress.\r\n");
        context_.result.SetResultCode(ResultCode::AlreadyRunning);
        break;
    case RunMode::NoAdministratorRights:
        log_.Write(kLogLevelFailure, L"VNT (c): User has no sufficient rights to run setup.\r\n");
        context_.result.SetResultCode(ResultCode::NoAdminRights);
        break;
    case RunMode::Setup:
        RunSetup();
        break;
    }

    ReportResult(context_);
    if (HasMessageQueue())
        PostQuitMessage(context_.result.code);
    initialisationFinished_ = true;
    return false;
}
