#include "app/gdal_dataset_writer.h"

#include <cpl_conv.h>
#include <cpl_error.h>
#include <cpl_string.h>
#include <gdal.h>
#include <ogr_srs_api.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <optional>

namespace tcmap {

QuietGdalErrors::QuietGdalErrors() {
    CPLPushErrorHandler(CPLQuietErrorHandler);
    CPLErrorReset();
}

QuietGdalErrors::~QuietGdalErrors() {
    CPLPopErrorHandler();
}

std::string QuietGdalErrors::last() {
    const char* message = CPLGetLastErrorMsg();
    return message != nullptr && *message != '\0' ? message : "GDAL gave no reason";
}

bool QuietGdalErrors::failed() {
    return CPLGetLastErrorType() >= CE_Failure;
}

namespace {

std::string hexColour(const ScaleColour& c) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", c.red, c.green, c.blue);
    return text;
}

std::string styleOf(const GisFeature& feature) {
    const std::string hex = hexColour(feature.colour);
    if (feature.point)
        return "SYMBOL(id:\"http://maps.google.com/mapfiles/kml/shapes/shaded_dot.png\",c:" + hex +
               ")";
    if (!feature.lines.empty()) return "PEN(c:" + hex + ",w:3px)";
    return "BRUSH(fc:" + hex + "66);PEN(c:" + hex + ",w:1px)";
}

OGRwkbGeometryType layerType(GisGeometry geometry) {
    switch (geometry) {
        case GisGeometry::Point:
            return wkbPoint;
        case GisGeometry::Line:
            return wkbMultiLineString;
        case GisGeometry::Polygon:
            return wkbMultiPolygon;
        case GisGeometry::Mixed:
            break;
    }
    return wkbUnknown;
}

// How a format wants its geometries: GeoJSON as RFC 7946 asks (a single
// line or polygon where there is one, exterior rings anticlockwise and holes
// clockwise, coordinates to 0.0001 degree, 11 m: far finer than any fix's
// place); every other format the multi kinds, so one layer holds one type.
struct GeometryRules {
    bool rfc7946 = false;
};

double coordinate(double degrees, const GeometryRules& rules) {
    return rules.rfc7946 ? std::round(degrees * 1e4) / 1e4 : degrees;
}

// Twice the signed area of a ring (longitude east, latitude north): positive
// when it turns anticlockwise.
double signedArea(const GeoRing& points) {
    double sum = 0.0;
    for (size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
        sum += (points[j].lon - points[i].lon) * (points[j].lat + points[i].lat);
    }
    return sum;
}

OGRGeometryH ringOf(const GeoRing& points, bool anticlockwise, const GeometryRules& rules) {
    OGRGeometryH ring = OGR_G_CreateGeometry(wkbLinearRing);
    const bool reversed =
        rules.rfc7946 && !points.empty() && (signedArea(points) > 0.0) != anticlockwise;
    for (size_t i = 0; i < points.size(); ++i) {
        const GeoPoint& p = points[reversed ? points.size() - 1 - i : i];
        OGR_G_AddPoint_2D(ring, coordinate(p.lon, rules), coordinate(p.lat, rules));
    }
    return ring;
}

OGRGeometryH lineOf(const GisLine& line, const GeometryRules& rules) {
    OGRGeometryH part = OGR_G_CreateGeometry(wkbLineString);
    for (const GeoPoint& p : line) {
        OGR_G_AddPoint_2D(part, coordinate(p.lon, rules), coordinate(p.lat, rules));
    }
    return part;
}

OGRGeometryH polygonOf(const GeoPolygon& polygon, const GeometryRules& rules) {
    OGRGeometryH part = OGR_G_CreateGeometry(wkbPolygon);
    OGR_G_AddGeometryDirectly(part, ringOf(polygon.outer, true, rules));
    for (const GeoRing& hole : polygon.holes) {
        OGR_G_AddGeometryDirectly(part, ringOf(hole, false, rules));
    }
    return part;
}

// The feature's geometry, or null when it has none.
OGRGeometryH geometryOf(const GisFeature& feature, const GeometryRules& rules) {
    if (feature.point) {
        OGRGeometryH point = OGR_G_CreateGeometry(wkbPoint);
        OGR_G_SetPoint_2D(point, 0, coordinate(feature.point->lon, rules),
                          coordinate(feature.point->lat, rules));
        return point;
    }
    if (!feature.lines.empty()) {
        if (rules.rfc7946 && feature.lines.size() == 1) return lineOf(feature.lines[0], rules);
        OGRGeometryH multi = OGR_G_CreateGeometry(wkbMultiLineString);
        for (const GisLine& line : feature.lines) {
            OGR_G_AddGeometryDirectly(multi, lineOf(line, rules));
        }
        return multi;
    }
    if (feature.polygons.empty()) return nullptr;
    if (rules.rfc7946 && feature.polygons.size() == 1) {
        return polygonOf(feature.polygons[0], rules);
    }
    OGRGeometryH multi = OGR_G_CreateGeometry(wkbMultiPolygon);
    for (const GeoPolygon& polygon : feature.polygons) {
        OGR_G_AddGeometryDirectly(multi, polygonOf(polygon, rules));
    }
    return multi;
}

OGRFieldType fieldType(GisFieldType type) {
    switch (type) {
        case GisFieldType::Integer:
            return OFTInteger;
        case GisFieldType::Real:
            return OFTReal;
        case GisFieldType::Text:
            break;
    }
    return OFTString;
}

void setValue(OGRFeatureH feature, int index, const GisValue& value) {
    if (const auto* i = std::get_if<int64_t>(&value)) {
        OGR_F_SetFieldInteger64(feature, index, *i);
    } else if (const auto* d = std::get_if<double>(&value)) {
        OGR_F_SetFieldDouble(feature, index, *d);
    } else if (const auto* s = std::get_if<std::string>(&value)) {
        OGR_F_SetFieldString(feature, index, s->c_str());
    }
    // No value: the field stays unset, which every format reads as null and
    // GeoJSON leaves out (a season's collection is a third smaller).
}

// The KML writer of libkml keeps typed attributes (SchemaData) with a cost
// that grows with every placemark already in the layer: a season of fixes
// took many minutes. Untyped attributes (ExtendedData) are written in
// constant time per placemark; readers see the same names and values.
class KmlUntypedAttributes {
  public:
    explicit KmlUntypedAttributes(GisFormat format)
        : active_(format == GisFormat::Kml || format == GisFormat::Kmz) {
        if (!active_) return;
        if (const char* before = CPLGetThreadLocalConfigOption(kOption, nullptr)) before_ = before;
        CPLSetThreadLocalConfigOption(kOption, "NO");
    }
    ~KmlUntypedAttributes() {
        if (active_) CPLSetThreadLocalConfigOption(kOption, before_ ? before_->c_str() : nullptr);
    }
    KmlUntypedAttributes(const KmlUntypedAttributes&) = delete;
    KmlUntypedAttributes& operator=(const KmlUntypedAttributes&) = delete;

