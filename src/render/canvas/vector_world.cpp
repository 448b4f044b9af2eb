// Reading the vector world file. Layout (integers little-endian; README.md in
// tools/world_map/ has the full description):
//
//   "TCMAPVW1"                       magic, format version 1
//   u32 units per degree             coordinates are integers of 1/units degree
//   u32 polygons, u32 lines, u32 points (all rings and lines together)
//   polygons: varint ring count, then each ring (outer first, then holes)
//   lines:    each border line
//   u32 CRC-32 of every byte before it
//
// A ring or line is a varint point count, the first point's longitude and
// latitude, then the step to each next point, all zigzag varints. Longitudes
// are -180..180 as in the source; rings that cross the 180° meridian jump by
// 360° there, and Antarctica's ring runs once round the globe unclosed. The
// reader unwraps the rings and aligns holes with their outer ring as
// tools/render_world_map.cpp does for the map picture, so the paths cover the
// same land; Antarctica's coast is closed along the pole when it is cut out
// (vector_world_cut.cpp).
#include "render/canvas/vector_world.h"

#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "base/file_io.h"

namespace tcmap {

namespace {

constexpr char kMagic[] = "TCMAPVW1";
constexpr size_t kMagicSize = 8;
constexpr size_t kHeaderSize = kMagicSize + 4 * 4;
constexpr size_t kChecksumSize = 4;
// A varint point takes two bytes at least, so counts beyond the bytes left
// are refused before anything is reserved.
constexpr size_t kMinPointBytes = 2;
constexpr uint32_t kMaxUnitsPerDegree = 10'000'000;
// One turn round the globe (Antarctica's coast) is the widest a ring or line
// may be; a wider one would lay copies of itself over each other.
constexpr double kMaxSpan = 360.0 + 1e-9;

using Ring = std::vector<WorldPoint>;

// Continuous longitudes (no step over 180°), shifted so the ring starts in
// [0, 360).
void unwrap(Ring& ring) {
    for (size_t i = 1; i < ring.size(); ++i) {
        const double step = ring[i].lon - ring[i - 1].lon;
        ring[i].lon -= 360.0 * std::round(step / 360.0);
    }
    const double shift = 360.0 * std::floor(ring.front().lon / 360.0);
    for (WorldPoint& p : ring) p.lon -= shift;
}

// A ring that goes once round the globe (Antarctica's) ends 360° east or west
// of its start. Such a ring is kept open, as a coast, and closed along the
// nearer pole when drawn: +90 or -90, or 0 for an ordinary ring.
double poleOf(const Ring& ring) {
    if (std::fabs(ring.back().lon - ring.front().lon) < 180.0) return 0;
    double latSum = 0;
    for (const WorldPoint& p : ring) latSum += p.lat;
    return latSum < 0 ? -90.0 : 90.0;
}

void close(Ring& ring) {
    if (ring.front().lon != ring.back().lon || ring.front().lat != ring.back().lat) {
        ring.push_back(ring.front());
    }
}

double middleLon(std::span<const WorldPoint> ring) {
    const auto [low, high] =
        std::minmax_element(ring.begin(), ring.end(),
                            [](const WorldPoint& a, const WorldPoint& b) { return a.lon < b.lon; });
    return (low->lon + high->lon) / 2;
}

uint32_t readU32(const uint8_t* p) {
    return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

}  // namespace

void VectorWorld::Bounds::add(const WorldPoint& p) {
    west = std::min(west, p.lon);
    east = std::max(east, p.lon);
    south = std::min(south, p.lat);
    north = std::max(north, p.lat);
}

// One pass over the file's body; every failure names the byte it stopped at.
class VectorWorldReader {
  public:
    VectorWorldReader(std::span<const uint8_t> body, size_t bodyOffset, std::string& error)
        : body_(body), offset_(bodyOffset), error_(error) {}

    bool read(uint32_t units, uint32_t polygonCount, uint32_t lineCount, uint32_t pointCount,
              VectorWorld& world) {
        units_ = units;
        pointsLeft_ = pointCount;
        world.points_.reserve(pointCount);
        world.polygons_.reserve(polygonCount);
        world.lines_.reserve(lineCount);
        for (uint32_t i = 0; i < polygonCount; ++i) {
            if (!readPolygon(world, i)) return false;
        }
        for (uint32_t i = 0; i < lineCount; ++i) {
            if (!readLine(world, i)) return false;
        }
        if (pos_ != body_.size()) {
            return fail(std::to_string(body_.size() - pos_) +
                        " bytes left over after the last border line");
        }
        if (pointsLeft_ != 0) {
            return fail("the header counts " + std::to_string(pointCount) + " points, the file " +
                        std::to_string(pointCount - pointsLeft_));
        }
        return true;
    }

