#include "support/DownloadRules.h"

#include <algorithm>

namespace DownloadRules {

namespace {
constexpr double kBytesPerKiB = 1024.0;
}

std::wstring NumberedName(const std::wstring& target, int number) {
    const size_t separator = target.find_last_of(L"\\/");
    const size_t nameStart = separator == std::wstring::npos ? 0 : separator + 1;
    const size_t dot = target.rfind(L'.');
    const std::wstring suffix = L"(" + std::to_wstring(number) + L")";
    if (dot == std::wstring::npos || dot < nameStart)
        return target + suffix;
    return target.substr(0, dot) + suffix + target.substr(dot);
}

int SpeedKiBPerSecond(int64_t received, int64_t elapsedSeconds) {
    if (elapsedSeconds <= 0 || received <= 0)
        return 0;
    const double speed = static_cast<double>(received) / (static_cast<double>(elapsedSeconds) * kBytesPerKiB);
    return static_cast<int>(std::min(speed, 2147483647.0));
}

std::optional<int> Percent(int64_t received, int64_t total) {
    if (total <= 0)
        return std::nullopt;
    // Wide, so that a transfer of many gigabytes cannot overflow on the way to a percentage.
    return static_cast<int>(static_cast<long double>(std::clamp<int64_t>(received, 0, total)) * 100 / total);
}

} // namespace DownloadRules
