// The world's land and country borders as paths, for maps drawn as vectors:
// read from the file tools/world_map/ writes (data/maps/world_vector.bin,
// Natural Earth 1:10m, the same source as the bundled map picture) and cut to
// the part of the map a frame shows.
//
// A WorldPoint is longitude first: a type apart from the layers' GeoPoint
// (latitude first), since the drawing job uses both.
// Degrees throughout: longitudes run east from the map's left edge (0°), 180°
// in its middle, and go below 0 or past 360 for the copies of the world beside
// the map that a frame across the 0° seam shows; latitudes are north positive.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "render/canvas/canvas.h"

namespace tcmap {

struct WorldPoint {
    double lon = 0;
    double lat = 0;
};

// West < east and south < north, in the degrees above.
struct GeoBox {
    double west = 0;
    double south = 0;
    double east = 0;
    double north = 0;
};

// One piece of land to fill: its outer ring, then its holes, each closed
// (last point = first), filled together with the even-odd rule.
struct LandShape {
    std::vector<std::vector<WorldPoint>> rings;
};

using BorderLine = std::vector<WorldPoint>;

// A shape as the one run of points Canvas::fillPolygon fills (even-odd), each
// point placed by `toPixel(WorldPoint) -> PointF`. After each further ring the
// run goes back to the first ring's start, so every join is walked there and
// back and encloses nothing; joined ring to ring, three rings or more would
// add the polygon of their starts.
template <typename ToPixel>
void appendShapeOutline(const LandShape& shape, ToPixel toPixel, std::vector<PointF>& out) {
    if (shape.rings.empty() || shape.rings.front().empty()) return;
    const PointF start = toPixel(shape.rings.front().front());
    for (size_t r = 0; r < shape.rings.size(); ++r) {
        for (const WorldPoint& p : shape.rings[r]) out.push_back(toPixel(p));
        if (r > 0) out.push_back(start);
    }
}

// Largest file `load` reads; the bundled one is well under a megabyte.
inline constexpr int64_t kVectorWorldFileLimit = int64_t{64} << 20;

class VectorWorld {
  public:
    // Reads the file's bytes. A short, damaged or hostile file gives nullopt
    // and a message that says what is wrong and at which byte.
    static std::optional<VectorWorld> parse(std::span<const uint8_t> bytes, std::string& error);
    static std::optional<VectorWorld> load(const std::string& path, std::string& error);

    size_t polygonCount() const { return polygons_.size(); }
    size_t ringCount() const { return rings_.size(); }
    size_t lineCount() const { return lines_.size(); }
    size_t pointCount() const { return points_.size(); }

    // The land inside `box`: each polygon that reaches into it, in every copy
    // 360° apart that does, cut to the box. Filled each on its own (even-odd),
    // the shapes cover exactly the land within the box; cut edges lie on the
    // box's sides, so a caller asks for a box a little larger than it shows.
    // Antarctica is one ring however many copies the box holds, closed along
    // the pole, so no seam shows where copies meet. Boxes are taken within
    // -720°..1080°; an empty, inverted or non-finite box gives nothing.
    std::vector<LandShape> landIn(const GeoBox& box) const;

    // The country borders inside `box`, cut where they leave it; a border that
    // leaves and comes back gives several lines.
    std::vector<BorderLine> bordersIn(const GeoBox& box) const;

  private:
    struct Bounds {
        double west = 0, south = 0, east = 0, north = 0;
        void add(const WorldPoint& p);
    };
    struct Run {
        uint32_t first = 0;
        uint32_t count = 0;
        Bounds bounds;
    };
    struct Polygon {
        uint32_t firstRing = 0;
        uint32_t ringCount = 0;
        Bounds bounds;
        // Non-zero (+90 or -90) when the outer ring is a coast once round the
        // globe, closed along that pole.
        double pole = 0;
    };
    friend class VectorWorldReader;

    std::span<const WorldPoint> pointsOf(const Run& run) const {
        return std::span<const WorldPoint>(points_).subspan(run.first, run.count);
    }
    void addRingCopy(const Run& ring, double shift, const GeoBox& box, LandShape& shape,
                     std::vector<WorldPoint>& cut, std::vector<WorldPoint>& scratch) const;
    void addPolarCoast(const Polygon& polygon, const GeoBox& box, LandShape& shape,
                       std::vector<WorldPoint>& chain, std::vector<WorldPoint>& scratch) const;

    std::vector<WorldPoint> points_;
    std::vector<Run> rings_;
    std::vector<Polygon> polygons_;
    std::vector<Run> lines_;
};

}  // namespace tcmap
