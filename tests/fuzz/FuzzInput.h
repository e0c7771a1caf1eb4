// Helpers shared by the fuzz targets: turning the fuzzer's bytes into the texts the parsers receive,
// and stopping loudly when a property that must hold does not.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

// Each byte one character, as the configuration files and the workload are read.
inline std::wstring BytesAsText(std::string_view bytes) {
    std::wstring text(bytes.size(), L'\0');
    for (size_t i = 0; i < bytes.size(); ++i)
        text[i] = static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]));
    return text;
}

// Pairs of bytes as 16-bit characters (little-endian), so that any UTF-16 text, surrogates included, can
// reach the parser.
inline std::wstring BytesAsUtf16(std::string_view bytes) {
    std::wstring text(bytes.size() / 2, L'\0');
    for (size_t i = 0; i + 1 < bytes.size(); i += 2)
        text[i / 2] = static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]) |
                                           (static_cast<unsigned char>(bytes[i + 1]) << 8));
    return text;
}

// The text a text parser's fuzz target feeds it: a first byte 'U' reads the rest as UTF-16, any other
// first byte reads it byte by byte (so both the file readers' paths and surrogates are reached). size >= 1.
inline std::wstring FuzzText(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    return data[0] == 'U' ? BytesAsUtf16(bytes) : BytesAsText(bytes);
}

// The first line of the input (up to a line feed, at most 64 bytes) and the rest.
inline std::string_view TakeFirstLine(std::string_view& bytes) {
    const size_t end = std::min(bytes.find('\n'), std::min<size_t>(bytes.size(), 64));
    const std::string_view line = bytes.substr(0, end);
    bytes.remove_prefix(std::min(bytes.size(), end + 1));
    return line;
}

#define FUZZ_REQUIRE(condition)                                                                              \
    do {                                                                                                     \
        if (!(condition))                                                                                    \
            std::abort();                                                                                    \
    } while (0)
