#include "wizard/WizardRules.h"

#include "launcher/ProductCatalog.h"

#include <algorithm>
#include <cwctype>
#include <iterator>
#include <string_view>

namespace {

constexpr wchar_t kInstallerTypeMsi[] = L"msi";
constexpr wchar_t kInstallerTypeTaxonomy[] = L"taxonomy";

bool Contains(const std::wstring& text, std::wstring_view part) {
    return text.find(part) != std::wstring::npos;
}
bool BeginsWith(const std::wstring& text, std::wstring_view prefix) {
    return text.rfind(prefix, 0) == 0;
}
// Letter case counts; an empty name names nothing.
bool Names(const std::wstring& productName, std::wstring_view name) {
    return !name.empty() && Contains(productName, name);
}

// The names the page list looks for in product names, from the catalog: the main server line's, and the
// workflow server's together with its advanced edition's. A name the catalog lacks stays empty.
struct ServerNames {
    std::wstring_view mainLine;
    std::wstring_view workflow;
    std::wstring_view advancedEdition;
};

ServerNames LookedForServerNames() {
    ServerNames names;
    if (const ProductFamily* mainLine = ProductCatalog::FindFamily(ProductCatalog::kMainServerFamily))
        names.mainLine = mainLine->displayName;
    if (const ProductEdition* advanced =
            ProductCatalog::FindByKey(ProductCatalog::kWorkflowServerAdvancedKey)) {
        names.advancedEdition = advanced->editionName;
        if (const ProductFamily* workflow = advanced->Family())
            names.workflow = workflow->displayName;
    }
    return names;
}

// An identifier of one of the desktop lines whose user interface needs WebView2.
bool IsWebView2ProductId(const std::wstring& productId) {
    return std::any_of(
        std::begin(ProductCatalog::kWebView2ProductCodes), std::end(ProductCatalog::kWebView2ProductCodes),
        [&](std::wstring_view code) { return BeginsWith(productId, std::wstring(code) + L"::"); });
}

bool EqualsNoCase(const std::wstring& a, const std::wstring& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) {
               return std::towlower(x) == std::towlower(y);
           });
}

bool NeedsWebView2Page(const std::vector<WizardPackageFacts>& packages) {
    const bool carriesCompanion =
        std::any_of(packages.begin(), packages.end(), [](const WizardPackageFacts& p) {
            return BeginsWith(p.productId, ProductCatalog::kCompanionServerCode);
        });
    if (carriesCompanion || packages.empty())
        return false;
    const WizardPackageFacts& main = packages.front();
    return IsWebView2ProductId(main.productId) || Contains(main.productName, ProductCatalog::kSuiteName);
}

} // namespace

WizardFlags ComputeWizardFlags(const std::vector<WizardPackageFacts>& packages) {
    WizardFlags flags;
    for (const WizardPackageFacts& package : packages) {
        flags.hasServerConfiguration = flags.hasServerConfiguration || package.hasServerConfiguration;
    }
    // The main line ends the pass: a workflow server listed after it does not count.
    const ServerNames names = LookedForServerNames();
    for (const WizardPackageFacts& package : packages) {
        if (Names(package.productName, names.mainLine)) {
            flags.mainLineServerPresent = true;
            break;
        }
        if (Names(package.productName, names.workflow) && Names(package.productName, names.advancedEdition))
            flags.workflowServerAdvanced = true;
    }
    return flags;
}

std::vector<WizardPageKind> BuildWizardPageList(const std::vector<WizardPackageFacts>& packages,
                                                bool uninstallRequested) {
    const WizardFlags flags = ComputeWizardFlags(packages);
    const std::wstring mainType = packages.empty() ? std::wstring() : packages.front().installerType;
    const bool mainIsMsi = EqualsNoCase(mainType, kInstallerTypeMsi);

    std::vector<WizardPageKind> pages;
    pages.push_back(WizardPageKind::Welcome);
    if (packages.size() > 2)
        pages.push_back(WizardPageKind::SubPackages);
    if (flags.mainLineServerPresent) {
        pages.push_back(WizardPageKind::HVOptions);
        pages.push_back(WizardPageKind::Mosquitto);
    }
    pages.push_back(WizardPageKind::SystemIntegrity);
    if (NeedsWebView2Page(packages))
        pages.push_back(WizardPageKind::WebView2);
    pages.push_back(WizardPageKind::Unpack);
    if (flags.hasServerConfiguration && !uninstallRequested)
        pages.push_back(WizardPageKind::ServiceConfiguration);
    if (mainIsMsi)
        pages.push_back(WizardPageKind::Install);
    else if (EqualsNoCase(mainType, kInstallerTypeTaxonomy))
        pages.push_back(WizardPageKind::NonMSIInstall);
    // A single installer package ends the wizard after the install page; only a failure or Cancel reaches
    // the finish page then.
    if (packages.size() == 1 && mainIsMsi)
        pages.push_back(WizardPageKind::Empty);
    pages.push_back(WizardPageKind::Finish);
    return pages;
}

int FinishIndexOf(const std::vector<WizardPageKind>& pages) {
    const auto found = std::find(pages.begin(), pages.end(), WizardPageKind::Finish);
    return found == pages.end() ? -1 : static_cast<int>(found - pages.begin());
}

std::wstring WizardPageLogName(WizardPageKind kind) {
    switch (kind) {
    case WizardPageKind::Welcome:
        return L"Welcome";
    case WizardPageKind::SubPackages:
        return L"IncludedSubPackages";
    case WizardPageKind::HVOptions:
        return L"BackupSettings";
    case WizardPageKind::Mosquitto:
        return L"Mosquitto";
    case WizardPageKind::SystemIntegrity:
        return L"SystemIntegrity";
    case WizardPageKind::WebView2:
        return L"WebView2";
    case WizardPageKind::Unpack:
        return L"UnpackMSIFromEXE";
    // The service configuration page shares the sub-packages page's log name.
    case WizardPageKind::ServiceConfiguration:
        return L"IncludedSubPackages";
    case WizardPageKind::Install:
        return L"Install (hidden)";
    case WizardPageKind::NonMSIInstall:
        return L"NonMSIInstall";
    case WizardPageKind::Finish:
        return L"Finish";
    case WizardPageKind::Empty:
        break;
    }
    return {};
}
