#include "launcher/PackageInfo.h"

#include "support/StringUtil.h"

namespace {

constexpr ProductCatalog::ProductId kCompanionOfflineId{ProductCatalog::kCompanionServerCode,
                                                        ProductCatalog::kCompanionOfflineEdition};

} // namespace

PackageInfo::PackageInfo(PackageDescription description) : d_(std::move(description)) {
    BuildProductRecords(d_.productId, d_.version, d_.is64Bit, products_, kMaxProducts);
}

bool PackageInfo::IsMsi() const {
    return EqualsNoCase(d_.installerType, L"msi");
}

bool PackageInfo::IsCompanionServerPackage() const {
    return products_.size() == 1 &&
           products_.front().IdentifierText().starts_with(ProductCatalog::kCompanionServerCode);
}

bool PackageInfo::IsCompanionOfflinePackage() const {
    return products_.size() == 1 && products_.front().IdentifierText() == kCompanionOfflineId.View();
}
