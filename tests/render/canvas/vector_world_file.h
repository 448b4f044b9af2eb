// Writes vector world files in tests, byte for byte as
// tools/world_map/extract_world_vector.js does, with hooks to damage them.
#pragma once

#include <zlib.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace tcmap::testing {

using LonLat = std::pair<double, double>;

class VectorWorldFile {
  public:
    uint32_t units = 10000;
    uint32_t polygons = 0;
    uint32_t lines = 0;
    uint32_t points = 0;
    std::string magic = "TCMAPVW1";
    std::vector<uint8_t> body;

    void varint(uint64_t value) {
        while (value >= 0x80) {
            body.push_back(static_cast<uint8_t>((value & 0x7F) | 0x80));
            value >>= 7;
        }
        body.push_back(static_cast<uint8_t>(value));
    }
    void signedVarint(int64_t value) {
        varint(value >= 0 ? uint64_t(value) * 2 : uint64_t(-value) * 2 - 1);
    }
    // Degrees as the file stores them: a count, the first point, the steps.
    void run(const std::vector<LonLat>& run) {
        varint(run.size());
        int64_t x = 0, y = 0;
        for (const auto& [lon, lat] : run) {
            const int64_t nx = std::llround(lon * units), ny = std::llround(lat * units);
            signedVarint(nx - x);
            signedVarint(ny - y);
            x = nx;
            y = ny;
        }
        points += static_cast<uint32_t>(run.size());
    }
    void polygon(const std::vector<std::vector<LonLat>>& rings) {
        varint(rings.size());
        for (const auto& ring : rings) run(ring);
        ++polygons;
    }
    void line(const std::vector<LonLat>& points) {
        run(points);
        ++lines;
    }

    // Header, body and checksum; `checksum` false leaves the checksum 0.
    std::vector<uint8_t> bytes(bool checksum = true) const {
        std::vector<uint8_t> out(magic.begin(), magic.end());
        for (uint32_t value : {units, polygons, lines, points}) put(out, value);
        out.insert(out.end(), body.begin(), body.end());
        put(out, checksum ? crcOf(out) : 0);
        return out;
    }

    // A new checksum over all but the last four bytes.
    static void reseal(std::vector<uint8_t>& file) {
        if (file.size() < 4) return;
        file.resize(file.size() - 4);
        put(file, crcOf(file));
    }

  private:
    static uint32_t crcOf(const std::vector<uint8_t>& bytes) {
        return static_cast<uint32_t>(crc32(0L, bytes.data(), static_cast<uInt>(bytes.size())));
    }
    static void put(std::vector<uint8_t>& out, uint32_t value) {
        for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
    }
};

}  // namespace tcmap::testing
