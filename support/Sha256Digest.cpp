#include "support/Sha256Digest.h"

namespace {

int HexValue(wchar_t c) {
    if (c >= L'0' && c <= L'9')
        return c - L'0';
    if (c >= L'a' && c <= L'f')
        return c - L'a' + 10;
    return -1;
}

} // namespace

std::optional<Sha256Digest> ParseSha256Hex(std::wstring_view text) {
    Sha256Digest digest{};
    if (text.size() != digest.size() * 2)
        return std::nullopt;
    for (size_t i = 0; i < digest.size(); ++i) {
        const int high = HexValue(text[2 * i]);
        const int low = HexValue(text[2 * i + 1]);
        if (high < 0 || low < 0)
            return std::nullopt;
        digest[i] = static_cast<uint8_t>(high << 4 | low);
    }
    return digest;
}
