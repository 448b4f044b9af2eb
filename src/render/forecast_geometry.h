// The areas of the forecaster's map, in degrees: the cone of uncertainty
// around an official forecast and the swath of 34/50/64-kt winds along a best
// track. Polygon unions and hulls go through GEOS (its reentrant C API, one
// context per call), so two drawings on two threads share nothing.
//
// Longitudes are unwrapped along the track (each point within 180° of the one
// before), so a cone or swath across 180° or 0° is one shape; the caller
// projects it and draws its seam copies (seamShifts in render/layers/geo_shape.h),
// or splits it at ±180° for GIS files (splitAtAntimeridian).
//
// Distances are on a sphere where one nautical mile is one arc minute (60 nm a
// degree of latitude), the convention of the radii in track files.
#pragma once

#include <array>
#include <span>
#include <string>

#include "render/layers/geo_shape.h"
#include "track/cone_radii.h"

namespace tcmap {

// The point `distanceNm` from (lat, lon) along the great circle leaving at
// `bearingDeg` (clockwise from north). The longitude stays within 180° of
// `lon` (not wrapped into -180..180).
GeoPoint destinationPoint(double lat, double lon, double bearingDeg, double distanceNm);

// Great-circle distance in nautical miles.
double greatCircleNm(GeoPoint from, GeoPoint to);

// One position of a forecast: its forecast hour (tau) and signed degrees
// (north and east positive; any longitude range).
struct ForecastPoint {
    int hour = 0;
    double lat = 0.0;
    double lon = 0.0;
};

struct ConeOptions {
    int circleVertices = 64;  // per error circle: smooth at whole-ocean map scales
    int stepHours = 1;        // positions and radii are interpolated at this step
    int splitHour = 72;       // end of the first shade (days 1-3)
};

struct ConeGeometry {
    std::string error;  // empty on success; then the shapes hold the cone
    GeoShape days1to3;  // forecast hours up to splitHour
    GeoShape days4to5;  // the rest of the cone, beyond days 1-3 (no overlap)
    bool ok() const { return error.empty(); }
};

// The cone around one cycle's official forecast with the error-circle radii of
// its basin and year (ascending hours). Rules:
// - points are sorted by hour; a repeated hour (a-decks repeat each forecast
//   hour per wind threshold) keeps its first position;
// - between forecast hours the position is interpolated every stepHours,
//   linearly in latitude and unwrapped longitude (not along the great circle:
//   forecast points are 12 to 24 h apart, where the two differ by far less
//   than a circle's radius);
// - the radius is interpolated linearly between the table's hours; hour 0 has
//   radius 0 unless the table gives it; a point beyond the table's last hour
//   gets no circle (the cone stops there);
// - each circle is a geodesic circle; a circle that would cover a pole is
//   shrunk to stop 1 nm short of it, because a ring around a pole has no
//   simple outline in longitude and latitude;
// - the cone is the union of the convex hulls of consecutive circles (a
//   single circle stands alone), one GEOS unary union per part.
// A NaN or infinite value, a latitude beyond ±90°, a negative hour, or radii
// that are negative or not in ascending hours give an error and no shapes.
ConeGeometry forecastCone(std::span<const ForecastPoint> forecast,
                          std::span<const ConeRadius> radii, const ConeOptions& options = {});

// One best-track fix with its wind radii.
struct SwathFix {
    double hour = 0.0;  // time in hours from any origin shared by the fixes
    double lat = 0.0;
    double lon = 0.0;
    // radiiNm[threshold][quadrant]: thresholds 34, 50, 64 kt; quadrants NE,
    // SE, SW, NW. 0 means no wind of that strength in that quadrant.
    std::array<std::array<double, 4>, 3> radiiNm{};
};

inline constexpr std::array<int, 3> kSwathThresholdsKt = {34, 50, 64};

// The hull of a slice and the same slice one step later is exactly the area a
// slice sweeps while it moves without changing, so the steps only have to
// follow the change of the radii: on Sandy's best track the 34-kt area from
// 3-hour steps is within 0.01 % of the one from 15-minute steps, at a sixth
// of the cost.
struct SwathOptions {
    int circleVertices = 64;    // of a whole circle; a quadrant gets a quarter
    double maxStepHours = 3.0;  // interpolation step between fixes ...
    double maxStepNm = 60.0;    // ... and at most this far apart
    double maxGapHours = 24.0;  // fixes further apart are not joined
};

struct SwathGeometry {
    std::string error;              // empty on success
    std::array<GeoShape, 3> areas;  // 34, 50, 64 kt
    bool ok() const { return error.empty(); }
};

// The areas the 34, 50 and 64-kt winds have covered. Fixes are sorted by
// time; between consecutive fixes the position and each quadrant's radius are
// interpolated linearly (a quadrant's radius grows from 0 where one fix has
// none), each quadrant is a geodesic pie slice, and the hulls of each slice
// with the same slice one step later are unioned per threshold. Invalid
// values (NaN, infinite, latitude beyond ±90°, negative radii) give an error.
SwathGeometry windSwath(std::span<const SwathFix> fixes, const SwathOptions& options = {});

struct SplitShape {
    std::string error;
    GeoShape shape;
    bool ok() const { return error.empty(); }
};

// The shape cut into pieces with longitudes within -180 .. 180, each piece
// shifted by a multiple of 360° (a cone at 170 .. 190 becomes two polygons
// meeting at ±180°), as GeoJSON (RFC 7946) and most GIS files want.
SplitShape splitAtAntimeridian(const GeoShape& shape);

}  // namespace tcmap
