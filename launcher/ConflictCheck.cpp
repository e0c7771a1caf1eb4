#include "launcher/ConflictCheck.h"

#include "StringIds.h"
#include "support/Format.h"
#include "support/StringUtil.h"

#include <algorithm>

namespace {

constexpr int kCompanionServerKind = ProductCatalog::kCompanionServerFamily;
constexpr int kDesignerKind = ProductCatalog::kDesignerFamily;

// Codes and edition keys that name the product suite and the products that stand for it.
constexpr std::wstring_view kSuiteCode = ProductCatalog::kSuiteCode;
constexpr ProductCatalog::ProductId kSuiteMemberPrefix{ProductCatalog::kSuiteMemberCode};
constexpr std::wstring_view kSuiteMemberEdition = ProductCatalog::kSuiteMemberEdition;
constexpr std::wstring_view kSpreadsheetAddInCode = L"ZX";
constexpr std::wstring_view kIntegrationPrefix = L"IntegrationPackage";
constexpr std::wstring_view kAddOnPrefix = L"AddOn_";
constexpr std::wstring_view kRequiredEditionsSeparator = L"::";

// String-table texts: the translations decide their wording.

constexpr wchar_t kReplaceText[] = L"This setup will replace parts of your current installation.";
constexpr wchar_t kDowngradeText[] =
    L"Kestrum cannot be downgraded to any previous version. Your currently installed version is %s.";
constexpr wchar_t kSuiteMemberText[] = L"This product cannot be installed because you already have following "
                                       L"Quenlis Pallodar product on your system:\n%s.";
constexpr wchar_t kAlreadyHaveText[] =
    L"This product cannot be installed because you already have %s on your system.";
constexpr wchar_t kBaseMissingText[] =
    L"This Integration Package can only be installed after installation of %s %s %s %s.";

struct EditionName {
    std::wstring_view letter;
    std::wstring_view name;
};
constexpr EditionName kEditionNames[] = {
    {L"E", L"Enterprise"},
    {L"P", L"Professional"},
    {L"S", L"Basic"},
};

std::wstring_view CodeOf(const ProductRecord& record) {
    return record.Row() ? record.Row()->code : std::wstring_view();
}

std::wstring_view EditionKeyOf(const ProductRecord& record) {
    return record.Row() ? record.Row()->edition : std::wstring_view();
}

int KindOf(const ProductRecord& record) {
    return record.Row() ? record.Row()->familyIndex : -1;
}

bool SameEditionKey(const ProductRecord& a, const ProductRecord& b) {
    return EditionKeyOf(a) == EditionKeyOf(b);
}

// Whether two records name the same installation: product, edition, version, bitness and language.
bool SameInstallation(const ProductRecord& a, const ProductRecord& b) {
    return CodeOf(a) == CodeOf(b) && EditionKeyOf(a) == EditionKeyOf(b) && a.Version() == b.Version() &&
           a.Is64Bit() == b.Is64Bit() && a.Language() == b.Language();
}

enum class ProductClass { None, Integration, AddOn, SpreadsheetAddIn, Server, Desktop };

// The first class that applies, in this order.
ProductClass ClassOf(const ProductRecord& product) {
    if (!product.Row())
        return ProductClass::None;
    const std::wstring_view edition = EditionKeyOf(product);
    if (StartsWithNoCase(edition, kIntegrationPrefix))
        return ProductClass::Integration;
    if (StartsWithNoCase(edition, kAddOnPrefix))
        return ProductClass::AddOn;
    if (CodeOf(product) == kSpreadsheetAddInCode)
        return ProductClass::SpreadsheetAddIn;
    if (product.IsServerProduct())
        return ProductClass::Server;
    if (product.IsDesktopProduct())
        return ProductClass::Desktop;
    return ProductClass::None;
}

class ConflictCheck {
public:
    ConflictCheck(ConflictSource& source, std::vector<ConflictRecord>& records)
        : source_(source), records_(records) {}

