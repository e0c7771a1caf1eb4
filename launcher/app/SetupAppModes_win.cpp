// The run modes of CSetupApp: the validation of the carried resources, the usage text, the extraction of
// every package into the current folder, and the setup itself, which builds the package list and runs the
// wizard.
#include "launcher/app/SetupApp_win.h"

#include "extraction/CabinetExtractor_win.h"
#include "extraction/MSIExtractionProgressHandler_win.h"
#include "extraction/PackageResources_win.h"
#include "extraction/PayloadCheck_win.h"
#include "extraction/UnpackRules.h"
#include "launcher/Console_win.h"
#include "launcher/DownloadId.h"
#include "launcher/ManifestRules.h"
#include "launcher/PackageListBuilder_win.h"
#include "launcher/SystemInfo_win.h"
#include "launcher/app/Usage_win.h"
#include "launcher/app/WizardServices_win.h"
#include "support/FilePath.h"
#include "support/FileUtilities_win.h"
#include "support/Registry_win.h"
#include "wizard/WizardDialog_win.h"

#include <windows.h>

#include <commctrl.h>

namespace {

constexpr wchar_t kDownloadIdsKey[] = L"SOFTWARE\\Quenlis\\Setup";

ManifestResources ThisManifest(const SetupContext& context) {
    return ManifestResources(GetModuleHandleW(nullptr), context.multiLanguage);
}

// The payload resources the launcher's record describes that are missing or differ from it, and the record
// itself when some of its lines are malformed (what they described goes unchecked).
std::vector<std::wstring> DamagedPayloadNames() {
    const PayloadHashes& hashes = LauncherPayloadHashes();
    std::vector<std::wstring> names;
    if (hashes.malformedLines > 0)
        names.push_back(kPayloadHashesName);
    for (const PayloadRecord& record : DamagedPayloadResources(GetModuleHandleW(nullptr), hashes))
        names.push_back(record.name);
    return names;
}

// Every resource the manifest promises, one console line for each that is missing and the summary of
// those, then one line for each damaged payload resource (damagedFormat: its text, "%s" for the resource's
// name). True when all are there and intact.
bool ValidateResources(const ManifestResources& manifest, bool multiLanguage,
                       const std::wstring& damagedFormat) {
    const auto wanted =
        ResourcesToValidate(ParsePackageCount(manifest.ReadString(L"PACKAGE_COUNT")), multiLanguage);
    WriteConsoleText(L"\r\n");
    WriteConsoleText(L"Validation if all necessary resources have been compiled into setup.");
    WriteConsoleText(L"\r\n");
    bool allFound = true;
    for (const auto& resource : wanted) {
        const LANGID language =
            resource.languageCode.empty()
                ? 0
                : static_cast<LANGID>(std::wcstoul(resource.languageCode.c_str(), nullptr, 10));
        if (!manifest.Exists(resource.name, language)) {
            allFound = false;
            WriteConsoleText(ValidationFailureLine(resource));
        }
    }
    WriteConsoleText(allFound ? L"All resources have been detected." : L"Some resources are missing.");
    WriteConsoleText(L"\r\n");
    // The presence lines above read as they always have; each damaged resource adds a line of its own.
    bool intact = true;
    for (const std::wstring& name : DamagedPayloadNames()) {
        intact = false;
        WriteConsoleText(Format(damagedFormat, name) + L"\r\n");
    }
    return allFound && intact;
}

// Remembers the download identifier of the launcher's file name in the registry.
void RecordDownloadIdOfThisFile() {
    const std::wstring id = FindDownloadId(ICBSFilePath(ThisModulePath()).FileName());
    if (id.empty())
        return;
    RegistryKey key = RegistryKey::Create(HKEY_LOCAL_MACHINE, kDownloadIdsKey, RegistryView::Bits32);
    if (!key.IsOpen())
        return;
    const std::wstring existing = key.ReadString(L"DownloadIds").value_or(L"");
    key.WriteString(L"DownloadIds", AppendDownloadId(existing, id));
}

} // namespace

void CSetupApp::RunValidation() {
    ConsoleAttachment console;
    log_.Write(kLogLevelProgress, L"Validation if all necessary resources have been compiled into setup.");
    if (!ValidateResources(ThisManifest(context_), context_.multiLanguage,
                           context_.languages.LoadString(StringId::PayloadCheckFailed))) {
        log_.Write(kLogLevelFailure, L"Validation failed!");
        context_.result.Set(ResultCode::Corrupted, 0, true);
    }
}

void CSetupApp::RunUsage() {
    ConsoleAttachment console;
    PrintUsage(usage_);
}

bool CSetupApp::RunExtractAll() {
    ConsoleAttachment console;
    MSIExtractionProgressHandler consoleLines;
    if (!PackageListBuilder(context_).Build(ThisManifest(context_))) {
        context_.result.SetResultCode(ResultCode::PackageInfoMissing);
        return true;
    }
    const ICBSFolderPath folder(ICBSFileUtilities::CurrentFolder());
    for (const PackageInfo& package : context_.packages) {
        if (!IsTaxonomyPackage(package.InstallerType())) {
            // A failed cabinet is recorded and the next package still comes out.
            const ExtractionOutcome extracted =
                ExtractPackageCabinet(package.PackageData(), folder.Text(), &consoleLines, log_);
            if (extracted == ExtractionOutcome::DiskFull)
                context_.result.Set(ResultCode::DiskFull, 0, false);
            else if (extracted == ExtractionOutcome::Failed)
                context_.result.Set(ResultCode::InstallFailed, kCabinetFailure, false);
            continue;
        }
        const std::wstring name = FileNamePart(package.PackageData());
        if (!WriteTaxonomyFile(package.PackageData(), ICBSFilePath(folder, name).FullPath())) {
            // Stops at once: nothing more is extracted, and the result is neither reported nor posted.
            console.Release();
            return false;
        }
    }
    return true;
}

void CSetupApp::RunSetup() {
    RecordDownloadIdOfThisFile();
    LoadLibraryW(L"Msftedit.dll"); // rich-edit controls for the wizard's texts
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_LINK_CLASS};
    InitCommonControlsEx(&controls);
    context_.applicationName = context_.WizardTitle();
    PackageListBuilder builder(context_);
    if (!builder.Build(ThisManifest(context_)))
        context_.result.SetResultCode(ResultCode::PackageInfoMissing);
    builder.ApplySubPackageSelection();
    // What detection found and what the run will therefore handle, for whoever reads the log.
    for (const PackageInfo& package : context_.packages)
        log_.Write(kLogLevelProgress, L"VNT (c): Package %s: installed %s, selected %s.\r\n",
                   package.ProductName(), package.Installed() ? L"yes" : L"no",
                   context_.choices.Selected(package) ? L"yes" : L"no");
    if (context_.result.code == 0) {
        log_.Write(kLogLevelProgress, L"VNT (c): All information collected. Start processing.\r\n");
        WizardServices services(context_);
        CWizardDialog wizard(context_, services);
        wizard.Run();
    }
}
