#include "launcher/ProductRecord.h"

#include "support/Format.h"
#include "support/StringUtil.h"

#include <algorithm>
#include <climits>

namespace {

// Closed-network editions of the companion server up to 3.12 were ordinary releases.
constexpr int32_t kLastOldClosedNetworkMajor = 3;
constexpr int32_t kLastOldClosedNetworkMinor = 12;
constexpr int kFirstServerFamily = 14;
constexpr int kLastServerFamily = 20;

} // namespace

ProductRecord::ProductRecord(std::wstring_view identifier, std::wstring_view version, bool is64Bit,
                             std::wstring language, bool fromSuite)
    : ProductRecord(nullptr, ParseVersion(version), is64Bit, std::move(language), fromSuite) {
    const size_t split = identifier.find(L"::");
    if (split == std::wstring_view::npos)
        return;
    const std::wstring_view code = identifier.substr(0, split);
    std::wstring_view edition = identifier.substr(split + 2);
    if (code == L"KS" && edition == L"N" && IsOldClosedNetworkVersion())
        edition = L"Z";
    row_ = ProductCatalog::Find(code, edition);
}

ProductRecord::ProductRecord(const ProductEdition* row, const std::array<int32_t, 4>& version, bool is64Bit,
                             std::wstring language, bool fromSuite)
    : row_(row), version_(version), language_(std::move(language)), is64Bit_(is64Bit), fromSuite_(fromSuite) {
}

std::array<int32_t, 4> ProductRecord::ParseVersion(std::wstring_view version) {
    std::array<int32_t, 4> numbers = {-1, 0, 0, 0};
    const auto pieces = SplitKeepingEmpty(version, L'.');
    if (!pieces.empty())
        numbers[0] = LeadingDecimal(pieces[0]);
    if (pieces.size() > 1)
        numbers[1] = LeadingDecimal(pieces[1]);
    if (pieces.size() > 2) // a third piece of three or more characters counts by its first two
        numbers[2] = LeadingDecimal(pieces[2].size() < 3 ? pieces[2] : pieces[2].substr(0, 2));
    if (pieces.size() > 3)
        numbers[3] = LeadingDecimal(pieces[3]);
    return numbers;
}

bool ProductRecord::IsOldClosedNetworkVersion() const {
    return Major() < kLastOldClosedNetworkMajor ||
           (Major() == kLastOldClosedNetworkMajor && Minor() <= kLastOldClosedNetworkMinor);
}

std::wstring ProductRecord::IdentifierText() const {
    if (!row_)
        return {};
    return std::wstring(row_->code) + L"::" + std::wstring(row_->edition);
}

std::wstring ProductRecord::InstallerIdentifierText() const {
    if (row_ && row_->code == L"KS" && row_->edition == L"Z" && IsOldClosedNetworkVersion())
        return L"KS::N";
    return IdentifierText();
}

std::wstring ProductRecord::ShortVersionText() const {
    std::wstring text;
    if (UsesDottedVersion())
        text = Format(L"%d.%d", version_[0], version_[1]);
    else
        text =
            version_[1] != 0 ? Format(L"%d rel. %d", version_[0], version_[1]) : Format(L"%d", version_[0]);
    if (version_[2] != 0)
        text += Format(L" sp%d", version_[2]);
    return text;
}

std::wstring ProductRecord::FullVersionText() const {
    if (!UsesDottedVersion())
        return ShortVersionText();
    if (version_[3] != 0)
        return Format(L"%d.%d.%d.%d", version_[0], version_[1], version_[2], version_[3]);
    if (version_[2] != 0)
        return Format(L"%d.%d.%d", version_[0], version_[1], version_[2]);
    return Format(L"%d.%d", version_[0], version_[1]);
}

std::wstring ProductRecord::InstallerVersionText() const {
    if (UsesDottedVersion())
        return FullVersionText();
    if (version_[3] != 0)
        return Format(L"%d.%0.2d.%0.2d.%0.2d", version_[0], version_[1], version_[2], version_[3]);
    return Format(L"%d.%0.2d.%0.2d", version_[0], version_[1], version_[2]);
}

std::wstring ProductRecord::DisplayName() const {
    if (!row_ || row_->fullName.empty())
        return {};
    std::wstring name = std::wstring(row_->fullName) + L" " + ShortVersionText();
    if (!row_->editionName.empty())
        name += L" " + std::wstring(row_->editionName);
    if (is64Bit_)
        name += L" (x64)";
    return name;
}

int ProductRecord::CompareVersion(const ProductRecord& other) const {
    if (!HasVersion() || !other.HasVersion())
        return -1;
    for (size_t i = 0; i < version_.size(); ++i) {
        if (version_[i] != other.version_[i])
            return version_[i] < other.version_[i] ? -1 : 1;
    }
    return 0;
}

bool ProductRecord::SameFamilyKey(const ProductRecord& other) const {
    return row_ && other.row_ && row_->key == other.row_->key;
}

bool ProductRecord::SameMajor(const ProductRecord& other) const {
    return HasVersion() && other.HasVersion() && Major() == other.Major();
}

bool ProductRecord::IsIntegrationOrAddOn() const {
    return StartsWithNoCase(row_->edition, L"IntegrationPackage") ||
           StartsWithNoCase(row_->edition, L"AddOn_") || EqualsNoCase(row_->code, L"ZX");
}

bool ProductRecord::IsServerProduct() const {
    return row_ && row_->familyIndex >= kFirstServerFamily && row_->familyIndex <= kLastServerFamily &&
           !IsIntegrationOrAddOn();
}

bool ProductRecord::IsDesktopProduct() const {
    if (!row_)
        return false;
    const int family = row_->familyIndex;
    const bool desktopFamily = (family >= 0 && family <= 5) || family == 7 || family == 9;
    return desktopFamily && !IsIntegrationOrAddOn();
}

bool ProductRecord::UsesDottedVersion() const {
    return row_ && (EqualsNoCase(row_->code, L"KS") || EqualsNoCase(row_->code, L"JN") ||
                    EqualsNoCase(row_->code, L"HV"));
}

bool BuildProductRecords(std::wstring_view identifier, std::wstring_view version, bool is64Bit,
                         std::vector<ProductRecord>& records, size_t room) {
    records.clear();
    // Only the desktop suite expands into several records, and its rows are not carried here.
    if (room < 1)
        return false;
    records.emplace_back(identifier, version, is64Bit);
    for (const auto& record : records) {
        if (!record.Family())
            return false;
    }
    return true;
}
