// Polygons in degrees, as the forecast geometry makes them (cone, wind swath)
// and the layers and GIS outputs take them. Longitudes are unwrapped: a shape
// that crosses 180° keeps running past it (e.g. 175 .. 195) so it stays one
// polygon; seamShifts tells the drawing side which ±360° copies a map shows.
#pragma once

#include <vector>

namespace tcmap {

struct GeoPoint {
    double lat = 0.0;
    double lon = 0.0;
};

// A closed ring: the last point repeats the first.
using GeoRing = std::vector<GeoPoint>;

struct GeoPolygon {
    GeoRing outer;
    std::vector<GeoRing> holes;
};

// A multipolygon; empty means nothing to draw.
using GeoShape = std::vector<GeoPolygon>;

struct LonRange {
    double west = 0.0;
    double east = 0.0;
};

// The longitude extent of a shape; {0, 0} for an empty one.
LonRange lonRange(const GeoShape& shape);

// The multiples of 360° to add to the shape's longitudes so that each copy
// overlaps the view [viewWest, viewEast] (degrees, west < east), west copy
// first. The whole-world map of the TCV style runs 0 .. 360 (0° at both edges,
// 180° in the middle), so a cone at 170 .. 190 needs one copy and a swath at
// -10 .. 10 needs two (shifts 0 and 360). An empty shape needs none.
std::vector<double> seamShifts(const GeoShape& shape, double viewWest = 0.0,
                               double viewEast = 360.0);

// The shape with `degrees` added to every longitude.
GeoShape shiftedLongitudes(const GeoShape& shape, double degrees);

}  // namespace tcmap
