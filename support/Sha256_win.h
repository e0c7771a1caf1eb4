// SHA-256 through the system's cryptography primitives (CNG), for checking the launcher's payload against
// the digests it records.
#pragma once

#include "support/Sha256Digest.h"

#include <optional>
#include <span>

// The digest of the bytes; nothing when the system cannot compute it.
std::optional<Sha256Digest> Sha256(std::span<const unsigned char> bytes);
