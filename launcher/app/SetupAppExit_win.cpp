// CSetupApp's shut-down: queued messages, package folders, the stop line and the self-deleting batch.
#include "launcher/ExitCleanup.h"
#include "launcher/InstalledProducts_win.h"
#include "launcher/SystemInfo_win.h"
#include "launcher/app/SetupApp_win.h"
#include "support/FileUtilities_win.h"
#include "support/ICBSString.h"

#include <windows.h>

namespace {

void DeleteMsiFolder(const PackageInfo& package, LogSinkIF& log) {
    const std::wstring& folder = package.PackageFolder();
    if (folder.empty() || !ICBSFileUtilities::IsFolder(folder))
        return;
    log.Write(kLogLevelProgress, L"VNT (c): Deleting MSI folder %s\r\n", folder);
    if (ICBSFileUtilities::DeleteTree(folder))
        log.Write(kLogLevelProgress, L"VNT (c): Deleted MSI folder %s\r\n", folder);
}

// The folder of every package whose product is not installed now.
void PruneMsiFolders(const PackageList& packages, LogSinkIF& log) {
    for (const PackageInfo& package : packages) {
        if (!InstalledProducts::IsInstalled(package))
            DeleteMsiFolder(package, log);
    }
}

// Writes "SelfDelete.bat" beside the main package's folder and starts it without waiting: the folder may
// hold this very program, so the batch can only remove it once this process has ended.
void RunSelfDelete(const PackageInfo& main, LogSinkIF& log) {
    const std::wstring base = LauncherBaseFolder();
    const std::wstring folder = main.PackageFolder();
    // The batch deletes a whole tree: never for a folder outside the launcher's own base folder.
    if (base.empty() || !IsStrictlyInsideFolder(folder, base)) {
        log.Write(kLogLevelFailure, L"VNT (c): Not removing folder %s: it is not inside %s\r\n", folder,
                  base);
        return;
    }
    const std::wstring batchPath = base + L"\\SelfDelete.bat";
    const std::string text = ICBSString(SelfDeleteBatchText(folder)).ToCodePage(kCodePageAnsi).value_or("");
    FileHandle batch(CreateFileW(batchPath.c_str(), GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!batch)
        return;
    DWORD written = 0;
    const bool ok = WriteFile(batch.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
                    written == text.size();
    batch.Close();
    if (ok)
        ICBSFileUtilities::Wait(L"\"" + batchPath + L"\"", false, L"", nullptr, INFINITE, true, nullptr);
}

} // namespace

int CSetupApp::ExitInstance() {
    log_.Write(kLogLevelProgress, L"VNT (c): entering ExitInstance \r\n");
    if (initialisationFinished_ && HasMessageQueue()) {
        // Let what the wizard queued finish before shutting down; ends with the quit message.
        MSG message;
        while (GetMessageW(&message, nullptr, 0, 0) > 0) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }

    const PackageInfo* main = context_.packages.Main();
    ExitFacts facts;
    facts.packageCount = context_.packages.size();
    if (main) {
        facts.mainIsMsi = main->IsMsi();
        facts.mainInstalled = InstalledProducts::IsInstalled(*main); // now, after what the run did
    }
    facts.uninstall = context_.mode.IsUninstall();
    facts.repair = context_.mode.IsRepair();
    facts.oemMode = context_.mode.oemMode;
    facts.resultCode = context_.result.code;
    for (ExitAction action : PlanFolderCleanup(facts)) {
        if (action == ExitAction::PruneMsiFolders)
            PruneMsiFolders(context_.packages, log_);
    }

    log_.Write(kLogLevelFailure, L"%s", StopLine(LocalNow()));
    if (WantsSelfDelete(facts))
        RunSelfDelete(*main, log_);
    return context_.result.code;
}