    bool Run(const std::vector<ProductRecord>& products, std::wstring_view packageProductId);

private:
    void Add(std::wstring message, bool removable, std::optional<ProductRecord> installation) {
        if (!removable)
            blocking_ = true;
        records_.push_back({std::move(message), removable, std::move(installation)});
    }
    void AddReplace(const ProductRecord& installation) { Add(kReplaceText, true, installation); }
    // "<already have NAME> <editions must match>", the 32/64-bit edition conflict.
    std::wstring EditionMismatchText(unsigned alreadyHaveId, const std::wstring& displayName) {
        return Format(L"%s %s", Format(source_.String(alreadyHaveId), displayName),
                      source_.String(StringId::EditionsMustMatch));
    }
    ProductRecord SuiteRecord(std::wstring_view edition, const ProductRecord& like) {
        return ProductRecord(source_.FindRow(kSuiteCode, edition), like.Version(), like.Is64Bit(),
                             like.Language());
    }

    void CheckServer(const ProductRecord& product, const std::vector<ProductRecord>& installed);
    void CheckDesktop(const ProductRecord& product, const std::vector<ProductRecord>& installed);
    void CheckIntegration(const ProductRecord& product, const std::vector<ProductRecord>& installed);
    void CheckSuite(const std::vector<ProductRecord>& products, std::wstring_view packageProductId);

