#include "launcher/NonMSIRegistration.h"

#include "launcher/PackedProductCode.h"
#include "support/StringUtil.h"

namespace NonMSIRegistration {

std::wstring KeyPath(std::wstring_view productCode) {
    const std::wstring packed = PackedProductCode(productCode);
    return packed.empty() ? std::wstring() : std::wstring(kUninstallKey) + L"\\" + packed;
}

bool FromAnotherPackage(std::wstring_view registeredPackageCode, std::wstring_view packageCode) {
    return !registeredPackageCode.empty() && !EqualsNoCase(registeredPackageCode, packageCode);
}

} // namespace NonMSIRegistration
