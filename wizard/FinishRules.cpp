#include "wizard/FinishRules.h"

#include "StringIds.h"
#include "launcher/ProductCatalog.h"
#include "support/FilePath.h"

#include <algorithm>

namespace Finish {

namespace {

constexpr wchar_t kSharedToolsFolder[] = L"\\Quenlis\\SharedBetweenVersions\\";

bool ContainsAny(const std::wstring& name, const std::vector<std::wstring_view>& parts) {
    return std::any_of(parts.begin(), parts.end(),
                       [&](std::wstring_view part) { return name.find(part) != std::wstring::npos; });
}

bool IsSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

} // namespace

ToolOffers OfferedTools(const std::vector<std::wstring>& installedProductNames) {
    // An installed product is known by the name of an edition that offers the tool anywhere in its own
    // (letter case counts).
    const auto taxonomy = ProductCatalog::NamesOffering(kTaxonomyTool);
    const auto schema = ProductCatalog::NamesOffering(kSchemaTool);
    const auto workflow = ProductCatalog::NamesOffering(kWorkflowSetupTool);
    ToolOffers offers;
    for (const std::wstring& name : installedProductNames) {
        if (ContainsAny(name, taxonomy))
            offers.taxonomyTool = true;
        if (ContainsAny(name, schema))
            offers.schemaTool = true;
        if (ContainsAny(name, workflow))
            offers.workflowSetup = true;
    }
    return offers;
}

OutcomeStrings OutcomeStringIds(const SetupMode& mode, bool success) {
    OutcomeStrings strings;
    strings.title = success ? StringId::Completed : StringId::Aborted;
    // Repair is asked first: a command line may ask for both, and the installer then repairs.
    if (mode.IsRepair()) {
        strings.outcome = success ? StringId::Repaired : StringId::RepairInterrupted;
    } else if (mode.IsUninstall()) {
        strings.outcome = success ? StringId::Uninstalled : StringId::UninstallInterrupted;
        strings.hint = success ? 0 : StringId::SystemNotModified;
    } else if (mode.IsModify()) {
        strings.outcome = success ? StringId::Modified : StringId::ModifyInterrupted;
    } else {
        strings.outcome = success ? StringId::Installed : StringId::InstallInterrupted;
        strings.hint = success ? 0 : StringId::RunAgain;
    }
    return strings;
}

bool ShowsToolBoxes(const SetupMode& mode, bool success) {
    return success && !mode.IsUninstall();
}

std::wstring SharedToolPath(std::wstring_view commonAppDataFolder, std::wstring_view fileName) {
    while (!commonAppDataFolder.empty() && IsSeparator(commonAppDataFolder.back()))
        commonAppDataFolder.remove_suffix(1);
    if (commonAppDataFolder.empty() || fileName.empty())
        return {};
    std::wstring path(commonAppDataFolder);
    path += kSharedToolsFolder;
    path += fileName;
    return path;
}

std::wstring WorkflowSetupPath(std::wstring_view applicationPath) {
    const size_t separator = LastPathSeparator(applicationPath);
    if (separator == std::wstring_view::npos || separator == 0)
        return {};
    std::wstring path(applicationPath.substr(0, separator + 1));
    path += kWorkflowSetupFile;
    return path;
}

} // namespace Finish
