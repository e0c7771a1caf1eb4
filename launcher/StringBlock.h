// Reading one string out of a string-table resource block: sixteen strings in a row, each a 16-bit length
// followed by that many UTF-16 units. The block comes from the executable, so a block that is cut short
// yields empty strings instead of reads past its end.
#pragma once

#include <cstdint>
#include <span>
#include <string>

constexpr unsigned kStringsPerBlock = 16;

// The resource number of the block that holds string `id`, and the string's place in it.
constexpr unsigned StringBlockNumber(unsigned id) {
    return id / kStringsPerBlock + 1;
}
constexpr unsigned StringBlockIndex(unsigned id) {
    return id % kStringsPerBlock;
}

// String `index` (0 to 15) of the block; empty when it is empty, the index is out of range or the block
// ends before the string does.
std::wstring StringFromBlock(std::span<const uint16_t> block, unsigned index);

// UTF-16 units as a wide string, whatever the width of wchar_t.
std::wstring WideFromUtf16(std::span<const uint16_t> units);
