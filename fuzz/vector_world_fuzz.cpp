// The vector world reader on any bytes: a world or a refusal with a message,
// never a crash. Most inputs fail the checksum, so each is also read with a
// checksum made for it, which lets the body reader see every input; a world
// read is then cut to boxes across the seams, and everything it gives must
// lie in the box asked for.
#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "render/canvas/vector_world.h"

namespace {

void checkInside(const std::vector<tcmap::WorldPoint>& points, const tcmap::GeoBox& box) {
    for (const tcmap::WorldPoint& p : points) {
        if (!(p.lon >= box.west && p.lon <= box.east && p.lat >= box.south && p.lat <= box.north)) {
            std::abort();
        }
    }
}

void cut(const tcmap::VectorWorld& world) {
    using tcmap::GeoBox;
    for (const GeoBox box : {GeoBox{0, -90, 360, 90}, GeoBox{-20, -90, 20, 10},
                             GeoBox{170, 0, 190, 80}, GeoBox{-700, -90, 1000, 90}}) {
        for (const tcmap::LandShape& shape : world.landIn(box)) {
            for (const auto& ring : shape.rings) {
                if (ring.size() < 4) std::abort();
                checkInside(ring, box);
            }
        }
        for (const tcmap::BorderLine& line : world.bordersIn(box)) {
            if (line.size() < 2) std::abort();
            checkInside(line, box);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string error;
    if (auto world = tcmap::VectorWorld::parse(std::span(data, size), error)) {
        cut(*world);
    } else if (error.empty()) {
        std::abort();
    }
    std::vector<uint8_t> sealed(data, data + size);
    const uint32_t crc = static_cast<uint32_t>(crc32(0L, data, static_cast<uInt>(size)));
    for (int i = 0; i < 4; ++i) sealed.push_back(static_cast<uint8_t>(crc >> (8 * i)));
    error.clear();
    if (auto world = tcmap::VectorWorld::parse(sealed, error)) {
        cut(*world);
    } else if (error.empty()) {
        std::abort();
    }
    return 0;
}
