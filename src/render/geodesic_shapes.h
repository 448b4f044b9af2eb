// The pieces the cone and the swath are built from: geodesic circles and pie
// slices as point lists (their hulls are taken in GEOS), longitude unwrapping
// and the checks of input numbers.
#pragma once

#include <vector>

#include "render/layers/geo_shape.h"

namespace tcmap {

// Nautical miles per radian: one nautical mile is one arc minute.
inline constexpr double kNmPerRadian = 10800.0 / 3.14159265358979323846;

// `lon` moved by a multiple of 360° to within 180° of `reference`.
double unwrappedNear(double lon, double reference);

// The radius shrunk so that the circle stops 1 nm short of the nearer pole.
double poleClampedRadius(double lat, double radiusNm);

// The points of the arc around `center` at `radiusNm` from `fromBearing` to
// `toBearing` degrees (clockwise from north), `segments` pieces, both ends
// included, appended to `points`. The radius is pole-clamped first; a radius
// of 0 appends only the centre.
void appendArc(std::vector<GeoPoint>& points, GeoPoint center, double radiusNm, double fromBearing,
               double toBearing, int segments);

// Points of the whole circle (`vertices` of them, not closed), or only the
// centre for a radius of 0.
std::vector<GeoPoint> circlePoints(GeoPoint center, double radiusNm, int vertices);

// The centre and the arc of one quadrant (0 NE, 1 SE, 2 SW, 3 NW), or only
// the centre for a radius of 0.
std::vector<GeoPoint> quadrantPoints(GeoPoint center, double radiusNm, int quadrant, int segments);

}  // namespace tcmap
