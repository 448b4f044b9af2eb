#include "app/gis_writer.h"

#include <cpl_conv.h>
#include <cpl_string.h>
#include <cpl_vsi.h>
#include <fcntl.h>
#include <gdal.h>
#include <ogr_api.h>
#include <ogr_srs_api.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string_view>
#include <thread>

#include "app/gdal_on_demand.h"
#include "app/geojson_parts.h"

namespace tcmap {

namespace {

namespace fs = std::filesystem;

constexpr const char* kMergedLayerName = "tcmap";
// Fewer features are written at once faster than a thread starts.
constexpr size_t kFeaturesWorthParts = 2000;

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

size_t pointsOf(const GisFeature& feature) {
    size_t points = feature.point ? 1 : 0;
    for (const GisLine& line : feature.lines) points += line.size();
    for (const GeoPolygon& polygon : feature.polygons) {
        points += polygon.outer.size();
        for (const GeoRing& hole : polygon.holes) points += hole.size();
    }
    return points;
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

// What one layer of the file holds: the source layers whose features it
// takes (one, or all of them merged for GeoJSON) and where their fields go.
struct LayerPlan {
    std::string name;
    OGRwkbGeometryType type = wkbUnknown;
    std::vector<GisFieldDef> fields;
    std::vector<const GisLayer*> sources;
    std::vector<std::vector<size_t>> places;  // per source: its fields' indices
    bool nameField = false;                   // field 0 names each feature's layer
    // The run of the sources' features, counted across them all in order.
    size_t begin = 0;
    size_t end = SIZE_MAX;
};

LayerPlan planOf(const GisLayer& layer) {
    LayerPlan plan{layer.name, layerType(layer.geometry), layer.fields, {&layer}, {}, false};
    std::vector<size_t>& place = plan.places.emplace_back();
    for (size_t i = 0; i < layer.fields.size(); ++i) place.push_back(i);
    return plan;
}

// GeoJSON holds one collection: every layer goes in, each feature named by
// its layer. The features are read where they are, never copied: a season
// is hundreds of thousands of them.
LayerPlan mergedPlan(const std::vector<GisLayer>& layers) {
    MergedFields merged = mergedFields(layers);
    LayerPlan plan{kMergedLayerName,         wkbUnknown, std::move(merged.fields), {},
                   std::move(merged.places), true};
    for (const GisLayer& layer : layers) plan.sources.push_back(&layer);
    return plan;
}

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
            if (index < plan.begin || index >= plan.end) {
                ++index;
                continue;
            }
            ++index;
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

// Writes the layers of `plans` into a new dataset `name` and closes it.
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

struct VsiFreer {
    void operator()(GByte* bytes) const { VSIFree(bytes); }
};

// A file GDAL wrote in memory, taken out of its memory file system.
struct MemoryFile {
    std::unique_ptr<GByte, VsiFreer> bytes;
    size_t size = 0;

    std::string_view text() const {
        return {reinterpret_cast<const char*>(bytes.get()), bytes ? size : 0};
    }
};

// One run of the collection's features, written by GDAL into memory.
std::string writeGeoJsonPart(const LayerPlan& plan, const std::string& name, MemoryFile& file) {
    try {
        const QuietGdalErrors quiet;  // this thread's messages
        std::string error = writeDataset(name, {plan}, GisFormat::GeoJson);
        vsi_l_offset size = 0;
        file.bytes.reset(VSIGetMemFileBuffer(name.c_str(), &size, TRUE));
        file.size = static_cast<size_t>(size);
        if (error.empty() && !file.bytes) error = "a part written in memory was lost";
        return error;
    } catch (const std::exception& e) {
        return std::string("cannot write a part of it: ") + e.what();
    }
}

std::string writeAll(std::FILE* out, std::string_view text) {
    if (!text.empty() && std::fwrite(text.data(), 1, text.size(), out) != text.size()) {
        return std::string("cannot write it: ") + std::strerror(errno);
    }
    return {};
}

// The parts' collections joined into one file: the first one's header, every
// part's features, and the end.
std::string joinGeoJsonParts(const std::string& temporary, const std::vector<MemoryFile>& files) {
    std::vector<CollectionText> parts;
    for (const MemoryFile& file : files) {
        std::optional<CollectionText> part = collectionText(file.text());
        if (!part) return "GDAL wrote a part of it in a layout this program does not join";
        parts.push_back(*part);
    }
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> out(std::fopen(temporary.c_str(), "wbx"),
                                                        &std::fclose);
    if (!out) return std::string("cannot create it: ") + std::strerror(errno);
    std::string error = writeAll(out.get(), parts.front().header);
    bool first = true;
    for (const CollectionText& part : parts) {
        if (!error.empty() || part.body.empty()) continue;
        if (!first) error = writeAll(out.get(), ",\n");
        if (error.empty()) error = writeAll(out.get(), part.body);
        first = false;
    }
    if (error.empty()) error = writeAll(out.get(), kCollectionEnd);
    if (std::fclose(out.release()) != 0 && error.empty()) {
        error = std::string("cannot write it: ") + std::strerror(errno);
    }
    return error;
}

// A GeoJSON of many features is written by several GDAL writers at once,
// each into memory, and their collections joined: GDAL spends a season's
// writing time formatting numbers, one feature after another.
std::string writeGeoJson(const std::string& temporary, const std::vector<GisLayer>& layers,
                         size_t threads) {
    const LayerPlan whole = mergedPlan(layers);
    std::vector<size_t> weights;
    for (const GisLayer& layer : layers) {
        for (const GisFeature& feature : layer.features) weights.push_back(1 + pointsOf(feature));
    }
    const std::vector<size_t> cuts = weights.size() < kFeaturesWorthParts
                                         ? std::vector<size_t>{}
                                         : balancedCuts(weights, threads);
    if (cuts.empty()) return writeDataset(temporary, {whole}, GisFormat::GeoJson);

    static std::atomic<unsigned> counter{0};
    const std::string stem =
        "/vsimem/tcmap-" + std::to_string(getpid()) + "-" + std::to_string(++counter) + "-part";
    const size_t count = cuts.size() + 1;
    std::vector<MemoryFile> files(count);
    std::vector<std::string> errors(count);
    const auto writePart = [&](size_t k) {
        LayerPlan plan = whole;
        plan.begin = k == 0 ? 0 : cuts[k - 1];
        plan.end = k < cuts.size() ? cuts[k] : SIZE_MAX;
        errors[k] = writeGeoJsonPart(plan, stem + std::to_string(k) + ".geojson", files[k]);
    };
    std::vector<std::thread> helpers;
    for (size_t k = 1; k < count; ++k) helpers.emplace_back(writePart, k);
    writePart(0);
    for (std::thread& helper : helpers) helper.join();
    for (const std::string& error : errors) {
        if (!error.empty()) return error;
    }
    return joinGeoJsonParts(temporary, files);
}

std::string writeInto(const std::string& temporary, const std::vector<GisLayer>& layers,
                      GisFormat format, size_t threads) {
    if (format == GisFormat::GeoJson) return writeGeoJson(temporary, layers, threads);
    std::vector<LayerPlan> plans;
    for (const GisLayer& layer : layers) plans.push_back(planOf(layer));
    return writeDataset(temporary, plans, format);
}

// GDAL and its drivers, loaded once; "" when they are there.
std::string loadGdalDrivers() {
    if (std::string problem = openGdalOnDemand(); !problem.empty()) return problem;
    static std::once_flag registered;
    std::call_once(registered, [] { GDALAllRegister(); });
    return {};
}

}  // namespace

GisWriterWarmUp::GisWriterWarmUp() : thread_([] { loadGdalDrivers(); }) {}

GisWriterWarmUp::~GisWriterWarmUp() {
    thread_.join();
}

size_t gisWriterThreads() {
    return std::clamp<size_t>(std::thread::hardware_concurrency(), 1, 4);
}

std::string writeGisFile(const std::vector<GisLayer>& layers, const std::string& path,
                         GisFormat format, size_t threads) {
    if (format == GisFormat::None) return "not a GIS file name";
    if (std::string problem = loadGdalDrivers(); !problem.empty()) return problem;
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
    std::string failure = writeInto(temporary, layers, format, threads);
    if (failure.empty()) failure = moveIntoPlace(temporary, destination, format);
    if (!failure.empty()) {
        std::error_code ignored;
        fs::remove_all(temporary, ignored);
    }
    return failure;
}

}  // namespace tcmap