  private:
    bool fail(const std::string& what) {
        error_ = "byte " + std::to_string(offset_ + pos_) + ": " + what;
        return false;
    }

    bool varint(uint32_t& value, const char* what) {
        uint64_t result = 0;
        for (int shift = 0; shift < 35; shift += 7) {
            if (pos_ >= body_.size()) return fail(std::string("file ends inside ") + what);
            const uint8_t byte = body_[pos_++];
            result |= uint64_t{byte & 0x7Fu} << shift;
            if ((byte & 0x80) == 0) {
                if (result > UINT32_MAX) break;
                value = static_cast<uint32_t>(result);
                return true;
            }
        }
        return fail(std::string("damaged number in ") + what);
    }

    bool step(int64_t& value, const char* what) {
        uint32_t zigzag = 0;
        if (!varint(zigzag, what)) return false;
        value += (zigzag & 1) ? -(int64_t{zigzag} >> 1) - 1 : int64_t{zigzag} >> 1;
        return true;
    }

    // A count of at least `minimum` that the bytes left can hold.
    bool count(uint32_t& value, uint32_t minimum, size_t bytesEach, const char* what) {
        if (!varint(value, what)) return false;
        if (value < minimum) {
            return fail(std::string(what) + " " + std::to_string(value) + " is below " +
                        std::to_string(minimum));
        }
        if (value > (body_.size() - pos_) / bytesEach) {
            return fail(std::string(what) + " " + std::to_string(value) +
                        " is more than the file holds");
        }
        return true;
    }

    // The points of one ring or line, appended to the world's points.
    bool readPoints(uint32_t minimum, Ring& out) {
        uint32_t n = 0;
        if (!count(n, minimum, kMinPointBytes, "point count")) return false;
        if (n > pointsLeft_) return fail("more points than the header counts");
        pointsLeft_ -= n;
        out.clear();
        out.reserve(n + 3);
        int64_t x = 0, y = 0;
        const int64_t maxX = int64_t{180} * units_, maxY = int64_t{90} * units_;
        // Steps add up in 64 bits; a point off the globe stops the run before
        // the sum can run away.
        for (uint32_t i = 0; i < n; ++i) {
            if (!step(x, "a longitude") || !step(y, "a latitude")) return false;
            if (x < -maxX || x > maxX || y < -maxY || y > maxY) {
                return fail("point " + std::to_string(i) + " lies off the globe");
            }
            out.push_back({static_cast<double>(x) / units_, static_cast<double>(y) / units_});
        }
        return true;
    }

    bool store(VectorWorld& world, Ring& ring, std::vector<VectorWorld::Run>& runs,
               double pole = 0) {
        VectorWorld::Run run;
        run.first = static_cast<uint32_t>(world.points_.size());
        run.count = static_cast<uint32_t>(ring.size());
        run.bounds = {ring.front().lon, ring.front().lat, ring.front().lon, ring.front().lat};
        for (const WorldPoint& p : ring) run.bounds.add(p);
        if (pole != 0) run.bounds.add({ring.front().lon, pole});
        if (run.bounds.east - run.bounds.west > kMaxSpan) {
            return fail("a ring or line winds round the globe more than once");
        }
        world.points_.insert(world.points_.end(), ring.begin(), ring.end());
        runs.push_back(run);
        return true;
    }

