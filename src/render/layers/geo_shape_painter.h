// Fills shapes in degrees (cone, swath) on the output picture: each polygon
// through the fix projection, once for every ±360° copy the output shows.
#pragma once

#include "render/canvas/canvas.h"
#include "render/layers/geo_shape.h"
#include "render/layers/output_geometry.h"

namespace tcmap {

// The longitudes the output picture shows, west < east (may pass 360).
LonRange outputLongitudes(const OutputGeometry& frame);

// Fills each polygon's outer ring (holes are not cut out; the cone has none,
// and a swath's rare hole is a calm spot too small to matter at map scale),
// and outlines it with `outline` when that pen is valid. False when a drawing
// call failed.
bool paintGeoShape(Canvas& canvas, const OutputGeometry& frame, const GeoShape& shape,
                   const CanvasBrush& fill, const CanvasPen& outline);

}  // namespace tcmap