  private:
    static constexpr const char* kOption = "LIBKML_USE_SIMPLEFIELD";
    bool active_;
    std::optional<std::string> before_;
};

struct DatasetCloser {
    void operator()(void* dataset) const { GDALClose(dataset); }
};
using Dataset = std::unique_ptr<void, DatasetCloser>;

struct SrsReleaser {
    void operator()(void* srs) const { OSRRelease(srs); }
};

}  // namespace

LayerPlan planOf(const GisLayer& layer) {
    LayerPlan plan{layer.name, layerType(layer.geometry), layer.fields, {&layer}, {}, false};
    std::vector<size_t>& place = plan.places.emplace_back();
    for (size_t i = 0; i < layer.fields.size(); ++i) place.push_back(i);
    return plan;
}

LayerPlan mergedPlan(const std::vector<GisLayer>& layers) {
    MergedFields merged = mergedFields(layers);
    LayerPlan plan{kGeoJsonLayerName,        wkbUnknown, std::move(merged.fields), {},
                   std::move(merged.places), true};
    for (const GisLayer& layer : layers) plan.sources.push_back(&layer);
    return plan;
}

namespace {

char** layerOptions(GisFormat format) {
    char** options = nullptr;
    if (format == GisFormat::GeoJson) {
        // The writer's own RFC 7946 mode cuts and turns every geometry again,
        // which ours already are (see GeometryRules), and formats numbers
        // through a stream: it took two thirds of a season's writing time.
        // Nine figures keep the rounded coordinates and every attribute whole.
        options = CSLSetNameValue(options, "SIGNIFICANT_FIGURES", "9");
    }
    if (format == GisFormat::ShapefileFolder || format == GisFormat::ShapefileZip) {
        options = CSLSetNameValue(options, "ENCODING", "UTF-8");
    }
    return options;
}

std::string writeLayer(GDALDatasetH dataset, OGRSpatialReferenceH srs, const LayerPlan& plan,
                       GisFormat format) {
    const bool styled = format == GisFormat::Kml || format == GisFormat::Kmz;
    const GeometryRules rules{format == GisFormat::GeoJson};
    char** options = layerOptions(format);
    OGRLayerH out = GDALDatasetCreateLayer(dataset, plan.name.c_str(), srs, plan.type, options);
    CSLDestroy(options);
    if (out == nullptr) return "layer " + plan.name + ": " + QuietGdalErrors::last();
    for (const GisFieldDef& field : plan.fields) {
        OGRFieldDefnH definition = OGR_Fld_Create(field.name.c_str(), fieldType(field.type));
        const OGRErr error = OGR_L_CreateField(out, definition, TRUE);
        OGR_Fld_Destroy(definition);
        if (error != OGRERR_NONE) {
            return "layer " + plan.name + ", field " + field.name + ": " + QuietGdalErrors::last();
        }
    }
    // A database format commits each feature on its own otherwise: one
    // transaction for the layer writes it in one go.
    const bool transaction = GDALDatasetTestCapability(dataset, ODsCTransactions) &&
                             GDALDatasetStartTransaction(dataset, FALSE) == OGRERR_NONE;
    OGRFeatureDefnH definition = OGR_L_GetLayerDefn(out);
    size_t index = 0;
    for (size_t s = 0; s < plan.sources.size(); ++s) {
        const GisLayer& source = *plan.sources[s];
        const std::vector<size_t>& place = plan.places[s];
        for (const GisFeature& feature : source.features) {
            const size_t at = index++;
            if (at < plan.begin || at >= plan.end) continue;
            OGRFeatureH made = OGR_F_Create(definition);
            if (plan.nameField) OGR_F_SetFieldString(made, 0, source.name.c_str());
            for (size_t i = 0; i < feature.values.size() && i < place.size(); ++i) {
                setValue(made, static_cast<int>(place[i]), feature.values[i]);
            }
            if (OGRGeometryH geometry = geometryOf(feature, rules)) {
                OGR_F_SetGeometryDirectly(made, geometry);
            }
            if (styled) OGR_F_SetStyleString(made, styleOf(feature).c_str());
            const OGRErr error = OGR_L_CreateFeature(out, made);
            OGR_F_Destroy(made);
            if (error != OGRERR_NONE) {
                if (transaction) GDALDatasetRollbackTransaction(dataset);
                return "layer " + plan.name + ": " + QuietGdalErrors::last();
            }
        }
    }
    if (transaction && GDALDatasetCommitTransaction(dataset) != OGRERR_NONE) {
        return "layer " + plan.name + ": " + QuietGdalErrors::last();
    }
    return {};
}

}  // namespace

