// The parts of CSetupApp that read the launcher's own resources and run the console modes.
#include "launcher/SetupApp_win.h"

#include "installer/WindowsInstaller_win.h"
#include "launcher/Console_win.h"
#include "launcher/DownloadId.h"
#include "launcher/SetupAppWizardHost_win.h"
#include "launcher/SystemInfo_win.h"
#include "support/Registry_win.h"
#include "support/StringUtil.h"
#include "wizard/WizardDialog_win.h"

#include <windows.h>

namespace {

constexpr wchar_t kDownloadIdsKey[] = L"SOFTWARE\\Quenlis\\Setup";

} // namespace

void CSetupApp::RunWizard() {
    SetupAppWizardHost host(*this);
    CWizardDialog wizard(host, WizardTitle());
    wizard.Run();
}

void CSetupApp::WindowsInstallerEnableLog() {
    WindowsInstaller::EnableLog(commandLine_.logMode, commandLine_.logFile, kLogAttributeAppend);
}

void CSetupApp::RecordDownloadIdOfThisFile() {
    const std::wstring path = ThisModulePath();
    const std::wstring id = FindDownloadId(path.substr(path.find_last_of(L"\\/") + 1));
    if (id.empty())
        return;
    RegistryKey key = RegistryKey::Create(HKEY_LOCAL_MACHINE, kDownloadIdsKey, RegistryView::Bits32);
    if (!key.IsOpen())
        return;
    const std::wstring existing = key.ReadString(L"DownloadIds").value_or(L"");
    key.WriteString(L"DownloadIds", AppendDownloadId(existing, id));
}
