#include "launcher/PackedProductCode.h"

#include <algorithm>
#include <cwctype>
#include <utility>

namespace {
constexpr size_t kBracedCodeLength = 38;
} // namespace

std::wstring PackedProductCode(std::wstring_view code) {
    if (code.size() != kBracedCodeLength || code.front() != L'{' || code.back() != L'}')
        return {};
    for (size_t i : {9u, 14u, 19u, 24u}) {
        if (code[i] != L'-')
            return {};
    }
    const std::wstring_view inner = code.substr(1, kBracedCodeLength - 2);
    for (size_t i = 0; i < inner.size(); ++i) {
        if (i != 8 && i != 13 && i != 18 && i != 23 && !std::iswxdigit(inner[i]))
            return {};
    }
    std::wstring packed;
    // The first three groups are reversed as a whole.
    for (auto [start, length] : {std::pair<size_t, size_t>{0, 8}, {9, 4}, {14, 4}}) {
        std::wstring group(inner.substr(start, length));
        std::reverse(group.begin(), group.end());
        packed += group;
    }
    // The last two groups are read byte by byte, each byte's two characters swapped.
    for (auto [start, length] : {std::pair<size_t, size_t>{19, 4}, {24, 12}}) {
        for (size_t i = start; i < start + length; i += 2) {
            packed += inner[i + 1];
            packed += inner[i];
        }
    }
    return packed;
}
