#include "installer/InstallProperties.h"

namespace {

constexpr uint16_t kEnglish = 1033;
constexpr wchar_t kCustomSetupValue[] = L"Custom";

std::wstring LanguageToken(const InstallerRunFacts& run) {
    return L"INSTALLER_LANGUAGE=\"" + run.languageShortCode + L"\" ";
}

// The package's language transform, when the run speaks another language than English and one was
// written beside the database.
std::wstring LanguageTransformToken(const InstallerRunFacts& run, const PropertyPackage& package) {
    if (!run.multiLanguage || run.languageId == kEnglish || package.transformFile.empty())
        return {};
    return L"TRANSFORMS=\"" + package.transformFile + L"\" ";
}

std::wstring QuickInstallToken(const std::vector<std::wstring>& names) {
    std::wstring list;
    for (const std::wstring& name : names)
        list += (list.empty() ? L"" : L",") + name;
    // The desktop products' own setup options would follow the list; the server products have none.
    return std::wstring(InstallTokens::kProgressOnly) + L"DO_QUICK_INSTALL=\"" + list + L"\" ";
}

} // namespace

std::wstring ComposeInstallerCommandLine(const InstallerRunFacts& run, bool uninstallSwitch,
                                         const std::wstring& operationProperties) {
    std::wstring line;
    if (!run.statusFile.empty())
        line += L"/m " + run.statusFile + L" ";
    if (run.admin)
        line += InstallTokens::kAdmin;
    else if (uninstallSwitch)
        line += InstallTokens::kRemove;
    line += InstallTokens::kLauncherMarker;
    if (run.manifestProperties)
        line += *run.manifestProperties + L" ";
    for (const std::wstring& property : run.commandLineProperties)
        line += property + L" ";
    return line + operationProperties;
}

std::wstring InstallOperationProperties(const InstallerRunFacts& run, const PropertyPackage& package,
                                        size_t packageCount, bool customSetupType) {
    std::wstring properties;
    if (packageCount > 1) {
        properties += InstallTokens::kSubPackages;
        properties += InstallTokens::kHideFinish;
        if (!package.main)
            properties +=
                customSetupType ? InstallTokens::kCustomizeAndProgress : InstallTokens::kProgressOnly;
    }
    if (!run.quickInstallNames.empty())
        properties += QuickInstallToken(run.quickInstallNames);
    if (run.multiLanguage)
        properties += LanguageToken(run);
    if (run.mainLineServerPresent)
        properties += run.backupOptions + L" ";
    if (run.hasServerConfiguration)
        properties += run.serviceConfiguration + L" ";
    if (run.workflowServerAdvanced)
        properties += run.workflowOptions + L" ";
    return properties + LanguageTransformToken(run, package);
}

std::wstring ModifyOperationProperties(const InstallerRunFacts& run, const PropertyPackage& package,
                                       size_t packageCount, bool newSubPackage) {
    std::wstring properties;
    if (packageCount > 1) {
        properties += InstallTokens::kSubPackages;
        properties += package.main ? InstallTokens::kHideFinish : InstallTokens::kCustomizeAndProgress;
        if (newSubPackage)
            properties += InstallTokens::kShowLicenceAgreement;
    }
    if (run.multiLanguage)
        properties += LanguageToken(run);
    if (run.hasServerConfiguration)
        properties += run.serviceConfiguration + L" ";
    if (run.workflowServerAdvanced)
        properties += run.workflowOptions + L" ";
    return properties + LanguageTransformToken(run, package);
}

std::wstring UninstallOperationProperties(size_t packageCount) {
    return packageCount >= 2 ? InstallTokens::kUninstallSet : L"";
}

bool IsCustomSetupType(const std::wstring& value) {
    return value == kCustomSetupValue;
}
