// GIS outputs read back with GDAL's own tools (ogrinfo, ogr2ogr from gdal-bin):
// what the drawing drew is what the file holds, in every format, and a file
// that cannot be written leaves nothing behind.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/forecast_gis_layers.h"
#include "app/gis_layers.h"
#include "app/gis_writer.h"
#include "base/file_io.h"
#include "render/forecast_geometry.h"
#include "render/geodesic_shapes.h"
#include "support/external_tool.h"
#include "support/private_run_folder.h"
#include "support/tcmap_process.h"
#include "support/temp_folder.h"

using tcmap::GeoPoint;
using tcmap::GisLine;
using tcmap::testing::PrivateRunFolder;
using tcmap::testing::runTool;
using tcmap::testing::shellQuoted;
using tcmap::testing::TcmapOptions;
using tcmap::testing::TcmapProcess;
using tcmap::testing::TempFolder;
using tcmap::testing::toolInstalled;

namespace {

const std::string kSandy = TCMAP_SOURCE_DIR "/tests/data/track/atcf/bal182012.dat";
// Harold (2020) goes from 179.7E to 178.1W.
const std::string kHarold = TCMAP_SOURCE_DIR "/tests/data/gis/bsh252020.dat";

// Every longitude in -180 .. 180 and no step longer than 180 degrees.
void expectLinesOnTheGlobe(const std::vector<GisLine>& lines) {
    for (const GisLine& line : lines) {
        for (size_t i = 0; i < line.size(); ++i) {
            EXPECT_GE(line[i].lon, -180.0);
            EXPECT_LE(line[i].lon, 180.0);
            if (i > 0) {
                EXPECT_LE(std::fabs(line[i].lon - line[i - 1].lon), 180.0);
            }
        }
    }
}

TEST(GisLines, ALineIsCutWhereItCrossesTheAntimeridian) {
    const struct {
        const char* what;
        std::vector<GeoPoint> points;  // lat, lon
        size_t pieces;
        double cutLat;  // latitude where the first piece ends at 180 (NaN: no cut)
    } rows[] = {
        {"east of it", {{0, 170}, {5, 175}}, 1, NAN},
        {"eastward across", {{10, 179}, {20, -179}}, 2, 15},
        {"westward across", {{10, -179}, {20, 179}}, 2, 15},
        {"across and back", {{0, 170}, {0, -170}, {0, 170}}, 3, 0},
        {"given past 180", {{0, 190}, {0, 200}}, 1, NAN},
        {"through 180 exactly", {{0, 175}, {0, 180}, {0, -175}}, 2, 0},
        {"a single fix", {{0, 175}}, 0, NAN},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        const std::vector<GisLine> lines = tcmap::splitLineAtAntimeridian(row.points);
        ASSERT_EQ(lines.size(), row.pieces);
        expectLinesOnTheGlobe(lines);
        if (lines.empty()) continue;
        // The ends are the fixes' own places, moved into -180 .. 180.
        EXPECT_EQ(lines.front().front().lat, row.points.front().lat);
        EXPECT_EQ(lines.back().back().lat, row.points.back().lat);
        if (std::isnan(row.cutLat)) continue;
        EXPECT_EQ(std::fabs(lines[0].back().lon), 180.0);
        EXPECT_DOUBLE_EQ(lines[0].back().lat, row.cutLat);
        // The next piece starts where this one ended, on the other side.
        EXPECT_EQ(lines[1].front().lon, -lines[0].back().lon);
        EXPECT_DOUBLE_EQ(lines[1].front().lat, row.cutLat);
    }
}

// Fewer vertices for small radii, yet every chord of a quadrant's arc stays
// within half a nautical mile of the circle, at the equator and far north.
TEST(GisRadii, AQuadrantArcKeepsCloseToItsCircleWithFewVertices) {
    const struct {
        double radiusNm;
        int atMostSegments;
    } rows[] = {{0, 2}, {10, 4}, {34, 5}, {100, 8}, {250, 13}, {600, 16}, {1200, 16}};
    int previous = 0;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.radiusNm);
        const int segments = tcmap::quadrantSegments(row.radiusNm);
        EXPECT_LE(segments, row.atMostSegments);
        EXPECT_GE(segments, previous);
        previous = segments;
        for (const GeoPoint centre : {GeoPoint{0, -100}, GeoPoint{60, 170}}) {
            for (int q = 0; q < 4; ++q) {
                const auto ring = tcmap::quadrantPoints(centre, row.radiusNm, q, segments);
                // The ring is the centre, then the arc. Radii so large that
                // they need more than 16 segments keep the 16 they always had.
                if (segments == 16) continue;
                for (size_t i = 2; i < ring.size(); ++i) {
                    const GeoPoint middle{(ring[i - 1].lat + ring[i].lat) / 2,
                                          (ring[i - 1].lon + ring[i].lon) / 2};
                    EXPECT_GT(tcmap::greatCircleNm(centre, middle), row.radiusNm - 0.6);
                }
            }
        }
    }
}

