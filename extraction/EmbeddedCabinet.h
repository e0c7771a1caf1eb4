// Reading a cabinet in place from the launcher's resource memory. A package resource is a 32-bit
// little-endian byte count followed by the cabinet; the view never reaches past the resource, whatever
// the count claims. The memory belongs to the module (or the caller) and outlives every stream.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

struct EmbeddedCabinet {
    const unsigned char* bytes = nullptr; // the cabinet itself, after the byte count
    uint32_t size = 0;

    // The cabinet inside a package resource of resourceSize bytes; empty when the resource cannot even hold
    // the count. A count larger than the rest of the resource is cut to what the resource holds.
    static std::optional<EmbeddedCabinet> FromResource(const void* resource, size_t resourceSize);
};

// One read-only stream over an embedded cabinet, as the decompressor sees it.
class EmbeddedCabinetStream {
public:
    explicit EmbeddedCabinetStream(EmbeddedCabinet cabinet) : cabinet_(cabinet) {}

    // Copies up to count bytes from the position and advances it; 0 at or past the end.
    uint32_t Read(void* buffer, uint32_t count);
    // origin 0: from the start, 1: from the position, 2: from the end; any other origin leaves the position.
    // Returns the new position, or -1 (the position unchanged) when it would fall before the start.
    long Seek(long distance, int origin);

    uint32_t Position() const { return position_; }
    uint32_t Size() const { return cabinet_.size; }
    // Percentage of the cabinet read so far, 0..100.
    int PercentRead() const;

private:
    EmbeddedCabinet cabinet_;
    uint32_t position_ = 0;
};
