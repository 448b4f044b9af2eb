// The vector world file: read whole or refused with a message that says why,
// and cut to boxes anywhere on the map, across the 0° seam and the 180°
// meridian, with Antarctica closed along the pole.
#include "render/canvas/vector_world.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "base/file_io.h"
#include "render/canvas/vector_world_file.h"
#include "support/temp_folder.h"

using namespace tcmap;
using tcmap::testing::VectorWorldFile;

namespace {

// A small world in the source's own convention (longitudes -180..180).
VectorWorldFile smallWorld() {
    VectorWorldFile file;
    // An island across the 180° meridian, one across 0°, and a lake-holed
    // square well inside the map.
    file.polygon({{{179, 10}, {-179, 10}, {-179, 12}, {179, 12}, {179, 10}}});
    file.polygon({{{-1, 40}, {1, 40}, {1, 42}, {-1, 42}, {-1, 40}}});
    file.polygon({{{20, 20}, {40, 20}, {40, 30}, {20, 30}, {20, 20}},
                  {{25, 22}, {30, 22}, {30, 27}, {25, 27}, {25, 22}}});
    // Antarctica: a coast once round the globe, not closed.
    file.polygon({{{-180, -70}, {-90, -70}, {0, -70}, {90, -70}, {180, -70}}});
    file.line({{178, 60}, {-178, 62}});
    file.line({{10, 50}, {20, 50}, {20, 55}});
    return file;
}

VectorWorld readSmallWorld() {
    std::string error;
    std::optional<VectorWorld> world = VectorWorld::parse(smallWorld().bytes(), error);
    EXPECT_TRUE(world) << error;
    return world ? std::move(*world) : VectorWorld{};
}

// Even-odd: inside a shape when inside an odd number of its rings.
bool insideShape(const LandShape& shape, double lon, double lat) {
    bool inside = false;
    for (const auto& ring : shape.rings) {
        for (size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++) {
            const WorldPoint a = ring[i], b = ring[j];
            if ((a.lat > lat) != (b.lat > lat) &&
                lon < (b.lon - a.lon) * (lat - a.lat) / (b.lat - a.lat) + a.lon) {
                inside = !inside;
            }
        }
    }
    return inside;
}

bool landAt(const std::vector<LandShape>& shapes, double lon, double lat) {
    for (const LandShape& shape : shapes) {
        if (insideShape(shape, lon, lat)) return true;
    }
    return false;
}

std::vector<uint8_t> withByte(std::vector<uint8_t> bytes, size_t at, uint8_t value) {
    bytes.at(at) = value;
    return bytes;
}

TEST(VectorWorldReading, ReadsEveryPolygonRingLineAndPoint) {
    const VectorWorld world = readSmallWorld();
    EXPECT_EQ(world.polygonCount(), 4u);
    EXPECT_EQ(world.ringCount(), 5u);
    EXPECT_EQ(world.lineCount(), 2u);
    EXPECT_EQ(world.pointCount(), 5u * 5 + 2 + 3);
}

TEST(VectorWorldReading, RefusesDamagedAndHostileFilesWithAMessage) {
    constexpr size_t kHeader = 24;
    struct Row {
        const char* what;
        std::function<std::vector<uint8_t>()> bytes;
        const char* message;
    };
    const std::vector<Row> rows = {
        {"empty", [] { return std::vector<uint8_t>{}; }, "too short"},
        {"only a header",
         [] {
             auto b = smallWorld().bytes();
             b.resize(kHeader);
             return b;
         },
         "too short"},
        {"another kind of file",
         [] {
             VectorWorldFile f = smallWorld();
             f.magic = "\x89PNG\r\n\x1a\n";
             return f.bytes();
         },
         "not a vector world file"},
        {"a later format",
         [] {
             VectorWorldFile f = smallWorld();
             f.magic = "TCMAPVW2";
             return f.bytes();
         },
         "format 2"},
        {"a flipped bit",
         [] {
             auto b = smallWorld().bytes();
             b[kHeader + 7] ^= 0x10;
             return b;
         },
         "checksum"},
        {"cut short, checksum made anew",
         [] {
             auto b = smallWorld().bytes();
             b.resize(b.size() - 12);
             VectorWorldFile::reseal(b);
             return b;
         },
         "point count 3 is more than the file holds (border line 1)"},
        {"zero units a degree",
         [] {
             VectorWorldFile f = smallWorld();
             f.units = 0;
             return f.bytes();
         },
         "units a degree"},
        {"a huge polygon count",
         [] {
             VectorWorldFile f = smallWorld();
             f.polygons = 0xFFFFFFFF;
             return f.bytes();
         },
         "more polygons, lines or points than the file holds"},
        {"a huge point count in the header",
         [] {
             VectorWorldFile f = smallWorld();
             f.points = 0x7FFFFFFF;
             return f.bytes();
         },
         "than the file holds"},
        {"more polygons counted than written",
         [] {
             VectorWorldFile f = smallWorld();
             f.polygons += 1;
             return f.bytes();
         },
         "is more than the file holds (ring 0 of land polygon 4)"},
        {"fewer points counted than written",
         [] {
             VectorWorldFile f = smallWorld();
             f.points -= 1;
             return f.bytes();
         },
         "more points than the header counts"},
        {"more points counted than written",
         [] {
             VectorWorldFile f = smallWorld();
             f.lines -= 1;
             return f.bytes();
         },
         "left over"},
        {"a huge ring count",
         [] {
             VectorWorldFile f;
             f.varint(0xFFFFFFF0u);
             f.polygons = 1;
             f.run({{0, 0}, {1, 0}, {1, 1}});
             return f.bytes();
         },
         "ring count 4294967280 is more than the file holds"},
        {"a huge point count in a ring",
         [] {
             VectorWorldFile f;
             f.varint(1);
             f.varint(0x10000000);
             f.varint(0);
             f.varint(0);
             f.polygons = 1;
             f.points = 4;
             return f.bytes();
         },
         "point count 268435456 is more than the file holds"},
        {"a ring of two points",
         [] {
             VectorWorldFile f;
             f.polygon({{{0, 0}, {1, 1}}});
             return f.bytes();
         },
         "point count 2 is below 3"},
        {"a ring that only goes there and back",
         [] {
             VectorWorldFile f;
             f.polygon({{{0, 0}, {1, 1}, {0, 0}}});
             return f.bytes();
         },
         "ring 0 of land polygon 0 has fewer than three corners"},
        {"a number longer than 32 bits",
         [] {
             VectorWorldFile f;
             f.varint(1);
             f.varint(3);
             for (int i = 0; i < 6; ++i) f.body.push_back(0xFF);
             f.body.push_back(0x01);
             f.polygons = 1;
             f.points = 3;
             return f.bytes();
         },
         "damaged number in a longitude"},
        // The file stores whole units, so a coordinate can never be NaN or
        // infinite; what hostile steps can reach is a place off the globe.
        {"a latitude past the pole",
         [] {
             VectorWorldFile f;
             f.polygon({{{0, 0}, {1, 90.0001}, {2, 0}}});
             return f.bytes();
         },
         "point 1 lies off the globe"},
        {"a longitude past 180°",
         [] {
             VectorWorldFile f;
             f.polygon({{{170, 0}, {180, 0}, {180.0001, 1}}});
             return f.bytes();
         },
         "point 2 lies off the globe"},
        {"a coast twice round the globe",
         [] {
             VectorWorldFile f;
             f.polygon({{{-180, -70},
                         {-60, -70},
                         {60, -70},
                         {180, -70},
                         {-60, -71},
                         {60, -71},
                         {180, -71}}});
             return f.bytes();
         },
         "more than once"},
    };
    for (const Row& row : rows) {
        std::string error;
        const std::vector<uint8_t> bytes = row.bytes();
        EXPECT_FALSE(VectorWorld::parse(bytes, error)) << row.what;
        EXPECT_NE(error.find(row.message), std::string::npos)
            << row.what << ": \"" << error << "\"";
    }
}

TEST(VectorWorldReading, NamesTheFileItCannotRead) {
    tcmap::testing::TempFolder folder;
    std::string error;
    const std::string missing = folder.path() + "/world_vector.bin";
    EXPECT_FALSE(VectorWorld::load(missing, error));
    EXPECT_EQ(error, missing + ": cannot be read");
    EXPECT_FALSE(VectorWorld::load(folder.path(), error));

    const std::vector<uint8_t> bytes = withByte(smallWorld().bytes(), 30, 0xEE);
    ASSERT_TRUE(writeFileReplacing(missing, std::string(bytes.begin(), bytes.end())));
    EXPECT_FALSE(VectorWorld::load(missing, error));
    EXPECT_EQ(error.rfind(missing + ": damaged", 0), 0u) << error;
}

TEST(VectorWorldLand, CoversTheLandInBoxesAnywhereOnTheMap) {
    const VectorWorld world = readSmallWorld();
    struct Row {
        const char* where;
        GeoBox box;
        double lon, lat;
        bool land;
    };
    const std::vector<Row> rows = {
        {"island across 180°, west half", {170, 0, 190, 20}, 179.5, 11, true},
        {"island across 180°, east half", {170, 0, 190, 20}, 180.9, 11, true},
        {"sea east of it", {170, 0, 190, 20}, 181.5, 11, false},
        {"sea west of it", {170, 0, 190, 20}, 178.5, 11, false},
        {"the same island left of 0°", {-190, 0, -170, 20}, -179.5, 11, true},
        {"island across 0°, left of the edge", {-10, 30, 10, 50}, -0.5, 41, true},
        {"and right of it", {-10, 30, 10, 50}, 0.5, 41, true},
        {"the same past 360°", {350, 30, 370, 50}, 360.5, 41, true},
        {"and before it", {350, 30, 370, 50}, 359.5, 41, true},
        {"the whole map, at its left edge", {0, -90, 360, 90}, 0.5, 41, true},
        {"the whole map, at its right edge", {0, -90, 360, 90}, 359.5, 41, true},
        {"land round the lake", {15, 15, 45, 35}, 22, 21, true},
        {"the lake", {15, 15, 45, 35}, 27, 25, false},
        {"a box inside the lake", {26, 23, 29, 26}, 27.5, 24.5, false},
        {"a box inside the land", {21, 21, 24, 24}, 22.5, 22.5, true},
        {"a box cutting the lake", {28, 18, 35, 25}, 29, 24, false},
        {"and the land beside it", {28, 18, 35, 25}, 31, 24, true},
        {"Antarctica", {100, -90, 500, -60}, 110, -80, true},
        {"Antarctica a turn further", {100, -90, 500, -60}, 470, -89.5, true},
        {"the Southern Ocean", {100, -90, 500, -60}, 300, -65, false},
    };
    for (const Row& row : rows) {
        const std::vector<LandShape> shapes = world.landIn(row.box);
        EXPECT_EQ(landAt(shapes, row.lon, row.lat), row.land) << row.where;
        for (const LandShape& shape : shapes) {
            for (const auto& ring : shape.rings) {
                ASSERT_GE(ring.size(), 4u) << row.where;
                EXPECT_EQ(ring.front().lon, ring.back().lon) << row.where << ": ring not closed";
                EXPECT_EQ(ring.front().lat, ring.back().lat) << row.where << ": ring not closed";
                for (const WorldPoint& p : ring) {
                    ASSERT_TRUE(p.lon >= row.box.west && p.lon <= row.box.east &&
                                p.lat >= row.box.south && p.lat <= row.box.north)
                        << row.where << ": (" << p.lon << ", " << p.lat << ") outside the box";
                }
            }
        }
    }
}

TEST(VectorWorldLand, AntarcticaIsOneRingHoweverManyCopiesTheBoxHolds) {
    const VectorWorld world = readSmallWorld();
    for (const GeoBox box :
         {GeoBox{0, -90, 360, -60}, GeoBox{-700, -90, 1000, -60}, GeoBox{170, -80, 190, -60}}) {
        const std::vector<LandShape> shapes = world.landIn(box);
        ASSERT_EQ(shapes.size(), 1u) << box.west << ".." << box.east;
        EXPECT_EQ(shapes[0].rings.size(), 1u) << box.west << ".." << box.east;
        for (double lon = box.west + 0.5; lon < box.east; lon += 37) {
            EXPECT_TRUE(landAt(shapes, lon, -75)) << lon;
            EXPECT_FALSE(landAt(shapes, lon, -65)) << lon;
        }
    }
}

TEST(VectorWorldLand, GivesNothingForBoxesWithoutLandOrArea) {
    const VectorWorld world = readSmallWorld();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    for (const GeoBox box :
         {GeoBox{100, 0, 150, 50}, GeoBox{30, 20, 10, 30}, GeoBox{10, 30, 30, 30},
          GeoBox{nan, 0, 10, 10}, GeoBox{0, 0, inf, 10}, GeoBox{2000, 0, 3000, 10}}) {
        EXPECT_TRUE(world.landIn(box).empty()) << box.west << " " << box.east;
        EXPECT_TRUE(world.bordersIn(box).empty()) << box.west << " " << box.east;
    }
}

TEST(VectorWorldBorders, ArePiecesInsideTheBox) {
    const VectorWorld world = readSmallWorld();
    using Line = std::vector<std::pair<double, double>>;
    struct Row {
        const char* where;
        GeoBox box;
        std::vector<Line> lines;
    };
    const std::vector<Row> rows = {
        {"across 180°, unwrapped", {170, 50, 190, 70}, {{{178, 60}, {182, 62}}}},
        {"the same left of 0°", {-190, 50, -170, 70}, {{{-182, 60}, {-178, 62}}}},
        {"cut by the box's west side", {15, 45, 25, 60}, {{{15, 50}, {20, 50}, {20, 55}}}},
        {"cut on both ends", {12, 45, 25, 53}, {{{12, 50}, {20, 50}, {20, 53}}}},
        {"past 360°", {365, 45, 385, 60}, {{{370, 50}, {380, 50}, {380, 55}}}},
        {"a box the line only passes by", {12, 51, 18, 53}, {}},
        {"no border near", {-10, 50, 5, 70}, {}},
    };
    for (const Row& row : rows) {
        const std::vector<BorderLine> lines = world.bordersIn(row.box);
        ASSERT_EQ(lines.size(), row.lines.size()) << row.where;
        for (size_t i = 0; i < lines.size(); ++i) {
            ASSERT_EQ(lines[i].size(), row.lines[i].size()) << row.where;
            for (size_t k = 0; k < lines[i].size(); ++k) {
                EXPECT_NEAR(lines[i][k].lon, row.lines[i][k].first, 1e-9) << row.where;
                EXPECT_NEAR(lines[i][k].lat, row.lines[i][k].second, 1e-9) << row.where;
            }
        }
    }
}

}  // namespace
