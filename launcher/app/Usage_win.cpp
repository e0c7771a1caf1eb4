#include "launcher/app/Usage_win.h"

#include "launcher/Console_win.h"
#include "launcher/ManifestRules.h"
#include "launcher/StringTable_win.h"
#include "launcher/SystemInfo_win.h"
#include "launcher/UsageText.h"

namespace {

// The German variant of the main package: a launcher that carries it offers a choice of languages.
constexpr wchar_t kGermanMainPackage[] = L"PACKAGE_0_1031";
constexpr LANGID kGermanLanguage = 1031;

std::wstring LoadUsageString(int id) {
    return LoadResourceString(static_cast<unsigned>(id));
}

} // namespace

UsageTable BuildUsageTable(const ManifestResources& manifest) {
    UsageFacts facts;
    facts.carriesGermanMainPackage = manifest.Exists(kGermanMainPackage, kGermanLanguage);
    facts.packageCount = ParsePackageCount(manifest.ReadString(L"PACKAGE_COUNT"));
    facts.mainProductName = manifest.ReadString(L"PRODUCT_NAME_0");
    return ::BuildUsageTable(facts, LoadUsageString);
}

void PrintUsage(const UsageTable& usage) {
    WriteConsoleText(ComposeUsageText(usage, ExecutableFileName(ThisModulePath()), LoadUsageString));
}
