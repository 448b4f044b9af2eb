// Cutting unwrapped shapes at ±180° (splitAtAntimeridian in forecast_geometry.h).
#include <cmath>

#include "render/forecast_geometry.h"
#include "render/geos_context.h"

namespace tcmap {

namespace {

bool ringIsFinite(const GeoRing& ring) {
    for (const auto& point : ring) {
        if (!std::isfinite(point.lat) || !std::isfinite(point.lon)) return false;
    }
    return true;
}

}  // namespace

SplitShape splitAtAntimeridian(const GeoShape& shape) {
    SplitShape result;
    GeosContext geos;
    for (const auto& polygon : shape) {
        bool finite = ringIsFinite(polygon.outer);
        for (const auto& hole : polygon.holes) finite = finite && ringIsFinite(hole);
        const auto geometry = finite ? geos.polygon(polygon) : nullptr;
        if (!geometry) {
            result.error =
                "a polygon ring is not closed, has fewer than 4 points or a value that is not "
                "finite";
            result.shape.clear();
            return result;
        }
        const LonRange range = lonRange({polygon});
        // Band k holds the longitudes -180 + 360 k .. 180 + 360 k.
        const double firstBand = std::floor((range.west + 180.0) / 360.0);
        const double lastBand = std::floor((range.east + 180.0) / 360.0);
        for (double band = firstBand; band <= lastBand; band += 1.0) {
            const auto window = geos.box(-180.0 + 360.0 * band, -90.0, 180.0 + 360.0 * band, 90.0);
            const auto piece = window ? geos.intersection(*geometry, *window) : nullptr;
            if (!piece) break;
            for (auto& part : shiftedLongitudes(geos.shapeOf(piece.get()), -360.0 * band)) {
                result.shape.push_back(std::move(part));
            }
        }
        if (!geos.error().empty()) {
            result.error = "splitting at 180 degrees failed: " + geos.error();
            result.shape.clear();
            return result;
        }
    }
    return result;
}

}  // namespace tcmap
