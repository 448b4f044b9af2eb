// The projection on a 360 x 180 map, where a degree is a pixel, so every row
// reads like the rule it checks.
#include "render/layers/projection.h"

#include <gtest/gtest.h>

#include <array>

using namespace tcmap;

namespace {

const Projection kMap(360, 180);

}  // namespace

TEST(Projection, FixesFromDegrees) {
    struct Row {
        double lat, lon, previousX;
        double x, y;
    };
    const Row rows[] = {
        {10.0, 100.0, 0, 100, 80},
        {-20.5, -170.0, 0, 190, 110.5},  // west: lon + 360
        {90, 180, 0, 180, 0},
        {-90, 359.5, 0, 359.5, 180},
        // The 0° meridian goes to the side of the previous fix.
        {0, 0.0, 181, 359, 90},  // after 179°W: the right edge, W − 1
        {0, 0.0, 10, 0, 90},     // after 10°E
        {0, 0.0, 180, 359, 90},  // exactly half a width counts as the east side
        {0, -0.0, 181, 359, 90},
        {0, -0.0, 10, 0, 90},
        {0, 0.00000001, 10, 0, 90},  // within the tolerance of 0
        {0, -0.00000001, 200, 359, 90},
        {0, 0.0000002, 200, 0.0000002, 90},  // beyond it: an ordinary longitude
    };
    for (const Row& r : rows) {
        const MapPoint p = kMap.fix(r.lat, r.lon, r.previousX);
        EXPECT_DOUBLE_EQ(p.x, r.x) << r.lat << " " << r.lon << " after " << r.previousX;
        EXPECT_DOUBLE_EQ(p.y, r.y) << r.lat << " " << r.lon;
    }
}

TEST(Projection, WestIsTheCallersWord) {
    // The west flag alone decides the counting from 360°.
    struct Row {
        double lon;
        bool west;
        double x;
    };
    const Row rows[] = {{-170, true, 190}, {-170, false, -170}, {10, true, 370}, {10, false, 10}};
    for (const Row& r : rows) EXPECT_DOUBLE_EQ(kMap.fixX(r.lon, r.west), r.x) << r.lon;
    // Left to right in double: (lon + 360) × W / 360 on a 7200-pixel map.
    const Projection big(7200, 3600);
    EXPECT_EQ(big.fixX(-0.1, true), (-0.1 + 360) * 7200 / 360);
    EXPECT_EQ(big.fixY(12.5), 1550.0);
}

TEST(Projection, RegionExtents) {
    EXPECT_DOUBLE_EQ(kMap.latitudeSpan(60), 60);
    EXPECT_DOUBLE_EQ(kMap.longitudeSpan(80), 80);
    const Projection big(7200, 3600);
    EXPECT_DOUBLE_EQ(big.latitudeSpan(60), 1200);
    EXPECT_DOUBLE_EQ(big.longitudeSpan(80), 1600);
}

TEST(Projection, WindRadiiCentresUseTheWidthOnBothAxes) {
    // A map 360 wide and 100 high: the radii keep W / 360 for the vertical.
    const Projection flat(360, 100);
    struct Row {
        double lat, lon;
        double x, y;
    };
    const Row rows[] = {
        {0, 100, 100, 90},
        {30, -60, 300, 60},
        {-30, 0.0, 360, 120},                // 0° itself counts from 360°
        {10, 0.00000001, 360.00000001, 80},  // and anything within 1e-7 of it
        {10, 0.0000002, 0.0000002, 80},
    };
    for (const Row& r : rows) {
        EXPECT_DOUBLE_EQ(flat.radiiX(r.lon), r.x) << r.lon;
        EXPECT_DOUBLE_EQ(flat.radiiY(r.lat), r.y) << r.lat;
    }
    EXPECT_DOUBLE_EQ(flat.fixY(0), 50);  // fixes keep H / 180
}

TEST(Projection, NauticalMilesInPixels) {
    // 360 pixels for 40 032.64 km: a nautical mile (1.852 km) is 0.0166545 px.
    struct Row {
        double lat, miles;
        double x, y;
    };
    const Row rows[] = {
        {0, 100, 1.66545, 1.66545},
        {60, 100, 3.33090, 1.66545},  // east-west doubles where cos(lat) is 0.5
        {-60, 100, 3.33090, 1.66545},
        {30, 0, 0, 0},
    };
    for (const Row& r : rows) {
        const double cosine = Projection::radiiCosine(r.lat);
        EXPECT_NEAR(kMap.nauticalMilesX(r.miles, cosine), r.x, 1e-4) << r.lat;
        EXPECT_NEAR(kMap.nauticalMilesY(r.miles), r.y, 1e-4) << r.lat;
    }
    // The latitude goes through single precision before its cosine.
    EXPECT_EQ(Projection::radiiCosine(0.1), Projection::radiiCosine(double(0.1f)));
}

TEST(Projection, GridScale) {
    struct Row {
        double lat, lon;
        bool west;
        double x, y;
    };
    const Row rows[] = {
        {10, -90, true, 270, 80}, {10, -90, false, -90, 80}, {-45, 170, false, 170, 135}};
    for (const Row& r : rows) {
        EXPECT_DOUBLE_EQ(kMap.gridX(r.lon, r.west), r.x) << r.lon;
        EXPECT_DOUBLE_EQ(kMap.gridY(r.lat), r.y) << r.lat;
    }
    EXPECT_DOUBLE_EQ(Projection(720, 180).degreeWidth(), 2.0);
}

// The copies' shifts: tests/render/layers/seam_copies_test.cpp.
TEST(Projection, HalfWidthInWholePixels) {
    EXPECT_EQ(kMap.halfWidth(), 180);
    EXPECT_EQ(Projection(361, 180).halfWidth(), 180);  // whole pixels
}
