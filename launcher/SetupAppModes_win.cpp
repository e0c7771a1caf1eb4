// The parts of CSetupApp that read the launcher's own resources and run the console modes.
#include "launcher/SetupApp_win.h"

#include "installer/WindowsInstaller_win.h"
#include "launcher/Console_win.h"
#include "launcher/DownloadId.h"
#include "launcher/SystemInfo_win.h"
#include "support/Registry_win.h"
#include "support/StringUtil.h"

#include <windows.h>

namespace {

constexpr LANGID kManifestLanguage = 1033;
constexpr wchar_t kDownloadIdsKey[] = L"SOFTWARE\\Quenlis\\Setup";

LPCWSTR ManifestType() { return MAKEINTRESOURCEW(40); }

// The text of a type-40 resource, up to its terminating zero.
std::wstring ResourceText(HRSRC resource) {
    HMODULE module = GetModuleHandleW(nullptr);
    HGLOBAL loaded = resource ? LoadResource(module, resource) : nullptr;
    const auto* data = loaded ? static_cast<const wchar_t*>(LockResource(loaded)) : nullptr;
    if (!data)
        return {};
    const size_t characters = SizeofResource(module, resource) / sizeof(wchar_t);
    std::wstring text(data, characters);
    const size_t zero = text.find(L'\0');
    if (zero != std::wstring::npos)
        text.resize(zero);
    return text;
}

} // namespace

std::wstring CSetupApp::ReadManifestString(const std::wstring& name) {
    HMODULE module = GetModuleHandleW(nullptr);
    if (multiLanguage_)
        return ResourceText(FindResourceExW(module, ManifestType(), name.c_str(), kManifestLanguage));
    return ResourceText(FindResourceW(module, name.c_str(), ManifestType()));
}

bool CSetupApp::ValidateResources() {
    struct Wanted {
        std::wstring name;
        std::wstring code; // empty: any language
    };
    std::vector<Wanted> wanted = {{L"OS", {}}, {L"PACKAGE_COUNT", {}}};
    long long count = 0;
    if (!ParseWholeDecimal(Trim(ReadManifestString(L"PACKAGE_COUNT")), count) || count < 0)
        count = 0;
    for (long long n = 0; n < count; ++n) {
        for (const wchar_t* text : {L"PRODUCT_NAME_", L"PRODUCT_CODE_", L"PRODUCT_ID_", L"PRODUCT_VERSION_",
                                    L"PRODUCT_PLATFORM_", L"PACKAGE_CODE_", L"PACKAGE_"})
            wanted.push_back({Format(L"%s%d", text, n), {}});
        if (multiLanguage_) {
            for (const wchar_t* code : {L"1031", L"1034", L"1036", L"1041", L"2052"})
                wanted.push_back({Format(L"PACKAGE_%d_%s", n, code), code});
        }
    }
    WriteConsoleText(L"\r\nValidation if all necessary resources have been compiled into setup.\r\n");
    HMODULE module = GetModuleHandleW(nullptr);
    bool allFound = true;
    for (const auto& resource : wanted) {
        const HRSRC found =
            resource.code.empty()
                ? FindResourceW(module, resource.name.c_str(), ManifestType())
                : FindResourceExW(module, ManifestType(), resource.name.c_str(),
                                  static_cast<LANGID>(std::wcstoul(resource.code.c_str(), nullptr, 10)));
        if (!found) {
            allFound = false;
            const std::wstring language = resource.code.empty() ? L"" : L" [" + resource.code + L"]";
            WriteConsoleText(Format(L"    Test for resource %s%s failed!", resource.name, language));
        }
    }
    WriteConsoleText(allFound ? L"All resources have been detected.\r\n" : L"Some resources are missing.\r\n");
    return allFound;
}

bool CSetupApp::LoadPackages() {
    packages_.clear();
    WriteLog(kLogLevelProgress, L"VNT (c): Reading package information.\r\n");
    // The records, their catalog products and installed state come with the package manifest; a
    // launcher without a manifest and without a workload has an empty list.
    return true;
}

void CSetupApp::PrintUsage() {
    WriteConsoleText(L"\r\nUsage: setup [/a | /f[pecdamusv] | /x] [/q[n|b|r|f][+]] [/L[mewuioarcvx*+!] logfile]"
                     L" [/m file] [lang=language] [subPackages=patterns] [workload=file] [TRANSFORMS=list]"
                     L" [Property=Value ...]\r\n");
}

bool CSetupApp::RunExtractAll() {
    ConsoleAttachment console;
    if (!LoadPackages())
        SetResultCode(ResultCode::PackageInfoMissing);
    return true;
}

bool CSetupApp::CheckOperatingSystem() {
    OSVERSIONINFOEXW version = {};
    version.dwOSVersionInfoSize = sizeof version;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&version)))
        systemMajorVersion_ = version.dwMajorVersion;
#pragma GCC diagnostic pop
    return true;
}

void CSetupApp::RunWizard() {
    // The wizard dialog and its pages plug in here.
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
