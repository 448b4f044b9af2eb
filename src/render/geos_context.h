// A thin owner of one GEOS context for one computation: geometries freed with
// the context they were made in, GEOS's error messages kept instead of printed,
// and the few operations the forecast geometry needs, between GeoShape and
// GEOS. Only the reentrant (_r) API is used, so no GEOS state is shared.
#pragma once

#define GEOS_USE_ONLY_R_API
#include <geos_c.h>

#include <memory>
#include <span>
#include <string>
#include <vector>

#include "render/layers/geo_shape.h"

namespace tcmap {

class GeosContext {
  public:
    struct Deleter {
        GEOSContextHandle_t handle = nullptr;
        void operator()(GEOSGeometry* geometry) const;
    };
    using Geometry = std::unique_ptr<GEOSGeometry, Deleter>;

    GeosContext();
    ~GeosContext();
    GeosContext(const GeosContext&) = delete;
    GeosContext& operator=(const GeosContext&) = delete;

    // The first error GEOS reported, or "".
    const std::string& error() const { return error_; }

    // The convex hull of the points (x = longitude, y = latitude); null when
    // they span no area (one point, or all on a line).
    Geometry hull(std::span<const GeoPoint> points);

    // The polygon of a ring of at least four points (closed), or null.
    Geometry polygon(const GeoPolygon& polygon);

    // The union of all parts in one unary union (GEOS cascades it, far faster
    // than adding one part at a time). Null on a GEOS error; an empty
    // geometry when there are no parts.
    Geometry unionOf(std::vector<Geometry> parts);

    Geometry difference(const GEOSGeometry& from, const GEOSGeometry& minus);
    Geometry intersection(const GEOSGeometry& a, const GEOSGeometry& b);

    // The rectangle west..east x south..north as a polygon.
    Geometry box(double west, double south, double east, double north);

    // The polygons of a geometry of any type (polygon, multipolygon,
    // collection); lines and points are left out.
    GeoShape shapeOf(const GEOSGeometry* geometry);

  private:
    Geometry own(GEOSGeometry* geometry);
    GEOSCoordSequence* sequence(std::span<const GeoPoint> points);
    GEOSGeometry* linearRing(const GeoRing& ring);
    void collectPolygons(const GEOSGeometry* geometry, GeoShape& shape);
    GeoRing ringOf(const GEOSGeometry* ring);
    static void onMessage(const char* message, void* self);

    GEOSContextHandle_t handle_;
    std::string error_;
};

}  // namespace tcmap
