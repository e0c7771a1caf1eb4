// A SHA-256 digest as 32 bytes, and its text form: shared by the hashing, which needs Windows, and the
// records it is compared with, which do not.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

using Sha256Digest = std::array<uint8_t, 32>;

// The digest written as exactly 64 lowercase hex digits; nothing for any other text, so that a record
// written in another form reads as damaged instead of as some other digest.
std::optional<Sha256Digest> ParseSha256Hex(std::wstring_view text);
