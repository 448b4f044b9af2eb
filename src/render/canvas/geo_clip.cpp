#include "render/canvas/geo_clip.h"

#include <algorithm>
#include <cmath>

namespace tcmap {

namespace {

// Keeps the part of the closed polygon `in` (no repeated closing point) on the
// inner side of one box side. Where the polygon goes out and comes back, the
// two crossings are joined along the side: the detour and that join enclose
// no point of the inner side, so winding numbers there are unchanged.
template <typename Inside, typename Cross>
void clipSide(const std::vector<WorldPoint>& in, std::vector<WorldPoint>& out, Inside inside,
              Cross cross) {
    out.clear();
    if (in.empty()) return;
    WorldPoint previous = in.back();
    bool previousInside = inside(previous);
    for (const WorldPoint& p : in) {
        const bool pInside = inside(p);
        if (pInside != previousInside) out.push_back(cross(previous, p));
        if (pInside) out.push_back(p);
        previous = p;
        previousInside = pInside;
    }
}

// The point of segment a-b on the meridian `lon` (or the parallel `lat`),
// computed from the western (southern) end so both directions agree.
WorldPoint onMeridian(WorldPoint a, WorldPoint b, double lon) {
    if (b.lon < a.lon) std::swap(a, b);
    const double t = (lon - a.lon) / (b.lon - a.lon);
    return {lon, a.lat + t * (b.lat - a.lat)};
}

WorldPoint onParallel(WorldPoint a, WorldPoint b, double lat) {
    if (b.lat < a.lat) std::swap(a, b);
    const double t = (lat - a.lat) / (b.lat - a.lat);
    return {a.lon + t * (b.lon - a.lon), lat};
}

// Crossings are computed in floating point and may land an ulp outside the
// box they lie on; callers rely on every point being inside.
WorldPoint clamped(WorldPoint p, const GeoBox& box) {
    return {std::clamp(p.lon, box.west, box.east), std::clamp(p.lat, box.south, box.north)};
}

double twiceArea(const std::vector<WorldPoint>& ring) {
    double sum = 0;
    for (size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++) {
        sum += (ring[j].lon - ring[i].lon) * (ring[j].lat + ring[i].lat);
    }
    return sum;
}

}  // namespace

void clipRingToBox(std::span<const WorldPoint> ring, double shift, const GeoBox& box,
                   std::vector<WorldPoint>& out, std::vector<WorldPoint>& scratch) {
    out.clear();
    size_t n = ring.size();
    if (n > 1 && ring.front().lon == ring.back().lon && ring.front().lat == ring.back().lat) --n;
    if (n < 3) return;
    scratch.resize(n);
    for (size_t i = 0; i < n; ++i) scratch[i] = {ring[i].lon + shift, ring[i].lat};

    const double w = box.west, e = box.east, s = box.south, north = box.north;
    clipSide(
        scratch, out, [w](const WorldPoint& p) { return p.lon >= w; },
        [w](WorldPoint a, WorldPoint b) { return onMeridian(a, b, w); });
    clipSide(
        out, scratch, [e](const WorldPoint& p) { return p.lon <= e; },
        [e](WorldPoint a, WorldPoint b) { return onMeridian(a, b, e); });
    clipSide(
        scratch, out, [s](const WorldPoint& p) { return p.lat >= s; },
        [s](WorldPoint a, WorldPoint b) { return onParallel(a, b, s); });
    clipSide(
        out, scratch, [north](const WorldPoint& p) { return p.lat <= north; },
        [north](WorldPoint a, WorldPoint b) { return onParallel(a, b, north); });

    // A ring that only runs round the box's corner leaves nothing but runs
    // along its sides.
    if (scratch.size() < 3 || twiceArea(scratch) == 0) {
        out.clear();
        return;
    }
    out.clear();
    for (const WorldPoint& p : scratch) out.push_back(clamped(p, box));
    out.push_back(out.front());
}

void clipLineToBox(std::span<const WorldPoint> line, double shift, const GeoBox& box,
                   std::vector<BorderLine>& out) {
    bool open = false;  // the last piece ends where the next segment starts
    for (size_t i = 1; i < line.size(); ++i) {
        const double x0 = line[i - 1].lon + shift, y0 = line[i - 1].lat;
        const double dx = line[i].lon - line[i - 1].lon, dy = line[i].lat - line[i - 1].lat;
        // Liang-Barsky: the part t0..t1 of the segment inside each side.
        double t0 = 0, t1 = 1;
        const double p[4] = {-dx, dx, -dy, dy};
        const double q[4] = {x0 - box.west, box.east - x0, y0 - box.south, box.north - y0};
        bool visible = true;
        for (int k = 0; k < 4 && visible; ++k) {
            if (p[k] == 0) {
                visible = q[k] >= 0;
            } else if (p[k] < 0) {
                t0 = std::max(t0, q[k] / p[k]);
            } else {
                t1 = std::min(t1, q[k] / p[k]);
            }
            visible = visible && t0 <= t1;
        }
        // A segment that only touches the box (at a corner) draws nothing.
        if (!visible || (t0 == t1 && !open)) {
            open = false;
            continue;
        }
        if (!open || t0 > 0) out.push_back({clamped({x0 + t0 * dx, y0 + t0 * dy}, box)});
        out.back().push_back(clamped({x0 + t1 * dx, y0 + t1 * dy}, box));
        open = t1 == 1;
    }
}

}  // namespace tcmap