// The GIS tools are a test dependency: missing, a test skips by their name.
bool gdalToolsMissing() {
    return !toolInstalled("ogrinfo") || !toolInstalled("ogr2ogr");
}

// "Layer name: X" ... "Feature Count: N" of `ogrinfo -al -so`.
std::map<std::string, long> featureCounts(const std::string& output) {
    std::map<std::string, long> counts;
    std::istringstream lines(output);
    std::string line, layer;
    while (std::getline(lines, line)) {
        if (line.rfind("Layer name: ", 0) == 0) layer = line.substr(12);
        if (line.rfind("Feature Count: ", 0) == 0) counts[layer] = std::stol(line.substr(15));
    }
    return counts;
}

// A layer of a GIS file converted to GeoJSON by ogr2ogr.
nlohmann::json layerAsGeoJson(const std::string& file, const std::string& layer,
                              const std::string& where = "") {
    std::string command =
        "ogr2ogr -f GeoJSON /vsistdout/ " + shellQuoted(file) + " " + shellQuoted(layer);
    if (!where.empty()) command += " -where " + shellQuoted(where);
    const auto run = runTool(command);
    EXPECT_EQ(run.exitCode, 0) << run.output;
    return nlohmann::json::parse(run.output, nullptr, false);
}

// Fix times of an ATCF best track: each distinct date-time is one fix.
size_t fixTimes(const std::string& path) {
    std::set<std::string> times;
    std::istringstream lines(tcmap::readFileOrEmpty(path));
    std::string line;
    while (std::getline(lines, line)) {
        const size_t first = line.find(',');
        const size_t second = line.find(',', first + 1);
        if (second != std::string::npos) times.insert(line.substr(second + 1, 12));
    }
    return times.size();
}

struct InfoLine {
    int peakWind = 0;
    int lowestPressure = 0;
    double ace = 0;
};

InfoLine infoLineOf(const std::string& err) {
    InfoLine info;
    const size_t at = err.rfind("VMAX: ");
    if (at != std::string::npos) {
        std::sscanf(err.c_str() + at, "VMAX: %dkts  MSLP: %dmb  ACE: %lf", &info.peakWind,
                    &info.lowestPressure, &info.ace);
    }
    return info;
}

double numberOf(const nlohmann::json& value) {
    return value.is_string() ? std::stod(value.get<std::string>()) : value.get<double>();
}

class GisFiles : public ::testing::Test {
  protected:
    struct Run {
        int exitCode = -1;
        std::string err;
    };

    // Sandy and Harold drawn with every fix, into `name` in the test's folder.
    Run drawBoth(const std::string& name) const {
        const std::string command =
            "cd " + shellQuoted(folder.path()) + " && " + shellQuoted(run.executable()) +
            " draw --set Borvane4.AllPoints=1 --set Borvane4.SkipInvest=0 " + shellQuoted(kSandy) +
            " " + shellQuoted(kHarold) + " -o " + shellQuoted(name);
        const auto tool = runTool(command);
        return {tool.exitCode, tool.output};
    }

