#include "render/layers/geo_shape.h"

#include <algorithm>
#include <cmath>

namespace tcmap {

LonRange lonRange(const GeoShape& shape) {
    bool any = false;
    LonRange range;
    for (const auto& polygon : shape) {
        // Holes lie inside their outer ring, so the outer rings bound the shape.
        for (const auto& point : polygon.outer) {
            if (!any) {
                range = {point.lon, point.lon};
                any = true;
            }
            range.west = std::min(range.west, point.lon);
            range.east = std::max(range.east, point.lon);
        }
    }
    return range;
}

std::vector<double> seamShifts(const GeoShape& shape, double viewWest, double viewEast) {
    std::vector<double> shifts;
    bool empty = true;
    for (const auto& polygon : shape) empty = empty && polygon.outer.empty();
    if (empty || !(viewWest < viewEast)) return shifts;
    const LonRange range = lonRange(shape);
    // Copy k (shift 360 k) overlaps the view when west + 360 k < viewEast and
    // east + 360 k > viewWest; touching at one edge only is no overlap.
    const double first = std::floor((viewWest - range.east) / 360.0) + 1.0;
    for (double k = first; range.west + 360.0 * k < viewEast; k += 1.0) {
        if (range.east + 360.0 * k > viewWest) shifts.push_back(360.0 * k);
    }
    return shifts;
}

GeoShape shiftedLongitudes(const GeoShape& shape, double degrees) {
    GeoShape result = shape;
    const auto shift = [degrees](GeoRing& ring) {
        for (auto& point : ring) point.lon += degrees;
    };
    for (auto& polygon : result) {
        shift(polygon.outer);
        for (auto& hole : polygon.holes) shift(hole);
    }
    return result;
}

}  // namespace tcmap
