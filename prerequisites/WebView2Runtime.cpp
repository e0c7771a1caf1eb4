#include "prerequisites/WebView2Runtime.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace WebView2 {

namespace {

constexpr std::wstring_view kUninstalledVersion = L"0.0.0.0";

std::optional<std::vector<uint32_t>> ParseVersion(std::wstring_view text) {
    const size_t channel = text.find(L' ');
    if (channel != std::wstring_view::npos)
        text = text.substr(0, channel);
    std::vector<uint32_t> parts;
    uint64_t part = 0;
    bool digitSeen = false;
    for (const wchar_t c : text) {
        if (c == L'.') {
            if (!digitSeen)
                return std::nullopt;
            parts.push_back(static_cast<uint32_t>(part));
            part = 0;
            digitSeen = false;
        } else if (c >= L'0' && c <= L'9') {
            part = part * 10 + static_cast<uint64_t>(c - L'0');
            if (part > UINT32_MAX)
                return std::nullopt;
            digitSeen = true;
        } else {
            return std::nullopt;
        }
    }
    if (!digitSeen)
        return std::nullopt;
    parts.push_back(static_cast<uint32_t>(part));
    return parts;
}

} // namespace

std::optional<int> CompareVersionText(std::wstring_view a, std::wstring_view b) {
    const auto left = ParseVersion(a);
    const auto right = ParseVersion(b);
    if (!left || !right)
        return std::nullopt;
    const size_t count = std::max(left->size(), right->size());
    for (size_t i = 0; i < count; ++i) {
        const uint32_t l = i < left->size() ? (*left)[i] : 0;
        const uint32_t r = i < right->size() ? (*right)[i] : 0;
        if (l != r)
            return l < r ? -1 : 1;
    }
    return 0;
}

bool CountsAsInstalled(const std::optional<std::wstring>& versionValue) {
    return versionValue && !versionValue->empty() && *versionValue != kUninstalledVersion;
}

std::optional<std::wstring>
InstalledRuntimeVersion(const std::function<std::optional<std::wstring>(const RuntimeKey&)>& readVersion) {
    for (const RuntimeKey& key : kRuntimeKeys) {
        std::optional<std::wstring> version = readVersion(key);
        if (CountsAsInstalled(version))
            return version;
    }
    return std::nullopt;
}

} // namespace WebView2