    const PrivateRunFolder run;
    const TempFolder folder;
};

TEST_F(GisFiles, EveryFormatHoldsTheDrawnStormsAndFixesWithTheInfoLinesStatistics) {
    if (gdalToolsMissing()) GTEST_SKIP() << "ogrinfo and ogr2ogr (gdal-bin) are not installed";
#if defined(__SANITIZE_THREAD__)
    // Twelve whole runs under ThreadSanitizer outlast the test timeout; these
    // files are too small to be written in parts (GeoJsonFile tests the
    // writer's threads), and the normal and ASan builds read back every format.
    GTEST_SKIP() << "every format's read-back runs in the normal and ASan builds";
#endif
    const long fixes = static_cast<long>(fixTimes(kSandy) + fixTimes(kHarold));
    const struct {
        const char* name;
        const char* storms;  // the storms' layer, and what selects them there
        const char* where;
    } rows[] = {
        {"season.geojson", "tcmap", "layer = 'storms'"},
        {"season.kml", "storms", ""},
        {"season.kmz", "storms", ""},
        {"season.gpkg", "storms", ""},
        {"season.shp", "storms", ""},
        {"season.shp.zip", "storms", ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const Run drawn = drawBoth(row.name);
        ASSERT_EQ(drawn.exitCode, 0) << drawn.err;
        const std::string file = folder.file(row.name);
        const auto info = runTool("ogrinfo -ro -al -so " + shellQuoted(file));
        ASSERT_EQ(info.exitCode, 0) << info.output;
        const auto counts = featureCounts(info.output);
        if (std::string(row.storms) == "tcmap") {
            EXPECT_EQ(counts.size(), 1u);  // one collection holds every layer
            EXPECT_EQ(layerAsGeoJson(file, "tcmap", "layer = 'fixes'")["features"].size(),
                      static_cast<size_t>(fixes));
        } else {
            EXPECT_EQ(counts.at("storms"), 2);
            EXPECT_EQ(counts.at("fixes"), fixes);
            EXPECT_GT(counts.at("wind_radii"), 0);
        }
        // The storms' statistics add up to the info line.
        const nlohmann::json storms = layerAsGeoJson(file, row.storms, row.where);
        ASSERT_EQ(storms["features"].size(), 2u) << storms.dump();
        const InfoLine line = infoLineOf(drawn.err);
        double peak = 0, lowest = 1e9, ace = 0, stormFixes = 0;
        std::set<std::string> names;
        for (const auto& storm : storms["features"]) {
            const auto& p = storm["properties"];
            peak = std::max(peak, numberOf(p["peak_wind"]));
            lowest = std::min(lowest, numberOf(p["min_pres"]));
            ace += numberOf(p["ace"]);
            stormFixes += numberOf(p["fixes"]);
            // KML keeps the name as the placemark's own.
            names.insert(p.value("name", p.value("Name", std::string())));
        }
        EXPECT_EQ(names, (std::set<std::string>{"SANDY", "HAROLD"}));
        EXPECT_EQ(peak, line.peakWind);
        EXPECT_EQ(lowest, line.lowestPressure);
        EXPECT_NEAR(ace, line.ace, 0.01);
        EXPECT_EQ(stormFixes, fixes);
    }
}

TEST_F(GisFiles, AStormAcross180IsAMultiLineWithNoStepLongerThan180Degrees) {
    if (gdalToolsMissing()) GTEST_SKIP() << "ogrinfo and ogr2ogr (gdal-bin) are not installed";
    ASSERT_EQ(drawBoth("harold.gpkg").exitCode, 0);
    const nlohmann::json storms =
        layerAsGeoJson(folder.file("harold.gpkg"), "storms", "name = 'HAROLD'");
    ASSERT_EQ(storms["features"].size(), 1u);
    const auto& geometry = storms["features"][0]["geometry"];
    EXPECT_EQ(geometry["type"], "MultiLineString");
    ASSERT_EQ(geometry["coordinates"].size(), 2u);
    std::vector<GisLine> lines;
    for (const auto& part : geometry["coordinates"]) {
        GisLine& line = lines.emplace_back();
        for (const auto& point : part) line.push_back({point[1], point[0]});
    }
    expectLinesOnTheGlobe(lines);
    EXPECT_EQ(lines[0].back().lon, 180.0);
    EXPECT_EQ(lines[1].front().lon, -180.0);
}

TEST_F(GisFiles, TheKmlIsXmlWithAPlacemarkPerFixColouredByCategory) {
    if (!toolInstalled("xmllint")) GTEST_SKIP() << "xmllint (libxml2-utils) is not installed";
    ASSERT_EQ(drawBoth("season.kml").exitCode, 0);
    const std::string file = shellQuoted(folder.file("season.kml"));
    const auto count = [&](const std::string& path) {
        const auto run =
            runTool("xmllint --xpath " + shellQuoted("count(" + path + ")") + " " + file);
        EXPECT_EQ(run.exitCode, 0) << run.output;
        return run.output.substr(0, run.output.find('\n'));
    };
    const std::string fixes = "//*[local-name()='Document'][*[local-name()='name']='fixes']";
    EXPECT_EQ(count(fixes + "/*[local-name()='Placemark']"),
              std::to_string(fixTimes(kSandy) + fixTimes(kHarold)));
    EXPECT_EQ(count(fixes + "//*[local-name()='IconStyle']/*[local-name()='color']"),
              std::to_string(fixTimes(kSandy) + fixTimes(kHarold)));
}

// The [lon, lat] extent of a GeoJSON geometry's coordinates.
struct Extent {
    double west = 1e9, east = -1e9, south = 1e9, north = -1e9;
    bool holds(const Extent& other) const {
        return west <= other.west && other.east <= east && south <= other.south &&
               other.north <= north;
    }
};

void growExtent(const nlohmann::json& coordinates, Extent& extent) {
    if (!coordinates.is_array() || coordinates.empty()) return;
    // A position: [lon, lat] or [lon, lat, height].
    if (coordinates.size() >= 2 && coordinates[0].is_number()) {
        extent.west = std::min(extent.west, coordinates[0].get<double>());
        extent.east = std::max(extent.east, coordinates[0].get<double>());
        extent.south = std::min(extent.south, coordinates[1].get<double>());
        extent.north = std::max(extent.north, coordinates[1].get<double>());
        return;
    }
    for (const auto& part : coordinates) growExtent(part, extent);
}

// KML gives back a multi-polygon of one part as a polygon.
bool isPolygonal(const nlohmann::json& geometry) {
    return geometry["type"] == "MultiPolygon" || geometry["type"] == "Polygon";
}

TEST_F(GisFiles, TheConeAndSwathAreLayersOfPolygonsWithTheirDaysAndWinds) {
    if (gdalToolsMissing()) GTEST_SKIP() << "ogrinfo and ogr2ogr (gdal-bin) are not installed";
    const std::string cases =
        TCMAP_SOURCE_DIR "/tests/visual/regional-tcv-forecast-cone-swath-sandy-en/";
    for (const char* name : {"sandy.gpkg", "sandy.kml"}) {
        SCOPED_TRACE(name);
        // `draw` turns the cone and the swath on.
        const auto drawn =
            runTool("cd " + shellQuoted(folder.path()) + " && " + shellQuoted(run.executable()) +
                    " draw --style tcv " + shellQuoted(cases + "aal182012-one-cycle.dat") + " " +
                    shellQuoted(cases + "bal182012.dat") + " -o " + name);
        ASSERT_EQ(drawn.exitCode, 0) << drawn.output;
        const std::string file = folder.file(name);
        const nlohmann::json cone = layerAsGeoJson(file, "cone");
        std::set<std::string> days;
        for (const auto& feature : cone["features"]) {
            days.insert(feature["properties"]["days"].get<std::string>());
            EXPECT_TRUE(isPolygonal(feature["geometry"])) << feature["geometry"]["type"];
        }
        EXPECT_EQ(days, (std::set<std::string>{"1-3", "4-5"}));
        const nlohmann::json swath = layerAsGeoJson(file, "swath");
        std::map<int, Extent> extents;
        for (const auto& feature : swath["features"]) {
            EXPECT_TRUE(isPolygonal(feature["geometry"])) << feature["geometry"]["type"];
            growExtent(feature["geometry"]["coordinates"],
                       extents[static_cast<int>(numberOf(feature["properties"]["wind_kt"]))]);
        }
        ASSERT_EQ(extents.size(), 3u);
        // Stronger winds blow over a part of where weaker ones do.
        EXPECT_TRUE(extents[34].holds(extents[50]));
        EXPECT_TRUE(extents[50].holds(extents[64]));
        // Sandy's gales reached from the Caribbean to the Great Lakes.
        EXPECT_LT(extents[34].south, 20.0);
        EXPECT_GT(extents[34].north, 40.0);
        EXPECT_LT(extents[34].west, -75.0);
    }
}

// No file of ours in the folder but `keep`: no temporary file was left.
void expectOnly(const std::string& folder, const std::set<std::string>& keep) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    EXPECT_EQ(names, keep);
}

