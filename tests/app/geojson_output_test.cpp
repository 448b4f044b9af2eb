// GeoJSON as RFC 7946 asks, written by several GDAL writers at once and
// joined: the joined file must be the one a single writer makes.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "app/geojson_parts.h"
#include "app/gis_layers.h"
#include "app/gis_writer.h"
#include "base/file_io.h"
#include "support/temp_folder.h"

using tcmap::GeoPoint;
using tcmap::testing::TempFolder;

namespace {

TEST(GeoJsonParts, CutsShareTheWeightAndLeaveNoRunEmpty) {
    const struct {
        const char* what;
        std::vector<size_t> weights;
        size_t parts;
        std::vector<size_t> cuts;
    } rows[] = {
        {"one part", {1, 1, 1, 1}, 1, {}},
        {"one feature", {5}, 3, {}},
        {"even halves", {1, 1, 1, 1}, 2, {2}},
        {"a heavy first feature", {10, 1, 1, 1}, 2, {1}},
        {"a heavy last feature", {1, 1, 1, 10}, 2, {3}},
        {"thirds", {2, 2, 2, 2, 2, 2}, 3, {2, 4}},
        {"more parts than features", {1, 1}, 4, {1}},
        {"no weight at all", {0, 0, 0}, 2, {1}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(tcmap::balancedCuts(row.weights, row.parts), row.cuts);
    }
}

TEST(GeoJsonParts, TheHeaderAndFeaturesOfACollection) {
    const std::string header = "{\n\"type\": \"FeatureCollection\",\n\"features\": [\n";
    const struct {
        const char* what;
        std::string text;
        bool found;
        std::string body;
    } rows[] = {
        {"two features", header + "{ \"a\": 1 },\n{ \"b\": 2 }\n]\n}\n", true,
         "{ \"a\": 1 },\n{ \"b\": 2 }"},
        {"no feature", header + "]\n}\n", true, ""},
        {"no feature, a blank line", header + "\n]\n}\n", true, ""},
        // A property naming "features" comes after the header's own.
        {"a property that looks like the header",
         header + "{ \"p\": \"\\\"features\\\": [\\n\" }\n]\n}\n", true,
         "{ \"p\": \"\\\"features\\\": [\\n\" }"},
        {"cut short", header + "{ \"a\": 1 },\n{ \"b\"", false, ""},
        {"no features member", "{\n\"type\": \"Feature\"\n}\n", false, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        const auto parts = tcmap::collectionText(row.text);
        ASSERT_EQ(parts.has_value(), row.found);
        if (!parts) continue;
        EXPECT_EQ(parts->header, header);
        EXPECT_EQ(parts->body, row.body);
    }
}

// A storm of `count` fixes eastward across 180, each with its four 34-kt
// quadrants: a feature list long enough to be written in parts.
tcmap::Track longStorm(int count) {
    tcmap::Track track;
    track.source = "long.dat";
    track.stormId = "WP01";
    track.name = "LONG";
    track.statistics = tcmap::StormStatistics{80, 950, 12.5};
    for (int i = 0; i < count; ++i) {
        tcmap::Fix& fix = track.fixes.emplace_back();
        fix.basin = "WP";
        fix.number = "01";
        fix.time = "2020010100";
        fix.latitude = 10.0 + 0.0001 * i;
        fix.longitude = 170.0 + 20.0 * i / count;
        fix.wind = 30 + i % 120;
        fix.pressure = 1000 - i % 60;
        fix.fields = 28;
        fix.line = i + 1;
        fix.radii.push_back({34, {40 + i % 50, 60, 80, 100}});
    }
    return track;
}

// A square with a square hole, both given clockwise.
tcmap::GisLayer ringLayer() {
    tcmap::GisLayer layer;
    layer.name = "rings";
    layer.geometry = tcmap::GisGeometry::Polygon;
    layer.fields = {{"kind", tcmap::GisFieldType::Text}};
    tcmap::GisFeature& feature = layer.features.emplace_back();
    feature.values = {std::string("square")};
    feature.polygons = {
        {{{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}}, {{{2, 2}, {8, 2}, {8, 8}, {2, 8}, {2, 2}}}}};
    return layer;
}

// Twice the signed area, longitude east and latitude north: > 0 anticlockwise.
double turning(const nlohmann::json& ring) {
    double sum = 0;
    for (size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++) {
        sum += (ring[j][0].get<double>() - ring[i][0].get<double>()) *
               (ring[j][1].get<double>() + ring[i][1].get<double>());
    }
    return sum;
}

// Every coordinate of a geometry, at any depth.
void forEachNumber(const nlohmann::json& value, const std::function<void(double)>& seen) {
    if (value.is_number()) seen(value.get<double>());
    if (value.is_array()) {
        for (const nlohmann::json& item : value) forEachNumber(item, seen);
    }
}

TEST(GeoJsonFile, WrittenInPartsItIsTheFileOneWriterMakes) {
    const TempFolder folder;
    tcmap::GisLayerSet set = tcmap::gisLayersOf({longStorm(1500)}, {}, {ringLayer()});
    ASSERT_TRUE(set.error.empty()) << set.error;
    const std::string whole = folder.file("whole.geojson");
    ASSERT_EQ(tcmap::writeGisFile(set.layers, whole, tcmap::GisFormat::GeoJson, 1), "");
    const std::string text = tcmap::readFileOrEmpty(whole);
    for (size_t threads : {2u, 3u, 4u}) {
        SCOPED_TRACE(threads);
        const std::string parts = folder.file(std::to_string(threads) + ".geojson");
        ASSERT_EQ(tcmap::writeGisFile(set.layers, parts, tcmap::GisFormat::GeoJson, threads), "");
        EXPECT_TRUE(tcmap::readFileOrEmpty(parts) == text) << "the joined file differs";
    }
    // Nothing of the parts is left beside the file.
    EXPECT_EQ(tcmap::testing::entriesOf(folder.path()).size(), 4u);

    const nlohmann::json json = nlohmann::json::parse(text, nullptr, false);
    ASSERT_FALSE(json.is_discarded());
    // One storm line, 1500 fixes, 6000 quadrants and the square, in order.
    ASSERT_EQ(json["features"].size(), 1u + 1500u + 6000u + 1u);
    EXPECT_EQ(json["features"][0]["properties"]["layer"], "storms");
    EXPECT_EQ(json["features"][1]["properties"]["layer"], "fixes");
    EXPECT_EQ(json["features"][1500]["properties"]["wind"], 30 + 1499 % 120);
    EXPECT_EQ(json["features"][1501]["properties"]["layer"], "wind_radii");
    EXPECT_EQ(json["features"].back()["properties"]["layer"], "rings");
}

// RFC 7946: no "crs" member; a single line or polygon where there is one
// part; exterior rings anticlockwise, holes clockwise; longitudes within
// -180 .. 180; no more than four decimals.
TEST(GeoJsonFile, ShapedAsRfc7946Asks) {
    const TempFolder folder;
    tcmap::Track across = longStorm(40);
    tcmap::Track east = longStorm(3);  // moved to 151E .. 153E
    east.stormId = "WP02";
    for (tcmap::Fix& fix : east.fixes) fix.longitude = 150.0 + fix.line;
    tcmap::GisLayerSet set = tcmap::gisLayersOf({across, east}, {}, {ringLayer()});
    ASSERT_TRUE(set.error.empty()) << set.error;
    const std::string path = folder.file("shape.geojson");
    ASSERT_EQ(tcmap::writeGisFile(set.layers, path, tcmap::GisFormat::GeoJson, 1), "");
    const nlohmann::json json = nlohmann::json::parse(tcmap::readFileOrEmpty(path), nullptr, false);
    ASSERT_FALSE(json.is_discarded());
    EXPECT_FALSE(json.contains("crs"));

    size_t polygons = 0;
    for (const nlohmann::json& feature : json["features"]) {
        const std::string layer = feature["properties"]["layer"];
        const nlohmann::json& geometry = feature["geometry"];
        SCOPED_TRACE(layer + " " + geometry.dump().substr(0, 80));
        if (layer == "storms") {
            const bool crosses = feature["properties"]["id"] == "WP01";
            EXPECT_EQ(geometry["type"], crosses ? "MultiLineString" : "LineString");
        }
        std::vector<nlohmann::json> parts;
        if (geometry["type"] == "Polygon") parts.push_back(geometry["coordinates"]);
        if (geometry["type"] == "MultiPolygon") {
            for (const nlohmann::json& part : geometry["coordinates"]) parts.push_back(part);
        }
        if (!parts.empty()) ++polygons;
        for (const nlohmann::json& rings : parts) {
            EXPECT_GT(turning(rings[0]), 0.0) << "the exterior ring turns clockwise";
            for (size_t h = 1; h < rings.size(); ++h) {
                EXPECT_LT(turning(rings[h]), 0.0) << "a hole turns anticlockwise";
            }
        }
        forEachNumber(geometry["coordinates"], [](double v) {
            EXPECT_LE(std::fabs(v), 180.0);
            EXPECT_NEAR(v * 1e4, std::round(v * 1e4), 1e-6) << v;
        });
    }
    // The square, and the four quadrants of each fix of both storms.
    EXPECT_EQ(polygons, 1u + 4u * 43u);
    const nlohmann::json& square = json["features"].back()["geometry"]["coordinates"];
    ASSERT_EQ(square.size(), 2u);
}

}  // namespace
