// CSetupApp's command-line help: the table built from the launcher's own resources and the text
// printed to the console of the calling process.
#include "launcher/Console_win.h"
#include "launcher/ManifestResources_win.h"
#include "launcher/ManifestRules.h"
#include "launcher/SetupApp_win.h"
#include "launcher/StringTable_win.h"
#include "launcher/SystemInfo_win.h"
#include "launcher/UsageText.h"

#include <windows.h>

namespace {

// The German variant of the main package: a launcher that carries it offers a choice of languages.
constexpr wchar_t kGermanMainPackage[] = L"PACKAGE_0_1031";
constexpr LANGID kGermanLanguage = 1031;

std::wstring LoadUsageString(int id) {
    return LoadResourceString(static_cast<unsigned>(id));
}

} // namespace

void CSetupApp::BuildUsageTable() {
    UsageFacts facts;
    facts.carriesGermanMainPackage = Manifest().Exists(kGermanMainPackage, kGermanLanguage);
    facts.packageCount = ParsePackageCount(ReadManifestString(L"PACKAGE_COUNT"));
    facts.mainProductName = ReadManifestString(L"PRODUCT_NAME_0");
    usageTable_ = ::BuildUsageTable(facts, LoadUsageString);
    usagePropertyNames_ = UsagePropertyNames(usageTable_);
}

void CSetupApp::PrintUsage() {
    WriteConsoleText(ComposeUsageText(usageTable_, ExecutableFileName(ThisModulePath()), LoadUsageString));
}
