#include "wizard/UnpackPageRules.h"

#include "StringIds.h"
#include "support/Format.h"

#include <cstdint>

namespace UnpackPage {

namespace {
constexpr wchar_t kTrademark = L'\u2122';

constexpr size_t kLongProductName = 50;
constexpr int kStatusTop = 96;
constexpr int kStatusBottom = 115;
constexpr int kStatusBottomForLongName = 134;
constexpr int kBarHeight = 14;
constexpr int kBarGapBelowGrownStatus = 5;

// Characters outside the basic plane take two units on Windows; natively a wide character holds them whole.
size_t Utf16Length(std::wstring_view text) {
    size_t length = 0;
    for (const wchar_t c : text)
        length += static_cast<uint32_t>(c) > 0xFFFF ? 2 : 1;
    return length;
}

} // namespace

unsigned DescriptionStringId(size_t packageCount) {
    return packageCount < 2 ? StringId::ExtractingDatabase : StringId::ExtractingDatabases;
}

std::wstring DescriptionText(std::wstring_view format, std::wstring_view wizardTitle) {
    std::wstring text = Format(format, wizardTitle);
    std::erase(text, kTrademark);
    return text;
}

Placement PlacementFor(std::wstring_view mainProductName) {
    const int statusBottom =
        Utf16Length(mainProductName) < kLongProductName ? kStatusBottom : kStatusBottomForLongName;
    return {kStatusTop, statusBottom, statusBottom + kBarHeight};
}

int BarShiftForStatusGrowth(int growth) {
    return growth > 0 ? growth + kBarGapBelowGrownStatus : 0;
}

} // namespace UnpackPage
