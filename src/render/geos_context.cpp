#include "render/geos_context.h"

namespace tcmap {

void GeosContext::Deleter::operator()(GEOSGeometry* geometry) const {
    if (geometry != nullptr) GEOSGeom_destroy_r(handle, geometry);
}

GeosContext::GeosContext() : handle_(GEOS_init_r()) {
    GEOSContext_setErrorMessageHandler_r(handle_, &GeosContext::onMessage, this);
    // Notices (e.g. about self-intersections of an input) are not errors.
    GEOSContext_setNoticeMessageHandler_r(handle_, nullptr, nullptr);
}

GeosContext::~GeosContext() {
    GEOS_finish_r(handle_);
}

void GeosContext::onMessage(const char* message, void* self) {
    auto* context = static_cast<GeosContext*>(self);
    if (context->error_.empty()) context->error_ = message != nullptr ? message : "GEOS error";
}

GeosContext::Geometry GeosContext::own(GEOSGeometry* geometry) {
    return Geometry(geometry, Deleter{handle_});
}

GEOSCoordSequence* GeosContext::sequence(std::span<const GeoPoint> points) {
    std::vector<double> xy;
    xy.reserve(points.size() * 2);
    for (const auto& point : points) {
        xy.push_back(point.lon);
        xy.push_back(point.lat);
    }
    return GEOSCoordSeq_copyFromBuffer_r(handle_, xy.data(),
                                         static_cast<unsigned int>(points.size()), 0, 0);
}

GEOSGeometry* GeosContext::linearRing(const GeoRing& ring) {
    if (ring.size() < 4) return nullptr;
    GEOSCoordSequence* coordinates = sequence(ring);
    return coordinates != nullptr ? GEOSGeom_createLinearRing_r(handle_, coordinates) : nullptr;
}

GeosContext::Geometry GeosContext::hull(std::span<const GeoPoint> points) {
    if (points.size() < 3) return nullptr;
    GEOSCoordSequence* coordinates = sequence(points);
    if (coordinates == nullptr) return nullptr;
    // A line string through the points has their hull and costs one sequence,
    // where a multipoint would cost one geometry per point.
    Geometry line = own(GEOSGeom_createLineString_r(handle_, coordinates));
    if (!line) return nullptr;
    Geometry result = own(GEOSConvexHull_r(handle_, line.get()));
    if (!result || GEOSGeomTypeId_r(handle_, result.get()) != GEOS_POLYGON) return nullptr;
    return result;
}

GeosContext::Geometry GeosContext::polygon(const GeoPolygon& polygon) {
    GEOSGeometry* shell = linearRing(polygon.outer);
    if (shell == nullptr) return nullptr;
    std::vector<GEOSGeometry*> holes;
    for (const auto& hole : polygon.holes) {
        if (GEOSGeometry* ring = linearRing(hole)) holes.push_back(ring);
    }
    // The polygon takes the rings.
    return own(GEOSGeom_createPolygon_r(handle_, shell, holes.data(),
                                        static_cast<unsigned int>(holes.size())));
}

GeosContext::Geometry GeosContext::unionOf(std::vector<Geometry> parts) {
    std::vector<GEOSGeometry*> raw;
    raw.reserve(parts.size());
    for (auto& part : parts) {
        if (part) raw.push_back(part.release());
    }
    // The collection takes the parts (and frees them itself if it fails).
    Geometry collection = own(GEOSGeom_createCollection_r(
        handle_, GEOS_GEOMETRYCOLLECTION, raw.data(), static_cast<unsigned int>(raw.size())));
    if (!collection || raw.empty()) return collection;
    return own(GEOSUnaryUnion_r(handle_, collection.get()));
}

GeosContext::Geometry GeosContext::difference(const GEOSGeometry& from, const GEOSGeometry& minus) {
    return own(GEOSDifference_r(handle_, &from, &minus));
}

GeosContext::Geometry GeosContext::intersection(const GEOSGeometry& a, const GEOSGeometry& b) {
    return own(GEOSIntersection_r(handle_, &a, &b));
}

GeosContext::Geometry GeosContext::box(double west, double south, double east, double north) {
    return polygon(
        {{{south, west}, {south, east}, {north, east}, {north, west}, {south, west}}, {}});
}

GeoRing GeosContext::ringOf(const GEOSGeometry* ring) {
    GeoRing result;
    const GEOSCoordSequence* coordinates = GEOSGeom_getCoordSeq_r(handle_, ring);
    unsigned int size = 0;
    if (coordinates == nullptr || GEOSCoordSeq_getSize_r(handle_, coordinates, &size) == 0) {
        return result;
    }
    std::vector<double> xy(static_cast<size_t>(size) * 2);
    if (GEOSCoordSeq_copyToBuffer_r(handle_, coordinates, xy.data(), 0, 0) == 0) return result;
    result.reserve(size);
    for (unsigned int i = 0; i < size; ++i) result.push_back({xy[2 * i + 1], xy[2 * i]});
    return result;
}

void GeosContext::collectPolygons(const GEOSGeometry* geometry, GeoShape& shape) {
    if (geometry == nullptr || GEOSisEmpty_r(handle_, geometry) != 0) return;
    const int type = GEOSGeomTypeId_r(handle_, geometry);
    if (type == GEOS_POLYGON) {
        GeoPolygon polygon;
        polygon.outer = ringOf(GEOSGetExteriorRing_r(handle_, geometry));
        const int holes = GEOSGetNumInteriorRings_r(handle_, geometry);
        for (int i = 0; i < holes; ++i) {
            polygon.holes.push_back(ringOf(GEOSGetInteriorRingN_r(handle_, geometry, i)));
        }
        shape.push_back(std::move(polygon));
    } else if (type == GEOS_MULTIPOLYGON || type == GEOS_GEOMETRYCOLLECTION) {
        const int count = GEOSGetNumGeometries_r(handle_, geometry);
        for (int i = 0; i < count; ++i) {
            collectPolygons(GEOSGetGeometryN_r(handle_, geometry, i), shape);
        }
    }
}

GeoShape GeosContext::shapeOf(const GEOSGeometry* geometry) {
    GeoShape shape;
    collectPolygons(geometry, shape);
    return shape;
}

}  // namespace tcmap
