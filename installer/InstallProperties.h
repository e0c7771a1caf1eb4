// The Windows Installer command lines (property strings) the launcher composes for one package: the
// launcher's own tokens, the hiding properties that tell a package which of its dialogs to leave out, the
// language tokens and the wizard's property strings. Portable, so every string is tested byte for byte.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace InstallTokens {
inline constexpr wchar_t kLauncherMarker[] = L"INSTALLEDFROMLAUNCHER=Yes ";
inline constexpr wchar_t kAdmin[] = L"ACTION=ADMIN ";
inline constexpr wchar_t kRemove[] = L"REMOVE=ALL ";
inline constexpr wchar_t kSubPackages[] = L"HAS_SUB_PACKAGES=\"Yes\" ";
inline constexpr wchar_t kHideFinish[] = L"UI_HIDE_FINISH_DLG=\"Yes\" ";
inline constexpr wchar_t kProgressOnly[] = L"UI_HIDE_ALL_BUT_PROGRESS=\"Yes\" ";
inline constexpr wchar_t kCustomizeAndProgress[] = L"UI_HIDE_ALL_BUT_CUSTOMIZE_AND_PROGRESS=\"Yes\" ";
inline constexpr wchar_t kShowLicenceAgreement[] = L"UI_SHOW_LICENSE_AGREEMENT_DLG=\"Yes\" ";
inline constexpr wchar_t kUninstallSet[] =
    L"HAS_SUB_PACKAGES=\"Yes\" UI_HIDE_ALL_BUT_PROGRESS=\"Yes\" UI_HIDE_FINISH_DLG=\"Yes\" ";
inline constexpr wchar_t kRollbackSet[] = L"UI_HIDE_ALL_BUT_PROGRESS=\"Yes\" UI_HIDE_FINISH_DLG=\"Yes\" ";
} // namespace InstallTokens

// What every operation of a run shares: the command line's switches and properties, the language and
// the wizard's property strings with the flags that let them through.
struct InstallerRunFacts {
    bool admin = false;                              // /a
    std::wstring statusFile;                         // after /m
    std::optional<std::wstring> manifestProperties;  // the manifest's "PROPERTIES", when the launcher has it
    std::vector<std::wstring> commandLineProperties; // Name=Value, already quoted, in command-line order
    bool multiLanguage = false;
    std::wstring languageShortCode; // "en", "de", ...
    uint16_t languageId = 1033;
    bool mainLineServerPresent = false, hasServerConfiguration = false, workflowServerAdvanced = false;
    std::wstring backupOptions, serviceConfiguration, workflowOptions;
    // The catalog names of the installations a quick install replaces; empty: no quick install.
    std::vector<std::wstring> quickInstallNames;
};

// One package as the property strings see it.
struct PropertyPackage {
    bool main = false;
    std::wstring transformFile; // the language transform written beside its database; empty for none
};

// The whole property string of an operation: the status file, the admin or remove token, the launcher
// marker, the manifest's and the command line's properties, then the operation's own properties.
std::wstring ComposeInstallerCommandLine(const InstallerRunFacts& run, bool uninstallSwitch,
                                         const std::wstring& operationProperties);

// The operation properties of a fresh (or administrative) install of one of `packageCount` packages;
// `customSetupType`: the main product was installed with the custom setup type.
std::wstring InstallOperationProperties(const InstallerRunFacts& run, const PropertyPackage& package,
                                        size_t packageCount, bool customSetupType);
// Of a modification; `newSubPackage`: a selected package other than the main one is not installed yet.
std::wstring ModifyOperationProperties(const InstallerRunFacts& run, const PropertyPackage& package,
                                       size_t packageCount, bool newSubPackage);
std::wstring UninstallOperationProperties(size_t packageCount);

// The registry's "CurrentInstallationType" says the main product was installed with the custom setup type.
bool IsCustomSetupType(const std::wstring& value);