size_t pointsOf(const GisFeature& feature) {
    size_t points = feature.point ? 1 : 0;
    for (const GisLine& line : feature.lines) points += line.size();
    for (const GeoPolygon& polygon : feature.polygons) {
        points += polygon.outer.size();
        for (const GeoRing& hole : polygon.holes) points += hole.size();
    }
    return points;
}

std::string writeDataset(const std::string& name, const std::vector<LayerPlan>& plans,
                         GisFormat format) {
    GDALDriverH driver = GDALGetDriverByName(gisDriverName(format));
    if (driver == nullptr) {
        return std::string("this GDAL has no ") + gisDriverName(format) + " driver";
    }
    const KmlUntypedAttributes untyped(format);
    Dataset dataset(GDALCreate(driver, name.c_str(), 0, 0, 0, GDT_Unknown, nullptr));
    if (!dataset) return "cannot create it: " + QuietGdalErrors::last();
    std::unique_ptr<void, SrsReleaser> wgs84(OSRNewSpatialReference(nullptr));
    OSRSetWellKnownGeogCS(wgs84.get(), "WGS84");
    OSRSetAxisMappingStrategy(wgs84.get(), OAMS_TRADITIONAL_GIS_ORDER);
    // GeoJSON's coordinates are WGS 84 longitude and latitude by definition,
    // so it names no system.
    OGRSpatialReferenceH srs = format == GisFormat::GeoJson ? nullptr : wgs84.get();
    for (const LayerPlan& plan : plans) {
        if (std::string error = writeLayer(dataset.get(), srs, plan, format); !error.empty()) {
            return error;
        }
    }
    CPLErrorReset();
    dataset.reset();  // GDAL finishes the file when it closes it
    if (QuietGdalErrors::failed()) return "cannot finish it: " + QuietGdalErrors::last();
    return {};
}

}  // namespace tcmap
