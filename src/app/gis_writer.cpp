#include "app/gis_writer.h"

#include <cpl_conv.h>
#include <cpl_string.h>
#include <fcntl.h>
#include <gdal.h>
#include <ogr_api.h>
#include <ogr_srs_api.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>

#include "app/gdal_on_demand.h"

namespace tcmap {

namespace {

namespace fs = std::filesystem;

// GDAL reports through a handler of the calling thread: quiet while we
// write, the last message kept for ours.
class QuietGdalErrors {
  public:
    QuietGdalErrors() {
        CPLPushErrorHandler(CPLQuietErrorHandler);
        CPLErrorReset();
    }
    ~QuietGdalErrors() { CPLPopErrorHandler(); }
    QuietGdalErrors(const QuietGdalErrors&) = delete;
    QuietGdalErrors& operator=(const QuietGdalErrors&) = delete;

    static std::string last() {
        const char* message = CPLGetLastErrorMsg();
        return message != nullptr && *message != '\0' ? message : "GDAL gave no reason";
    }
    static bool failed() { return CPLGetLastErrorType() >= CE_Failure; }
};

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

OGRGeometryH ringOf(const GeoRing& points) {
    OGRGeometryH ring = OGR_G_CreateGeometry(wkbLinearRing);
    for (const GeoPoint& p : points) OGR_G_AddPoint_2D(ring, p.lon, p.lat);
    return ring;
}

// The feature's geometry, or null when it has none. Lines and polygons are
// always the multi kinds, so one layer holds one geometry type.
OGRGeometryH geometryOf(const GisFeature& feature) {
    if (feature.point) {
        OGRGeometryH point = OGR_G_CreateGeometry(wkbPoint);
        OGR_G_SetPoint_2D(point, 0, feature.point->lon, feature.point->lat);
        return point;
    }
    if (!feature.lines.empty()) {
        OGRGeometryH multi = OGR_G_CreateGeometry(wkbMultiLineString);
        for (const GisLine& line : feature.lines) {
            OGRGeometryH part = OGR_G_CreateGeometry(wkbLineString);
            for (const GeoPoint& p : line) OGR_G_AddPoint_2D(part, p.lon, p.lat);
            OGR_G_AddGeometryDirectly(multi, part);
        }
        return multi;
    }
    if (feature.polygons.empty()) return nullptr;
    OGRGeometryH multi = OGR_G_CreateGeometry(wkbMultiPolygon);
    for (const GeoPolygon& polygon : feature.polygons) {
        OGRGeometryH part = OGR_G_CreateGeometry(wkbPolygon);
        OGR_G_AddGeometryDirectly(part, ringOf(polygon.outer));
        for (const GeoRing& hole : polygon.holes) OGR_G_AddGeometryDirectly(part, ringOf(hole));
        OGR_G_AddGeometryDirectly(multi, part);
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

std::string writeLayer(GDALDatasetH dataset, OGRSpatialReferenceH wgs84, const GisLayer& layer,
                       GisFormat format) {
    const bool styled = format == GisFormat::Kml || format == GisFormat::Kmz;
    char** options = nullptr;
    if (format == GisFormat::GeoJson) {
        options = CSLSetNameValue(options, "RFC7946", "YES");
        // 0.0001 degree is 11 m, far finer than any fix's place; the default
        // seven decimals only make the file larger and slower to write.
        options = CSLSetNameValue(options, "COORDINATE_PRECISION", "4");
    }
    if (format == GisFormat::ShapefileFolder || format == GisFormat::ShapefileZip) {
        options = CSLSetNameValue(options, "ENCODING", "UTF-8");
    }
    OGRLayerH out = GDALDatasetCreateLayer(dataset, layer.name.c_str(), wgs84,
                                           layerType(layer.geometry), options);
    CSLDestroy(options);
    if (out == nullptr) return "layer " + layer.name + ": " + QuietGdalErrors::last();
    for (const GisFieldDef& field : layer.fields) {
        OGRFieldDefnH definition = OGR_Fld_Create(field.name.c_str(), fieldType(field.type));
        const OGRErr error = OGR_L_CreateField(out, definition, TRUE);
        OGR_Fld_Destroy(definition);
        if (error != OGRERR_NONE) {
            return "layer " + layer.name + ", field " + field.name + ": " + QuietGdalErrors::last();
        }
    }
    // A database format commits each feature on its own otherwise: one
    // transaction for the layer writes it in one go.
    const bool transaction = GDALDatasetTestCapability(dataset, ODsCTransactions) &&
                             GDALDatasetStartTransaction(dataset, FALSE) == OGRERR_NONE;
    OGRFeatureDefnH definition = OGR_L_GetLayerDefn(out);
    for (const GisFeature& feature : layer.features) {
        OGRFeatureH made = OGR_F_Create(definition);
        for (size_t i = 0; i < feature.values.size() && i < layer.fields.size(); ++i) {
            setValue(made, static_cast<int>(i), feature.values[i]);
        }
        if (OGRGeometryH geometry = geometryOf(feature)) {
            OGR_F_SetGeometryDirectly(made, geometry);
        }
        if (styled) OGR_F_SetStyleString(made, styleOf(feature).c_str());
        const OGRErr error = OGR_L_CreateFeature(out, made);
        OGR_F_Destroy(made);
        if (error != OGRERR_NONE) {
            if (transaction) GDALDatasetRollbackTransaction(dataset);
            return "layer " + layer.name + ": " + QuietGdalErrors::last();
        }
    }
    if (transaction && GDALDatasetCommitTransaction(dataset) != OGRERR_NONE) {
        return "layer " + layer.name + ": " + QuietGdalErrors::last();
    }
    return {};
}

// A name beside the destination that no other write uses.
std::string temporaryName(const fs::path& destination, GisFormat format) {
    static std::atomic<unsigned> counter{0};
    std::string name = "." + destination.filename().string() + ".part-" + std::to_string(getpid()) +
                       "-" + std::to_string(++counter);
    // Drivers that pick the kind of file by its name see the right ending;
    // a shapefile folder has none, or the driver would make a single file.
    switch (format) {
        case GisFormat::GeoJson:
            name += ".geojson";
            break;
        case GisFormat::Kml:
            name += ".kml";
            break;
        case GisFormat::Kmz:
            name += ".kmz";
            break;
        case GisFormat::GeoPackage:
            name += ".gpkg";
            break;
        case GisFormat::ShapefileZip:
            name += ".shp.zip";
            break;
        case GisFormat::ShapefileFolder:
        case GisFormat::None:
            break;
    }
    return (destination.parent_path() / name).string();
}

// Whether a folder holds only what a shapefile folder of ours holds, so
// replacing it loses nothing else.
bool holdsOnlyShapefiles(const fs::path& folder) {
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        const std::string ext = entry.path().extension().string();
        if (!entry.is_regular_file() ||
            (ext != ".shp" && ext != ".shx" && ext != ".dbf" && ext != ".prj" && ext != ".cpg")) {
            return false;
        }
    }
    return !error;
}

// Why `destination` cannot take the output, or "".
std::string checkDestination(const fs::path& destination, GisFormat format) {
    const fs::path folder = destination.parent_path();
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        return "the folder " + folder.string() + " does not exist";
    }
    if (::access(folder.c_str(), W_OK | X_OK) != 0) {
        return "cannot write into the folder " + folder.string() + ": " + std::strerror(errno);
    }
    std::error_code error;
    const fs::file_status status = fs::status(destination, error);
    if (!fs::exists(status)) return {};
    if (format == GisFormat::ShapefileFolder) {
        if (!fs::is_directory(status)) {
            return destination.string() + " is not a folder; a shapefile output is a folder";
        }
        if (!holdsOnlyShapefiles(destination)) {
            return destination.string() + " holds files other than shapefiles; it is not replaced";
        }
        return {};
    }
    if (!fs::is_regular_file(status)) return destination.string() + " is not a regular file";
    return {};
}

// The temporary file or folder takes the destination's name in one step.
std::string moveIntoPlace(const std::string& temporary, const fs::path& destination,
                          GisFormat format) {
    std::error_code error;
    if (format == GisFormat::ShapefileFolder && fs::is_directory(destination, error)) {
        if (::renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, destination.c_str(),
                        RENAME_EXCHANGE) != 0) {
            return "cannot replace " + destination.string() + ": " + std::strerror(errno);
        }
        fs::remove_all(temporary, error);  // now the old folder
        return {};
    }
    if (std::rename(temporary.c_str(), destination.c_str()) != 0) {
        return "cannot replace " + destination.string() + ": " + std::strerror(errno);
    }
    return {};
}

std::string writeInto(const std::string& temporary, const std::vector<GisLayer>& layers,
                      GisFormat format) {
    GDALDriverH driver = GDALGetDriverByName(gisDriverName(format));
    if (driver == nullptr) {
        return std::string("this GDAL has no ") + gisDriverName(format) + " driver";
    }
    const KmlUntypedAttributes untyped(format);
    Dataset dataset(GDALCreate(driver, temporary.c_str(), 0, 0, 0, GDT_Unknown, nullptr));
    if (!dataset) return "cannot create it: " + QuietGdalErrors::last();
    std::unique_ptr<void, SrsReleaser> wgs84(OSRNewSpatialReference(nullptr));
    OSRSetWellKnownGeogCS(wgs84.get(), "WGS84");
    OSRSetAxisMappingStrategy(wgs84.get(), OAMS_TRADITIONAL_GIS_ORDER);
    for (const GisLayer& layer : layers) {
        if (std::string error = writeLayer(dataset.get(), wgs84.get(), layer, format);
            !error.empty()) {
            return error;
        }
    }
    CPLErrorReset();
    dataset.reset();  // GDAL finishes the file when it closes it
    if (QuietGdalErrors::failed()) return "cannot finish it: " + QuietGdalErrors::last();
    return {};
}

}  // namespace

std::string writeGisFile(const std::vector<GisLayer>& layers, const std::string& path,
                         GisFormat format) {
    if (format == GisFormat::None) return "not a GIS file name";
    if (std::string problem = openGdalOnDemand(); !problem.empty()) return problem;
    static std::once_flag registered;
    std::call_once(registered, [] { GDALAllRegister(); });
    fs::path destination = fs::absolute(path);
    // A link leads to the file it names, which is replaced.
    std::error_code linkError;
    if (fs::is_symlink(fs::symlink_status(destination, linkError))) {
        destination = fs::weakly_canonical(destination, linkError);
    }
    if (std::string refusal = checkDestination(destination, format); !refusal.empty()) {
        return refusal;
    }
    QuietGdalErrors quiet;
    const std::string temporary = temporaryName(destination, format);
    std::string failure = writeInto(temporary, layers, format);
    if (failure.empty()) failure = moveIntoPlace(temporary, destination, format);
    if (!failure.empty()) {
        std::error_code ignored;
        fs::remove_all(temporary, ignored);
    }
    return failure;
}

}  // namespace tcmap