TEST_F(GisFiles, BatchModeIntoAReadOnlyFolderSaysWhyAndWritesNothing) {
    ASSERT_EQ(::mkdir(folder.file("locked").c_str(), 0555), 0);
    TcmapOptions options;
    options.withoutFileOverride = true;  // root could write there all the same
    options.stderrPath = folder.file("err.txt");
    const std::string out = folder.file("locked/season.geojson");
    TcmapProcess process(run, {"~nogui", run.file("Settings.ini"), out, kSandy}, options);
    const int code = process.wait();
    ::chmod(folder.file("locked").c_str(), 0755);
    if (code == tcmap::testing::kCannotDropOverride) GTEST_SKIP() << "cannot drop root's override";
    EXPECT_EQ(code, 1);
    const std::string err = process.err();
    EXPECT_NE(
        err.find("cannot write into the folder " + folder.file("locked") + ": Permission denied"),
        std::string::npos)
        << err;
    expectOnly(folder.file("locked"), {});
}

// A Track of fixes at the given latitudes along 10E, with statistics.
tcmap::Track trackAt(std::initializer_list<double> latitudes) {
    tcmap::Track track;
    track.source = "test.dat";
    track.stormId = "WP01";
    track.statistics = tcmap::StormStatistics{50, 990, 1.0};
    int line = 0;
    for (double lat : latitudes) {
        tcmap::Fix& fix = track.fixes.emplace_back();
        fix.basin = "WP";
        fix.number = "01";
        fix.time = "20200101" + std::to_string(10 + line) + "00";
        fix.latitude = lat;
        fix.longitude = 10;
        fix.wind = 50;
        fix.fields = 28;
        fix.line = ++line;
        fix.radii.push_back({34, {50, 50, 50, 50}});
    }
    return track;
}

