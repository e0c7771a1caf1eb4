#include "extraction/ExtractionProgressRule.h"

#include <algorithm>

int ExtractionProgressRule::PositionFor(uint64_t bytesRead) const {
    if (total_ == 0)
        return 0;
    // Integer arithmetic: a cabinet that ends exactly on a thirtieth lands on it, not just below it.
    const uint64_t done = doneBefore_ + bytesRead;
    if (done >= total_)
        return kRange;
    return static_cast<int>(done * kRange / total_);
}

std::optional<int> ExtractionProgressRule::NextPost(uint64_t bytesRead, uint32_t nowMs) {
    const int position = PositionFor(bytesRead);
    const bool final = position == kRange;
    if (position == lastPosition_ && !final)
        return std::nullopt;
    // Unsigned subtraction keeps the interval right across the tick counter's wrap.
    if (!final && posted_ && nowMs - lastPostMs_ <= kMinimumPostIntervalMs)
        return std::nullopt;
    lastPosition_ = position;
    lastPostMs_ = nowMs;
    posted_ = true;
    return position;
}
