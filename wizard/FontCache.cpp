#include "wizard/FontCache.h"

#include <cstdint>

namespace {
constexpr int kPointsPerInch = 72;
} // namespace

int FontHeightForPoints(int points, int pixelsPerInch) {
    // Multiply first and round half away from zero, as the system's own scaling does.
    const int64_t product = static_cast<int64_t>(points) * pixelsPerInch;
    const int64_t half = kPointsPerInch / 2;
    const int64_t rounded =
        product >= 0 ? (product + half) / kPointsPerInch : (product - half) / kPointsPerInch;
    return static_cast<int>(-rounded);
}
