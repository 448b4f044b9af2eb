#include "render/layers/geo_shape.h"

#include <gtest/gtest.h>

#include <vector>

using namespace tcmap;

namespace {

// A rectangle from lon west to east, 10 to 20 N.
GeoShape band(double west, double east) {
    return {{{{10, west}, {10, east}, {20, east}, {20, west}, {10, west}}, {}}};
}

}  // namespace

TEST(SeamShifts, CopiesThatTheViewShows) {
    struct Row {
        const char* what;
        GeoShape shape;
        double viewWest, viewEast;
        std::vector<double> shifts;
    };
    const std::vector<Row> rows = {
        {"nothing", {}, 0, 360, {}},
        {"across 180 on the 0..360 map", band(170, 190), 0, 360, {0}},
        {"across 0 on the 0..360 map", band(-10, 10), 0, 360, {0, 360}},
        {"western hemisphere", band(-100, -80), 0, 360, {360}},
        {"unwrapped past 360", band(350, 370), 0, 360, {-360, 0}},
        {"touching an edge only", band(-20, 0), 0, 360, {360}},
        {"across 180 on a -180..180 map", band(170, 190), -180, 180, {-360, 0}},
        {"a region that misses it", band(170, 190), 100, 150, {}},
        {"the whole world", band(-180, 180), 0, 360, {0, 360}},
        {"far east of the view", band(1000, 1010), 0, 360, {-720}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(seamShifts(row.shape, row.viewWest, row.viewEast), row.shifts) << row.what;
    }
}

TEST(SeamShifts, ShiftedCopiesMoveHolesWithTheirPolygon) {
    GeoShape shape = band(170, 190);
    shape[0].holes.push_back({{14, 175}, {14, 185}, {16, 185}, {14, 175}});
    const GeoShape copy = shiftedLongitudes(shape, -360);
    EXPECT_DOUBLE_EQ(copy[0].outer[1].lon, -170);
    EXPECT_DOUBLE_EQ(copy[0].outer[1].lat, 10);
    EXPECT_DOUBLE_EQ(copy[0].holes[0][0].lon, -185);
    const LonRange range = lonRange(copy);
    EXPECT_DOUBLE_EQ(range.west, -190);
    EXPECT_DOUBLE_EQ(range.east, -170);
}