    bool readPolygon(VectorWorld& world, uint32_t index) {
        uint32_t ringCount = 0;
        if (!count(ringCount, 1, 1 + kMinPointBytes * 3, "ring count")) return false;
        VectorWorld::Polygon polygon;
        polygon.firstRing = static_cast<uint32_t>(world.rings_.size());
        polygon.ringCount = ringCount;
        double outerMiddle = 0;
        for (uint32_t r = 0; r < ringCount; ++r) {
            if (!readPoints(3, ring_)) {
                error_ += " (ring " + std::to_string(r) + " of land polygon " +
                          std::to_string(index) + ")";
                return false;
            }
            unwrap(ring_);
            double pole = 0;
            if (r == 0) {
                pole = poleOf(ring_);
                if (pole == 0) close(ring_);
                outerMiddle = middleLon(ring_);
                polygon.pole = pole;
            } else {
                // Moved by whole turns to lie over its outer ring.
                close(ring_);
                const double shift = 360.0 * std::round((outerMiddle - middleLon(ring_)) / 360.0);
                for (WorldPoint& p : ring_) p.lon += shift;
            }
            if (pole == 0 && ring_.size() < 4) {
                return fail("ring " + std::to_string(r) + " of land polygon " +
                            std::to_string(index) + " has fewer than three corners");
            }
            if (!store(world, ring_, world.rings_, pole)) return false;
            const VectorWorld::Bounds& b = world.rings_.back().bounds;
            if (r == 0) {
                polygon.bounds = b;
            } else {
                polygon.bounds.add({b.west, b.south});
                polygon.bounds.add({b.east, b.north});
            }
        }
        world.polygons_.push_back(polygon);
        return true;
    }

    bool readLine(VectorWorld& world, uint32_t index) {
        if (!readPoints(2, ring_)) {
            error_ += " (border line " + std::to_string(index) + ")";
            return false;
        }
        unwrap(ring_);
        return store(world, ring_, world.lines_);
    }

    std::span<const uint8_t> body_;
    size_t offset_;
    std::string& error_;
    size_t pos_ = 0;
    uint32_t units_ = 1;
    uint32_t pointsLeft_ = 0;
    Ring ring_;
};

std::optional<VectorWorld> VectorWorld::parse(std::span<const uint8_t> bytes, std::string& error) {
    if (bytes.size() < kHeaderSize + kChecksumSize) {
        error = "too short for a vector world file (" + std::to_string(bytes.size()) + " bytes)";
        return std::nullopt;
    }
    if (std::memcmp(bytes.data(), kMagic, kMagicSize - 1) != 0) {
        error = "not a vector world file";
        return std::nullopt;
    }
    if (bytes[kMagicSize - 1] != static_cast<uint8_t>(kMagic[kMagicSize - 1])) {
        error = "vector world format " + std::string(1, static_cast<char>(bytes[kMagicSize - 1])) +
                " is not the format 1 this program reads";
        return std::nullopt;
    }
    const size_t bodyEnd = bytes.size() - kChecksumSize;
    const uint32_t stored = readU32(bytes.data() + bodyEnd);
    // zlib takes at most 4 GiB a call; the file limit keeps well below that.
    const uLong computed = crc32(0L, bytes.data(), static_cast<uInt>(bodyEnd));
    if (computed != stored) {
        error = "damaged: its checksum does not match its content";
        return std::nullopt;
    }
    const uint32_t units = readU32(bytes.data() + kMagicSize);
    const uint32_t polygonCount = readU32(bytes.data() + kMagicSize + 4);
    const uint32_t lineCount = readU32(bytes.data() + kMagicSize + 8);
    const uint32_t pointCount = readU32(bytes.data() + kMagicSize + 12);
    const size_t bodySize = bodyEnd - kHeaderSize;
    if (units == 0 || units > kMaxUnitsPerDegree) {
        error = "byte 8: " + std::to_string(units) + " units a degree is out of range";
        return std::nullopt;
    }
    if (polygonCount > bodySize || lineCount > bodySize || pointCount > bodySize / kMinPointBytes) {
        error = "byte 12: the header counts more polygons, lines or points than the file holds";
        return std::nullopt;
    }
    VectorWorld world;
    VectorWorldReader reader(bytes.subspan(kHeaderSize, bodySize), kHeaderSize, error);
    if (!reader.read(units, polygonCount, lineCount, pointCount, world)) return std::nullopt;
    return world;
}

std::optional<VectorWorld> VectorWorld::load(const std::string& path, std::string& error) {
    const int64_t size = fileSize(path);
    if (size < 0) {
        error = path + ": cannot be read";
        return std::nullopt;
    }
    if (size > kVectorWorldFileLimit) {
        error = path + ": too large for a vector world file (" + std::to_string(size) + " bytes)";
        return std::nullopt;
    }
    const std::optional<std::string> bytes = readFileBytes(path);
    if (!bytes) {
        error = path + ": cannot be read";
        return std::nullopt;
    }
    std::optional<VectorWorld> world =
        parse(std::span(reinterpret_cast<const uint8_t*>(bytes->data()), bytes->size()), error);
    if (!world) error = path + ": " + error;
    return world;
}

}  // namespace tcmap
