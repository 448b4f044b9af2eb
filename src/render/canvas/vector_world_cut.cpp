// The parts of the vector world inside a box: every copy of a polygon or line,
// 360° apart, that reaches into it, cut to it.
#include <algorithm>
#include <cmath>

#include "render/canvas/geo_clip.h"
#include "render/canvas/vector_world.h"

namespace tcmap {

namespace {

// Boxes are taken within three turns of the map, so a caller's absurd box
// costs no more than about five copies of the world.
constexpr double kWestmost = -720.0;
constexpr double kEastmost = 1080.0;

bool usable(GeoBox& box) {
    if (!std::isfinite(box.west) || !std::isfinite(box.east) || !std::isfinite(box.south) ||
        !std::isfinite(box.north)) {
        return false;
    }
    box.west = std::max(box.west, kWestmost);
    box.east = std::min(box.east, kEastmost);
    return box.west < box.east && box.south < box.north;
}

// Calls `use(shift)` for every shift by whole turns that brings [west, east]
// into the box's longitudes.
template <typename Use>
void forEachCopy(double west, double east, const GeoBox& box, Use use) {
    const double first = std::ceil((box.west - east) / 360.0);
    const double last = std::floor((box.east - west) / 360.0);
    for (double turn = first; turn <= last; ++turn) use(turn * 360.0);
}

}  // namespace

void VectorWorld::addRingCopy(const Run& ring, double shift, const GeoBox& box, LandShape& shape,
                              std::vector<WorldPoint>& cut,
                              std::vector<WorldPoint>& scratch) const {
    const Bounds& b = ring.bounds;
    if (b.east + shift < box.west || b.west + shift > box.east || b.north < box.south ||
        b.south > box.north) {
        return;  // a ring wholly outside adds nothing inside
    }
    const std::span<const WorldPoint> points = pointsOf(ring);
    if (b.west + shift >= box.west && b.east + shift <= box.east && b.south >= box.south &&
        b.north <= box.north) {
        std::vector<WorldPoint>& whole = shape.rings.emplace_back(points.size());
        std::transform(points.begin(), points.end(), whole.begin(), [shift](WorldPoint p) {
            return WorldPoint{p.lon + shift, p.lat};
        });
        return;
    }
    clipRingToBox(points, shift, box, cut, scratch);
    if (!cut.empty()) shape.rings.push_back(cut);
}

// The coasts of every copy that reaches the box, one after another in the
// coast's direction, closed once along the pole: one ring, so no seam shows
// where two copies would meet.
void VectorWorld::addPolarCoast(const Polygon& polygon, const GeoBox& box, LandShape& shape,
                                std::vector<WorldPoint>& chain,
                                std::vector<WorldPoint>& scratch) const {
    const Run& coast = rings_[polygon.firstRing];
    const std::span<const WorldPoint> points = pointsOf(coast);
    const bool eastward = points.back().lon >= points.front().lon;
    std::vector<double> shifts;
    forEachCopy(coast.bounds.west, coast.bounds.east, box,
                [&](double shift) { shifts.push_back(shift); });
    if (!eastward) std::reverse(shifts.begin(), shifts.end());
    chain.clear();
    for (const double shift : shifts) {
        for (const WorldPoint& p : points) {
            const WorldPoint q{p.lon + shift, p.lat};
            if (chain.empty() || chain.back().lon != q.lon || chain.back().lat != q.lat) {
                chain.push_back(q);
            }
        }
    }
    if (chain.empty()) return;
    chain.push_back({chain.back().lon, polygon.pole});
    chain.push_back({chain.front().lon, polygon.pole});
    std::vector<WorldPoint> cut;
    clipRingToBox(chain, 0, box, cut, scratch);
    if (!cut.empty()) shape.rings.push_back(std::move(cut));
}

std::vector<LandShape> VectorWorld::landIn(const GeoBox& wanted) const {
    std::vector<LandShape> shapes;
    GeoBox box = wanted;
    if (!usable(box)) return shapes;
    std::vector<WorldPoint> cut, scratch;
    for (const Polygon& polygon : polygons_) {
        const Bounds& pb = polygon.bounds;
        if (pb.north < box.south || pb.south > box.north) continue;
        if (polygon.pole != 0) {
            LandShape shape;
            addPolarCoast(polygon, box, shape, cut, scratch);
            forEachCopy(pb.west, pb.east, box, [&](double shift) {
                for (uint32_t r = 1; r < polygon.ringCount; ++r) {
                    addRingCopy(rings_[polygon.firstRing + r], shift, box, shape, cut, scratch);
                }
            });
            if (!shape.rings.empty()) shapes.push_back(std::move(shape));
            continue;
        }
        // Copies of other polygons lie apart: each is a shape of its own.
        forEachCopy(pb.west, pb.east, box, [&](double shift) {
            LandShape shape;
            for (uint32_t r = 0; r < polygon.ringCount; ++r) {
                addRingCopy(rings_[polygon.firstRing + r], shift, box, shape, cut, scratch);
            }
            if (!shape.rings.empty()) shapes.push_back(std::move(shape));
        });
    }
    return shapes;
}

std::vector<BorderLine> VectorWorld::bordersIn(const GeoBox& wanted) const {
    std::vector<BorderLine> lines;
    GeoBox box = wanted;
    if (!usable(box)) return lines;
    for (const Run& line : lines_) {
        const Bounds& b = line.bounds;
        if (b.north < box.south || b.south > box.north) continue;
        forEachCopy(b.west, b.east, box,
                    [&](double shift) { clipLineToBox(pointsOf(line), shift, box, lines); });
    }
    return lines;
}

}  // namespace tcmap
