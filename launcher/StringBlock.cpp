#include "launcher/StringBlock.h"

std::wstring StringFromBlock(std::span<const uint16_t> block, unsigned index) {
    if (index >= kStringsPerBlock)
        return {};
    size_t position = 0;
    for (unsigned i = 0;; ++i) {
        if (position >= block.size())
            return {};
        const size_t length = block[position++];
        if (length > block.size() - position)
            return {};
        if (i == index)
            return WideFromUtf16(block.subspan(position, length));
        position += length;
    }
}

std::wstring WideFromUtf16(std::span<const uint16_t> units) {
    std::wstring text;
    text.reserve(units.size());
    if constexpr (sizeof(wchar_t) == sizeof(uint16_t)) {
        for (uint16_t unit : units)
            text.push_back(static_cast<wchar_t>(unit));
        return text;
    }
    for (size_t i = 0; i < units.size(); ++i) {
        const uint32_t unit = units[i];
        const bool pair = unit >= 0xD800 && unit < 0xDC00 && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
                          units[i + 1] < 0xE000;
        if (pair) {
            text.push_back(static_cast<wchar_t>(0x10000 + ((unit - 0xD800) << 10) + (units[i + 1] - 0xDC00)));
            ++i;
        } else {
            text.push_back(static_cast<wchar_t>(unit));
        }
    }
    return text;
}
