#include "extraction/EmbeddedCabinet.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr size_t kCountBytes = 4;
}

std::optional<EmbeddedCabinet> EmbeddedCabinet::FromResource(const void* resource, size_t resourceSize) {
    if (!resource || resourceSize < kCountBytes)
        return std::nullopt;
    const auto* bytes = static_cast<const unsigned char*>(resource);
    const uint32_t count =
        uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 | uint32_t(bytes[3]) << 24;
    const size_t available = std::min<size_t>(resourceSize - kCountBytes, UINT32_MAX);
    return EmbeddedCabinet{bytes + kCountBytes, static_cast<uint32_t>(std::min<size_t>(count, available))};
}

uint32_t EmbeddedCabinetStream::Read(void* buffer, uint32_t count) {
    if (position_ >= cabinet_.size)
        return 0;
    const uint32_t n = std::min(count, cabinet_.size - position_);
    std::memcpy(buffer, cabinet_.bytes + position_, n);
    position_ += n;
    return n;
}

long EmbeddedCabinetStream::Seek(long distance, int origin) {
    int64_t base = 0;
    switch (origin) {
    case 0:
        base = 0;
        break;
    case 1:
        base = position_;
        break;
    case 2:
        base = cabinet_.size;
        break;
    default:
        return static_cast<long>(position_);
    }
    const int64_t target = base + distance;
    if (target < 0 || target > INT32_MAX)
        return -1;
    position_ = static_cast<uint32_t>(target);
    return static_cast<long>(target);
}

int EmbeddedCabinetStream::PercentRead() const {
    if (cabinet_.size == 0)
        return 100;
    return static_cast<int>(std::min<uint64_t>(uint64_t(position_) * 100 / cabinet_.size, 100));
}