    ConflictSource& source_;
    std::vector<ConflictRecord>& records_;
    bool blocking_ = false;
};

bool ConflictCheck::Run(const std::vector<ProductRecord>& products, std::wstring_view packageProductId) {
    records_.clear();
    blocking_ = false;
    if (products.empty())
        return false;
    if (products.size() > 1) {
        CheckSuite(products, packageProductId);
        return blocking_;
    }

    const ProductRecord& product = products.front();
    switch (ClassOf(product)) {
    case ProductClass::None:
    case ProductClass::AddOn: // extends an installation and never stands in its way
        break;
    case ProductClass::Integration:
        CheckIntegration(product, source_.InstallationsOfFamily(product));
        break;
    case ProductClass::SpreadsheetAddIn:
        for (const auto& installation : source_.InstallationsOfFamily(product))
            AddReplace(installation);
        break;
    case ProductClass::Server:
        CheckServer(product, source_.InstallationsOfFamily(product));
        break;
    case ProductClass::Desktop:
        CheckDesktop(product, source_.InstallationsOfFamily(product));
        break;
    }
    return blocking_;
}

void ConflictCheck::CheckServer(const ProductRecord& product, const std::vector<ProductRecord>& installed) {
    for (const auto& installation : installed) {
        const bool companionDowngrade = KindOf(product) == kCompanionServerKind &&
                                        KindOf(installation) == kCompanionServerKind &&
                                        product.CompareVersion(installation) < 0;
        if (companionDowngrade)
            Add(Format(kDowngradeText, installation.DisplayName()), false, installation);
        else
            AddReplace(installation);
    }
}

void ConflictCheck::CheckDesktop(const ProductRecord& product, const std::vector<ProductRecord>& installed) {
    for (const auto& installation : installed) {
        if (!installation.SameMajor(product))
            continue; // other major versions live side by side
        if (installation.Is64Bit() == product.Is64Bit()) {
            if (installation.IsFromSuite())
                Add(Format(kSuiteMemberText, installation.DisplayName()), false, installation);
            else
                AddReplace(installation);
        } else if (SameEditionKey(installation, product)) {
            if (KindOf(product) != kDesignerKind)
                continue;
            const auto& a = installation.Version();
            const auto& b = product.Version();
            if (std::equal(a.begin(), a.begin() + 3, b.begin()))
                continue;
            Add(Format(L"%s %s", Format(kAlreadyHaveText, installation.DisplayName()), kReplaceText), true,
                installation);
        } else {
            const unsigned id =
                installation.IsFromSuite() ? StringId::AlreadyHaveFromSuite : StringId::AlreadyHave;
            Add(EditionMismatchText(id, installation.DisplayName()), false, installation);
        }
    }
}

void ConflictCheck::CheckIntegration(const ProductRecord& product,
                                     const std::vector<ProductRecord>& installed) {
    const std::wstring_view edition = EditionKeyOf(product);
    const size_t split = edition.find(kRequiredEditionsSeparator);
    const std::vector<std::wstring_view> required =
        split == std::wstring_view::npos
            ? std::vector<std::wstring_view>()
            : SplitKeepingEmpty(edition.substr(split + kRequiredEditionsSeparator.size()), L',');

    const std::wstring versionText = product.ShortVersionText();
    bool basePresent = false;
    for (const auto& base : source_.InstallationsOfBase(product)) {
        const bool requiredEdition =
            std::find(required.begin(), required.end(), EditionKeyOf(base)) != required.end();
        if (base.ShortVersionText() == versionText && base.Is64Bit() == product.Is64Bit() &&
            requiredEdition) {
            basePresent = true;
            break;
        }
    }

    if (basePresent) {
        for (const auto& installation : installed) {
            if (installation.SameMajor(product) && installation.Is64Bit() == product.Is64Bit())
                AddReplace(installation);
        }
        return;
    }

    std::wstring editions;
    for (size_t i = 0; i < required.size(); ++i) {
        if (i > 0)
            editions += i + 1 == required.size() ? L" or " : L", ";
        for (const auto& known : kEditionNames) {
            if (known.letter == required[i])
                editions += known.name;
        }
    }
    const ProductEdition* baseRow = source_.FindRowByKey(product.Row()->key);
    const std::wstring_view baseName = baseRow ? baseRow->fullName : std::wstring_view();
    Add(Format(kBaseMissingText, baseName, versionText, product.Is64Bit() ? L"64-bit" : L"32-bit", editions),
        false, std::nullopt);
}

void ConflictCheck::CheckSuite(const std::vector<ProductRecord>& products,
                               std::wstring_view packageProductId) {
    const ProductRecord& first = products.front();
    const size_t split = packageProductId.find(L"::");
    const ProductEdition* suiteRow =
        split == std::wstring_view::npos
            ? nullptr
            : source_.FindRow(packageProductId.substr(0, split), packageProductId.substr(split + 2));
    const ProductRecord suite(suiteRow, first.Version(), first.Is64Bit(), first.Language());
    const bool mainInstalled = source_.MainPackageInstalled();

    const auto isMember = [&](const ProductRecord& installation) {
        const std::wstring id = installation.IdentifierText();
        return !id.empty() && std::any_of(products.begin(), products.end(),
                                          [&](const ProductRecord& p) { return p.IdentifierText() == id; });
    };

    for (const auto& product : products) {
        for (const auto& installation : source_.InstallationsOfFamily(product)) {
            if (mainInstalled && installation.IsFromSuite() && isMember(installation) &&
                installation.CompareVersion(suite) == 0 && installation.Is64Bit() == suite.Is64Bit())
                continue; // a member of this very suite, installed by it
            if (!installation.SameMajor(product))
                continue;

            if (installation.Is64Bit() != product.Is64Bit()) {
                if (SameEditionKey(installation, product))
                    continue;
                if (installation.IsFromSuite()) {
                    // Another suite edition in the other bitness decides alone.
                    const ProductRecord other = SuiteRecord(EditionKeyOf(installation), installation);
                    records_.clear();
                    Add(EditionMismatchText(StringId::AlreadyHave, other.DisplayName()), false, std::nullopt);
                    return;
                }
                Add(EditionMismatchText(StringId::AlreadyHave, installation.DisplayName()), false,
                    installation);
            } else if (installation.IsFromSuite()) {
                const std::wstring_view edition =
                    installation.IdentifierText().starts_with(kSuiteMemberPrefix)
                        ? kSuiteMemberEdition
                        : EditionKeyOf(installation);
                const ProductRecord other = SuiteRecord(edition, installation);
                const bool named =
                    std::any_of(records_.begin(), records_.end(), [&](const ConflictRecord& r) {
                        return r.installation && SameInstallation(*r.installation, other);
                    });
                if (named)
                    continue;
                // The suite is removed as a whole, which replaces whatever was gathered for its members.
                // An earlier blocker stays blocking: its conflict is still on the system.
                records_.clear();
                Add(Format(source_.String(StringId::AlreadyHave), other.DisplayName()), true, other);
            } else {
                AddReplace(installation);
            }
        }
    }
}

} // namespace

bool CheckConflicts(const std::vector<ProductRecord>& products, std::wstring_view packageProductId,
                    ConflictSource& source, std::vector<ConflictRecord>& records) {
    return ConflictCheck(source, records).Run(products, packageProductId);
}
