#include "support/Sha256_win.h"

#include "support/Handle_win.h"

#include <algorithm>
#include <vector>

namespace {

// BCryptHashData counts its input in a ULONG: a larger span goes in several pieces.
constexpr size_t kMaxPiece = 0x40000000;

} // namespace

std::optional<Sha256Digest> Sha256(std::span<const unsigned char> bytes) {
    BCryptAlgorithm algorithm;
    if (!BCRYPT_SUCCESS(
            BCryptOpenAlgorithmProvider(algorithm.Receive(), BCRYPT_SHA256_ALGORITHM, nullptr, 0)))
        return std::nullopt;
    // Windows 7 wants the caller to provide the hash object's memory; later versions merely allow it.
    ULONG objectSize = 0, received = 0;
    if (!BCRYPT_SUCCESS(BCryptGetProperty(algorithm.Get(), BCRYPT_OBJECT_LENGTH,
                                          reinterpret_cast<PUCHAR>(&objectSize), sizeof objectSize, &received,
                                          0)))
        return std::nullopt;
    std::vector<UCHAR> object(objectSize);
    BCryptHash hash; // declared after its memory, so it is destroyed first
    if (!BCRYPT_SUCCESS(
            BCryptCreateHash(algorithm.Get(), hash.Receive(), object.data(), objectSize, nullptr, 0, 0)))
        return std::nullopt;
    for (size_t offset = 0; offset < bytes.size(); offset += kMaxPiece) {
        const size_t piece = std::min(kMaxPiece, bytes.size() - offset);
        // The input is only read; the signature predates const.
        if (!BCRYPT_SUCCESS(BCryptHashData(hash.Get(), const_cast<PUCHAR>(bytes.data() + offset),
                                           static_cast<ULONG>(piece), 0)))
            return std::nullopt;
    }
    Sha256Digest digest{};
    if (!BCRYPT_SUCCESS(BCryptFinishHash(hash.Get(), digest.data(), static_cast<ULONG>(digest.size()), 0)))
        return std::nullopt;
    return digest;
}