TEST(GisWrite, BadInputGetsAClearMessageAndLeavesTheOldFileWhole) {
    const TempFolder folder;
    const std::string old = folder.put("old.gpkg", "yesterday's layers");
    std::filesystem::create_directory(folder.file("mine"));
    folder.put("mine/notes.txt", "not a shapefile");
    tcmap::GisLayer extra;
    extra.name = "fixes";
    extra.geometry = tcmap::GisGeometry::Polygon;
    const struct {
        const char* what;
        std::vector<tcmap::Track> tracks;
        std::vector<tcmap::GisLayer> extra;
        std::string path;
        std::string message;
    } rows[] = {
        {"a layer that exists", {trackAt({10, 11})}, {extra}, old, "two layers are named"},
        {"a fix beyond the pole", {trackAt({89, 91})}, {}, old, "has no place on the globe"},
        {"a missing folder", {trackAt({10})}, {}, folder.file("gone/x.kml"), "does not exist"},
        {"someone else's folder",
         {trackAt({10})},
         {},
         folder.file("mine"),
         "files other than shapefiles"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        tcmap::GisLayerSet set = tcmap::gisLayersOf(row.tracks, {}, row.extra);
        std::string failure = set.error;
        if (failure.empty()) {
            const tcmap::GisFormat format = std::string(row.what) == "someone else's folder"
                                                ? tcmap::GisFormat::ShapefileFolder
                                                : tcmap::gisFormatOf(row.path);
            failure = tcmap::writeGisFile(set.layers, row.path, format);
        }
        EXPECT_NE(failure.find(row.message), std::string::npos) << failure;
        EXPECT_EQ(tcmap::readFileOrEmpty(old), "yesterday's layers");
        EXPECT_EQ(tcmap::readFileOrEmpty(folder.file("mine/notes.txt")), "not a shapefile");
        expectOnly(folder.path(), {"old.gpkg", "mine"});
    }
}

TEST(GisWrite, AFixAtAPoleIsWrittenWithoutItsRadiiAndSaysSo) {
    const tcmap::GisLayerSet set = tcmap::gisLayersOf({trackAt({89, 90})});
    ASSERT_TRUE(set.error.empty()) << set.error;
    ASSERT_EQ(set.notes.size(), 2u);  // the place, and its radii left out
    EXPECT_NE(set.notes[0].find("line 2 lies at a pole"), std::string::npos) << set.notes[0];
    const tcmap::GisLayer& fixes = set.layers[1];
    ASSERT_EQ(fixes.features.size(), 2u);
    EXPECT_EQ(fixes.features[1].point->lon, 0.0);
    // Four quadrants of 34 kt at the first fix only.
    EXPECT_EQ(set.layers[2].features.size(), 4u);
}

TEST(GisWrite, AShapefileFolderOfOursIsReplacedAsAWhole) {
    if (gdalToolsMissing()) GTEST_SKIP() << "ogrinfo and ogr2ogr (gdal-bin) are not installed";
    const TempFolder folder;
    const std::string path = folder.file("tracks.shp");
    const tcmap::GisLayerSet two = tcmap::gisLayersOf({trackAt({10, 11})});
    ASSERT_EQ(tcmap::writeGisFile(two.layers, path, tcmap::GisFormat::ShapefileFolder), "");
    const tcmap::GisLayerSet three = tcmap::gisLayersOf({trackAt({10, 11, 12})});
    ASSERT_EQ(tcmap::writeGisFile(three.layers, path, tcmap::GisFormat::ShapefileFolder), "");
    const auto info = runTool("ogrinfo -ro -al -so " + shellQuoted(path));
    ASSERT_EQ(info.exitCode, 0) << info.output;
    EXPECT_EQ(featureCounts(info.output).at("fixes"), 3);
    expectOnly(folder.path(), {"tracks.shp"});
}

// A square ring of `side` degrees from (lat, lon), closed.
tcmap::GeoShape squareAt(double lat, double lon, double side) {
    return {tcmap::GeoPolygon{
        {{lat, lon}, {lat, lon + side}, {lat + side, lon + side}, {lat + side, lon}, {lat, lon}},
        {}}};
}

TEST(GisForecastAreas, EachAreaDrawnIsAFeatureOfItsLayerOnTheGlobe) {
    tcmap::ForecastScene across;  // a swath running on past 180 degrees
    across.swath[0] = squareAt(10, 175, 10);
    across.swath[2] = squareAt(12, 178, 1);
    tcmap::ForecastScene cone;
    cone.coneDays1to3 = squareAt(20, -80, 5);
    const struct {
        const char* what;
        tcmap::ForecastScene scene;
        std::vector<std::string> layers;
        std::vector<size_t> features;
        std::vector<size_t> polygons;  // of the first feature of each layer
    } rows[] = {
        {"nothing drawn", {}, {}, {}, {}},
        {"a cone of days 1-3", cone, {"cone"}, {1}, {1}},
        {"a swath across 180", across, {"swath"}, {2}, {2}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        const tcmap::GisLayerSet set =
            tcmap::gisLayersOf({trackAt({10, 11})}, {}, tcmap::forecastGisLayers(row.scene));
        ASSERT_TRUE(set.error.empty()) << set.error;
        ASSERT_EQ(set.layers.size(), 3 + row.layers.size());
        for (size_t i = 0; i < row.layers.size(); ++i) {
            const tcmap::GisLayer& layer = set.layers[3 + i];
            EXPECT_EQ(layer.name, row.layers[i]);
            ASSERT_EQ(layer.features.size(), row.features[i]);
            EXPECT_EQ(layer.features[0].polygons.size(), row.polygons[i]);
            for (const tcmap::GisFeature& feature : layer.features) {
                for (const tcmap::GeoPolygon& polygon : feature.polygons) {
                    for (const tcmap::GeoPoint& p : polygon.outer) {
                        EXPECT_GE(p.lon, -180.0);
                        EXPECT_LE(p.lon, 180.0);
                    }
                }
            }
        }
    }
    // The swath's features carry their thresholds, the weakest first.
    const auto swath = tcmap::forecastGisLayers(across);
    ASSERT_EQ(swath.size(), 1u);
    EXPECT_EQ(std::get<int64_t>(swath[0].features[0].values[0]), 34);
    EXPECT_EQ(std::get<int64_t>(swath[0].features[1].values[0]), 64);
}

// A season's worth of fixes in one KML layer: the placemarks are written in
// constant time each (a cost growing with the layer made this take many
// minutes, past the test's time limit), and every one comes back with its
// attributes.
TEST(GisWrite, AKmzOfASeasonsFixesHoldsEveryFixWithItsWind) {
    if (gdalToolsMissing()) GTEST_SKIP() << "ogrinfo and ogr2ogr (gdal-bin) are not installed";
    constexpr int kStorms = 1000, kFixesEach = 30;
    std::vector<tcmap::Track> tracks;
    for (int s = 0; s < kStorms; ++s) {
        tcmap::Track& track = tracks.emplace_back(trackAt({}));
        track.stormId = "EP" + std::to_string(s);
        for (int f = 0; f < kFixesEach; ++f) {
            tcmap::Fix& fix = track.fixes.emplace_back();
            fix.time = "2020010100";
            fix.latitude = 10 + f * 0.5;
            fix.longitude = -100 - s * 0.05;
            fix.wind = 20 + f;
            fix.fields = 28;
            fix.line = f + 1;
        }
    }
    const tcmap::GisLayerSet set = tcmap::gisLayersOf(tracks);
    ASSERT_TRUE(set.error.empty()) << set.error;
    const TempFolder folder;
    const std::string path = folder.file("season.kmz");
    ASSERT_EQ(tcmap::writeGisFile(set.layers, path, tcmap::GisFormat::Kmz), "");
    const auto info = runTool("ogrinfo -ro -al -so " + shellQuoted(path));
    ASSERT_EQ(info.exitCode, 0) << info.output;
    EXPECT_EQ(featureCounts(info.output).at("fixes"), kStorms * kFixesEach);
    const nlohmann::json strongest = layerAsGeoJson(path, "fixes", "wind = '49'");
    EXPECT_EQ(strongest["features"].size(), static_cast<size_t>(kStorms));
}

}  // namespace

// Track times become ISO 8601 in every attribute; anything else stays as it is.
TEST(GisLayers, TimesReadAsIso8601) {
    const struct {
        const char* in;
        const char* out;
    } rows[] = {
        {"2012102918", "2012-10-29T18:00Z"},
        {"201210221845", "2012-10-22T18:45Z"},
        {"20121029", "20121029"},
        {"2012102918Z", "2012102918Z"},
        {"20121029AB", "20121029AB"},
        {"", ""},
    };
    for (const auto& row : rows) EXPECT_EQ(tcmap::isoTimeOf(row.in), row.out) << row.in;
}
