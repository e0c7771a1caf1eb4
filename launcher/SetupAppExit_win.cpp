// CSetupApp's shut-down: queued messages, package folders, the stop line and the self-deleting batch.
#include "launcher/ExitCleanup.h"
#include "launcher/SetupApp_win.h"
#include "launcher/SystemInfo_win.h"
#include "support/FileUtilities_win.h"
#include "support/StringUtil.h"

#include <windows.h>

namespace {

bool FolderExists(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string ToAnsiCodePage(const std::wstring& text) {
    const int bytes =
        WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(bytes > 0 ? bytes : 0, '\0');
    if (bytes > 0)
        WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), out.data(), bytes, nullptr,
                            nullptr);
    return out;
}

} // namespace

int CSetupApp::ExitInstance() {
    WriteLog(kLogLevelProgress, L"VNT (c): entering ExitInstance \r\n");
    if (initialisationFinished_) {
        // Let what the wizard queued finish before shutting down; ends with the quit message.
        MSG message;
        while (GetMessageW(&message, nullptr, 0, 0) > 0) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }

    ExitFacts facts;
    facts.packageCount = packages_.size();
    if (PackageInfo* main = MainPackage()) {
        facts.mainIsMsi = main->IsMsi();
        facts.mainInstalled = IsPackageInstalled(*main);
    }
    facts.uninstall = commandLine_.uninstall;
    facts.repair = commandLine_.repair;
    facts.oemMode = commandLine_.oemMode;
    facts.resultCode = result_.code;
    for (ExitAction action : PlanFolderCleanup(facts)) {
        if (action == ExitAction::PruneMsiFolders)
            PruneMsiFolders();
        else if (!IsPackageInstalled(*MainPackage()))
            DeleteMsiFolder(*MainPackage());
    }

    WriteLog(kLogLevelFailure, L"%s", StopLine(LocalNow()));
    if (WantsSelfDelete(facts))
        RunSelfDelete();
    return result_.code;
}

void CSetupApp::DeleteMsiFolder(PackageInfo& package) {
    const std::wstring& folder = package.PackageFolder();
    if (folder.empty() || !FolderExists(folder))
        return;
    WriteLog(kLogLevelProgress, L"VNT (c): Deleting MSI folder %s\r\n", folder);
    if (ICBSFileUtilities::DeleteTree(folder))
        WriteLog(kLogLevelProgress, L"VNT (c): Deleted MSI folder %s\r\n", folder);
}

void CSetupApp::PruneMsiFolders() {
    for (auto& package : packages_) {
        if (!IsPackageInstalled(*package))
            DeleteMsiFolder(*package);
    }
}

void CSetupApp::RunSelfDelete() {
    const std::wstring base = LauncherBaseFolder();
    const std::wstring folder = MainPackage()->PackageFolder();
    // The batch deletes a whole tree: never for a folder outside the launcher's own base folder.
    if (base.empty() || !IsStrictlyInsideFolder(folder, base)) {
        WriteLog(kLogLevelFailure, L"VNT (c): Not removing folder %s: it is not inside %s\r\n", folder, base);
        return;
    }
    const std::wstring batchPath = base + L"\\SelfDelete.bat";
    const std::string text = ToAnsiCodePage(SelfDeleteBatchText(folder));
    FileHandle batch(CreateFileW(batchPath.c_str(), GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!batch)
        return;
    DWORD written = 0;
    const bool ok = WriteFile(batch.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
                    written == text.size();
    batch.Close();
    if (ok)
        ICBSFileUtilities::Wait(L"\"" + batchPath + L"\"", true, L"", nullptr, INFINITE, true, nullptr);
}
