#include "extraction/EmbeddedCabinet.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<unsigned char> Prefixed(uint32_t count, const std::vector<unsigned char>& cabinet) {
    std::vector<unsigned char> resource = {
        static_cast<unsigned char>(count), static_cast<unsigned char>(count >> 8),
        static_cast<unsigned char>(count >> 16), static_cast<unsigned char>(count >> 24)};
    resource.insert(resource.end(), cabinet.begin(), cabinet.end());
    return resource;
}

} // namespace

TEST(EmbeddedCabinet, ViewNeverReachesPastTheResource) {
    const std::vector<unsigned char> cabinet = {'M', 'S', 'C', 'F', 1, 2, 3, 4};
    struct Case {
        uint32_t count;
        size_t resourceBytes; // of the prefixed resource
        std::optional<uint32_t> size;
    };
    const Case cases[] = {
        {8, 12, 8u},       // exact
        {5, 12, 5u},       // a count below the resource size wins
        {0x10000, 12, 8u}, // a count past the end is cut to the resource
        {0, 4, 0u},        // an empty cabinet
        {8, 3, std::nullopt}, {8, 0, std::nullopt},
    };
    const auto resource = Prefixed(0, cabinet);
    for (const auto& c : cases) {
        auto bytes = Prefixed(c.count, cabinet);
        const auto view = EmbeddedCabinet::FromResource(bytes.data(), c.resourceBytes);
        ASSERT_EQ(c.size.has_value(), view.has_value()) << c.count;
        if (view) {
            EXPECT_EQ(*c.size, view->size);
            EXPECT_EQ(bytes.data() + 4, view->bytes); // in place, never a copy
        }
    }
    EXPECT_FALSE(EmbeddedCabinet::FromResource(nullptr, 12));
}

TEST(EmbeddedCabinet, StreamReadsAndSeeksWithinTheCabinet) {
    const std::vector<unsigned char> data = {10, 11, 12, 13, 14, 15, 16, 17, 18, 19};
    EmbeddedCabinetStream stream(EmbeddedCabinet{data.data(), 10});
    unsigned char buffer[16] = {};

    EXPECT_EQ(4u, stream.Read(buffer, 4));
    EXPECT_EQ(10, buffer[0]);
    EXPECT_EQ(40, stream.PercentRead());
    EXPECT_EQ(6u, stream.Read(buffer, 16)); // the rest, not the requested count
    EXPECT_EQ(19, buffer[5]);
    EXPECT_EQ(100, stream.PercentRead());
    EXPECT_EQ(0u, stream.Read(buffer, 16)); // at the end

    struct Seek {
        long distance;
        int origin;
        long result;
        uint32_t position;
    };
    const Seek seeks[] = {
        {3, 0, 3, 3},    {2, 1, 5, 5},    {-1, 2, 9, 9}, {-9, 1, 0, 0},
        {-1, 0, -1, 0},  {-11, 2, -1, 0}, {7, 5, 0, 0}, // an unknown origin leaves the position
        {20, 0, 20, 20},
    };
    for (const auto& s : seeks) {
        EXPECT_EQ(s.result, stream.Seek(s.distance, s.origin)) << s.distance << " " << s.origin;
        EXPECT_EQ(s.position, stream.Position());
    }
    EXPECT_EQ(0u, stream.Read(buffer, 1)); // past the end
    stream.Seek(9, 0);
    EXPECT_EQ(1u, stream.Read(buffer, 16));
    EXPECT_EQ(19, buffer[0]);
}
