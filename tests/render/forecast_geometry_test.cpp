#include "render/forecast_geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <thread>
#include <vector>

#include "base/file_io.h"
#include "support/atcf_geometry_input.h"

using namespace tcmap;

namespace {

// Degrees of latitude and longitude; at the equator one degree is 60 nm both ways.
double ringArea(const GeoRing& ring) {
    double twice = 0.0;
    for (size_t i = 0; i + 1 < ring.size(); ++i) {
        twice += ring[i].lon * ring[i + 1].lat - ring[i + 1].lon * ring[i].lat;
    }
    return std::fabs(twice) / 2.0;
}

double area(const GeoShape& shape) {
    double total = 0.0;
    for (const auto& polygon : shape) {
        total += ringArea(polygon.outer);
        for (const auto& hole : polygon.holes) total -= ringArea(hole);
    }
    return total;
}

bool ringContains(const GeoRing& ring, double lat, double lon) {
    bool inside = false;
    for (size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++) {
        const auto& a = ring[i];
        const auto& b = ring[j];
        if ((a.lat > lat) != (b.lat > lat) &&
            lon < (b.lon - a.lon) * (lat - a.lat) / (b.lat - a.lat) + a.lon) {
            inside = !inside;
        }
    }
    return inside;
}

bool contains(const GeoShape& shape, double lat, double lon) {
    for (const auto& polygon : shape) {
        if (!ringContains(polygon.outer, lat, lon)) continue;
        bool inHole = false;
        for (const auto& hole : polygon.holes) inHole = inHole || ringContains(hole, lat, lon);
        if (!inHole) return true;
    }
    return false;
}

// Points inside or outside a shape, a row each.
struct PointRow {
    double lat, lon;
    bool inside;
};

void expectPoints(const GeoShape& shape, std::initializer_list<PointRow> rows) {
    for (const PointRow& row : rows) {
        EXPECT_EQ(contains(shape, row.lat, row.lon), row.inside) << row.lat << ", " << row.lon;
    }
}

GeoShape whole(const ConeGeometry& cone) {
    GeoShape shape = cone.days1to3;
    shape.insert(shape.end(), cone.days4to5.begin(), cone.days4to5.end());
    return shape;
}

// A radius of `nm` at every hour.
std::vector<ConeRadius> constantRadius(double nm) {
    return {{0, nm}, {120, nm}};
}

constexpr double kPi = 3.14159265358979323846;

}  // namespace

TEST(Geodesy, DestinationsAndDistancesOnTheNauticalMileSphere) {
    struct Row {
        double lat, lon, bearing, nm, wantLat, wantLon;
    };
    for (const Row& row : {
             Row{0, 0, 90, 60, 0, 1},                   // a degree east along the equator
             Row{0, 0, 0, 60, 1, 0},                    // a degree north
             Row{10, 179.5, 90, 60, 9.9987, 180.5154},  // past 180: not wrapped
             Row{60, 0, 270, 0, 60, 0},
         }) {
        const GeoPoint point = destinationPoint(row.lat, row.lon, row.bearing, row.nm);
        EXPECT_NEAR(point.lat, row.wantLat, 1e-3) << row.lat << " " << row.bearing;
        EXPECT_NEAR(point.lon, row.wantLon, 1e-3) << row.lat << " " << row.bearing;
        EXPECT_NEAR(greatCircleNm({row.lat, row.lon}, point), row.nm, 1e-6);
    }
}

TEST(ForecastCone, ConstantRadiusAlongTheEquatorIsABandWithRoundEnds) {
    // 120 nm is 2 degrees: a band 4 degrees wide from 0 to 50 E, closed by
    // half circles, split where the storm is at 72 h (30 E).
    const std::vector<ForecastPoint> forecast = {{0, 0.0, 0.0}, {120, 0.0, 50.0}};
    const auto radii = constantRadius(120);
    const ConeGeometry cone = forecastCone(forecast, radii);
    ASSERT_TRUE(cone.ok()) << cone.error;
    EXPECT_NEAR(area(whole(cone)), 4.0 * 50.0 + kPi * 4.0, 0.01 * (200.0 + kPi * 4.0));
    for (const double lon : {5.0, 25.0, 45.0}) {
        EXPECT_TRUE(contains(whole(cone), 1.97, lon)) << lon;
        EXPECT_TRUE(contains(whole(cone), -1.97, lon)) << lon;
        EXPECT_FALSE(contains(whole(cone), 2.03, lon)) << lon;
        EXPECT_FALSE(contains(whole(cone), -2.03, lon)) << lon;
    }
    expectPoints(whole(cone), {
                                  {0.0, -1.97, true},
                                  {0.0, -2.03, false},
                                  {0.0, 51.97, true},
                              });
    // Days 1-3 reach the 72 h circle (30 E); days 4-5 are the rest, no overlap.
    EXPECT_TRUE(contains(cone.days1to3, 0.0, 31.9));
    EXPECT_FALSE(contains(cone.days4to5, 0.0, 31.9));
    EXPECT_TRUE(contains(cone.days4to5, 0.0, 32.1));
    EXPECT_FALSE(contains(cone.days1to3, 0.0, 32.1));
    EXPECT_FALSE(contains(cone.days4to5, 0.0, 10.0));
}

TEST(ForecastCone, TheShadesMeetAtTheSplitHourWhateverTheStep) {
    // Steps of 12 h from 6 h miss 72 h; the shades still meet at its circle
    // (the storm at 36 E, radius 2 degrees).
    const std::vector<ForecastPoint> forecast = {{6, 0.0, 3.0}, {120, 0.0, 60.0}};
    const auto radii = constantRadius(120);
    const ConeGeometry cone = forecastCone(forecast, radii, {64, 12, 72});
    ASSERT_TRUE(cone.ok()) << cone.error;
    EXPECT_TRUE(contains(cone.days1to3, 0.0, 37.9));
    EXPECT_FALSE(contains(cone.days1to3, 0.0, 38.1));
    EXPECT_TRUE(contains(cone.days4to5, 0.0, 38.1));
    EXPECT_FALSE(contains(cone.days4to5, 0.0, 37.9));
    EXPECT_NEAR(area(whole(cone)), 4.0 * 57.0 + kPi * 4.0, 0.01 * (228.0 + kPi * 4.0));
}

TEST(ForecastCone, HullsFillTheSpaceBetweenCirclesOfDifferentSize) {
    // Circles of 1 and 4 degrees 10 degrees apart, only two of them (a step of
    // 12 h): their union alone would leave the sides open; the hull closes them.
    const std::vector<ForecastPoint> forecast = {{0, 0.0, 0.0}, {12, 0.0, 10.0}};
    const std::vector<ConeRadius> radii = {{0, 60}, {12, 240}};
    const ConeGeometry cone = forecastCone(forecast, radii, {64, 12, 72});
    ASSERT_TRUE(cone.ok()) << cone.error;
    ASSERT_EQ(cone.days1to3.size(), 1u);
    EXPECT_TRUE(cone.days1to3[0].holes.empty());
    expectPoints(cone.days1to3, {
                                    {1.9, 5.0, true},
                                    {-1.9, 5.0, true},
                                    {3.5, 5.0, false},
                                    {0.0, 13.95, true},
                                    {0.0, -0.95, true},
                                });
}

TEST(ForecastCone, AcrossTheDateLineIsOneShapeThatSplitsAt180) {
    // 170 E to 170 W: the longitudes run on past 180 instead of jumping back.
    const std::vector<ForecastPoint> forecast = {{0, 15.0, 170.0}, {48, 20.0, -170.0}};
    const auto radii = constantRadius(90);
    const ConeGeometry cone = forecastCone(forecast, radii);
    ASSERT_TRUE(cone.ok()) << cone.error;
    ASSERT_EQ(cone.days1to3.size(), 1u);
    EXPECT_TRUE(cone.days4to5.empty());
    const LonRange range = lonRange(cone.days1to3);
    EXPECT_NEAR(range.west, 168.4, 0.2);
    EXPECT_NEAR(range.east, 191.6, 0.2);

    const SplitShape split = splitAtAntimeridian(cone.days1to3);
    ASSERT_TRUE(split.ok()) << split.error;
    ASSERT_EQ(split.shape.size(), 2u);
    for (const auto& piece : split.shape) {
        const LonRange pieceRange = lonRange({piece});
        EXPECT_GE(pieceRange.west, -180.0);
        EXPECT_LE(pieceRange.east, 180.0);
    }
    EXPECT_NEAR(area(split.shape), area(cone.days1to3), 1e-6 * area(cone.days1to3));
    EXPECT_TRUE(contains(split.shape, 17.5, 179.9));
    EXPECT_TRUE(contains(split.shape, 17.5, -179.9));
}

TEST(ForecastCone, AcrossZeroDegreesStaysOnePieceWhenSplit) {
    const std::vector<ForecastPoint> forecast = {{0, 10.0, -5.0}, {24, 12.0, 5.0}};
    const auto radii = constantRadius(60);
    const ConeGeometry cone = forecastCone(forecast, radii);
    ASSERT_TRUE(cone.ok()) << cone.error;
    ASSERT_EQ(cone.days1to3.size(), 1u);
    const SplitShape split = splitAtAntimeridian(cone.days1to3);
    ASSERT_TRUE(split.ok());
    EXPECT_EQ(split.shape.size(), 1u);
    EXPECT_NEAR(area(split.shape), area(cone.days1to3), 1e-9);
}

TEST(ForecastCone, RadiiFollowTheTableAndStopAtItsLastHour) {
    // Real a-deck rows repeat each forecast hour (one row per wind threshold);
    // a point beyond the table (132 h) adds no circle.
    const std::vector<ConeRadius> radii = {{12, 60}, {24, 120}};
    const std::vector<ForecastPoint> forecast = {{0, 0.0, 0.0},  {0, 0.0, 0.0},   {12, 0.0, 6.0},
                                                 {12, 0.0, 6.0}, {24, 0.0, 12.0}, {36, 0.0, 18.0}};
    const ConeGeometry cone = forecastCone(forecast, radii);
    ASSERT_TRUE(cone.ok()) << cone.error;
    // Radius 0 at 0 h, 1 degree at 12 h, 2 degrees at 24 h, nothing after.
    expectPoints(cone.days1to3, {
                                    {0.97, 6.0, true},
                                    {1.03, 6.0, false},
                                    {1.97, 12.0, true},
                                    {0.0, 13.97, true},
                                    {0.0, 14.1, false},
                                    {0.1, -0.1, false},
                                });
}

TEST(ForecastCone, OddInputsGiveAnErrorOrASmallShapeNeverACrash) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const auto radii = constantRadius(60);
    struct Row {
        const char* what;
        std::vector<ForecastPoint> forecast;
        std::vector<ConeRadius> radii;
        bool ok;
        double area;  // degrees squared, when ok
    };
    const std::vector<Row> rows = {
        {"no points", {}, radii, false, 0},
        {"NaN latitude", {{0, nan, 0}, {12, 1, 1}}, radii, false, 0},
        {"infinite longitude", {{0, 0, inf}}, radii, false, 0},
        {"latitude 91", {{0, 91, 0}}, radii, false, 0},
        {"negative hour", {{-6, 0, 0}, {0, 0, 1}}, radii, false, 0},
        {"no radii", {{0, 0, 0}}, {}, false, 0},
        {"radii out of order", {{0, 0, 0}}, {{24, 50}, {12, 40}}, false, 0},
        {"negative radius", {{0, 0, 0}}, {{12, -5}}, false, 0},
        {"NaN radius", {{0, 0, 0}}, {{12, nan}}, false, 0},
        {"one point at 0 h (radius 0)", {{0, 10, 10}}, {{12, 60}}, true, 0},
        {"one point at 12 h", {{12, 0, 0}}, {{12, 60}}, true, kPi},
        {"radius 0 everywhere", {{0, 0, 0}, {24, 0, 10}}, {{0, 0}, {24, 0}}, true, 0},
        {"a stationary storm", {{0, 0, 0}, {24, 0, 0}}, radii, true, kPi},
        {"points beyond the table only", {{130, 0, 0}, {140, 0, 1}}, radii, true, 0},
    };
    for (const Row& row : rows) {
        const ConeGeometry cone = forecastCone(row.forecast, row.radii);
        EXPECT_EQ(cone.ok(), row.ok) << row.what << ": " << cone.error;
        if (!row.ok) {
            EXPECT_TRUE(whole(cone).empty()) << row.what;
            continue;
        }
        EXPECT_NEAR(area(whole(cone)), row.area, 0.01 * row.area + 1e-9) << row.what;
    }
}

TEST(ForecastCone, ACircleOverAPoleStopsShortOfIt) {
    const std::vector<ForecastPoint> forecast = {{0, 85.0, 0.0}, {24, 89.0, 60.0}};
    const auto radii = constantRadius(600);  // 10 degrees: would cover the pole
    const ConeGeometry cone = forecastCone(forecast, radii);
    ASSERT_TRUE(cone.ok()) << cone.error;
    ASSERT_FALSE(cone.days1to3.empty());
    for (const auto& polygon : cone.days1to3) {
        for (const auto& point : polygon.outer) {
            EXPECT_TRUE(std::isfinite(point.lat) && std::isfinite(point.lon));
            EXPECT_LT(point.lat, 90.0);
            EXPECT_GT(point.lat, 70.0);
        }
    }
}

TEST(ForecastCone, DuplicateHoursKeepTheirFirstPosition) {
    const auto radii = constantRadius(60);
    const std::vector<ForecastPoint> plain = {{0, 0, 0}, {12, 0, 5}};
    const std::vector<ForecastPoint> repeated = {{12, 0, 5}, {0, 0, 0}, {12, 3, 9}, {0, 1, 1}};
    EXPECT_NEAR(area(whole(forecastCone(repeated, radii))), area(whole(forecastCone(plain, radii))),
                1e-9);
}

TEST(WindSwath, TwoFixesAgainstHandComputedRadii) {
    // Along the equator 1 degree an hour; only the NE 34-kt radius, 60 nm
    // (1 degree) at the first fix and 120 nm at the second. At 3 h the storm
    // is at 3 E with a radius of 1.5 degrees; nothing south of the track.
    SwathFix first{0.0, 0.0, 0.0, {}};
    SwathFix second{6.0, 0.0, 6.0, {}};
    first.radiiNm[0] = {60, 0, 0, 0};
    second.radiiNm[0] = {120, 0, 0, 0};
    const std::vector<SwathFix> fixes = {second, first};  // any order
    const SwathGeometry swath = windSwath(fixes);
    ASSERT_TRUE(swath.ok()) << swath.error;
    const GeoShape& gale = swath.areas[0];
    expectPoints(gale, {
                           {1.45, 3.0, true},
                           {1.55, 3.0, false},
                           {0.95, 0.02, true},
                           {0.5, -0.5, false},
                           {-0.3, 3.0, false},
                           {0.05, 7.9, true},
                           {0.05, 8.1, false},
                       });
    EXPECT_TRUE(swath.areas[1].empty());
    EXPECT_TRUE(swath.areas[2].empty());
}

TEST(WindSwath, QuadrantsAppearAndFadeBetweenFixes) {
    // The 50-kt SW radius exists at the second fix only: it grows from the
    // track, so half way it reaches half as far. A 48-hour gap is not bridged.
    SwathFix a{0.0, 20.0, -60.0, {}};
    SwathFix b{6.0, 20.0, -60.0, {}};
    SwathFix late{54.0, 20.0, -50.0, {}};
    b.radiiNm[1] = {0, 0, 120, 0};
    late.radiiNm[1] = {0, 0, 120, 0};
    const std::vector<SwathFix> fixes = {a, b, late};
    const SwathGeometry swath = windSwath(fixes);
    ASSERT_TRUE(swath.ok()) << swath.error;
    const GeoPoint reach = destinationPoint(20.0, -60.0, 225.0, 118.0);
    expectPoints(swath.areas[1], {
                                     {reach.lat, reach.lon, true},
                                     {19.0, -55.0, false},  // between the gap's ends
                                     {19.5, -50.5, true},   // the lone fix's slice
                                 });
    EXPECT_TRUE(swath.areas[0].empty());
}

TEST(WindSwath, BadInputIsAnErrorAndNoFixesNothing) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    SwathFix good{0.0, 10.0, 10.0, {}};
    good.radiiNm[0] = {50, 50, 50, 50};
    SwathFix nanRadius = good;
    nanRadius.radiiNm[2][1] = nan;
    SwathFix negative = good;
    negative.radiiNm[0][3] = -10;
    SwathFix infiniteTime = good;
    infiniteTime.hour = std::numeric_limits<double>::infinity();
    SwathFix beyondPole = good;
    beyondPole.lat = -95;
    for (const auto& bad : {nanRadius, negative, infiniteTime, beyondPole}) {
        const std::vector<SwathFix> fixes = {good, bad};
        const SwathGeometry swath = windSwath(fixes);
        EXPECT_FALSE(swath.ok());
        EXPECT_TRUE(swath.areas[0].empty());
    }
    const SwathGeometry none = windSwath({});
    EXPECT_TRUE(none.ok());
    EXPECT_TRUE(none.areas[0].empty());
    const std::vector<SwathFix> single = {good};
    const SwathGeometry one = windSwath(single);
    ASSERT_TRUE(one.ok());
    EXPECT_NEAR(area(one.areas[0]),
                kPi * (50.0 / 60.0) * (50.0 / 60.0) / std::cos(10.0 * kPi / 180), 0.02);
}

TEST(WindSwath, SandyFromItsBestTrack) {
    const auto fixes = tcmap::testing::bestTrackSwathFixes(
        readFileOrEmpty(std::string(TCMAP_TEST_DATA_DIR) + "/track/atcf/bal182012.dat"));
    ASSERT_GE(fixes.size(), 40u);
    const SwathGeometry swath = windSwath(fixes);
    ASSERT_TRUE(swath.ok()) << swath.error;
    // The gale area is one continuous region; stronger winds cover less.
    EXPECT_EQ(swath.areas[0].size(), 1u);
    EXPECT_GT(area(swath.areas[0]), area(swath.areas[1]));
    EXPECT_GT(area(swath.areas[1]), area(swath.areas[2]));
    EXPECT_GT(area(swath.areas[2]), 0.0);
    // Half way out along each quadrant's radius lies inside that threshold's area.
    for (const auto& fix : fixes) {
        for (size_t k = 0; k < 3; ++k) {
            for (size_t q = 0; q < 4; ++q) {
                const double radius = fix.radiiNm[k][q];
                if (radius < 20) continue;
                const GeoPoint inside =
                    destinationPoint(fix.lat, fix.lon, 45.0 + 90.0 * q, radius / 2);
                EXPECT_TRUE(contains(swath.areas[k], inside.lat, inside.lon) ||
                            contains(swath.areas[k], inside.lat, inside.lon + 360.0))
                    << fix.hour << " threshold " << k << " quadrant " << q;
            }
        }
    }
}

TEST(ForecastGeometry, ThreadsShareNoGeosState) {
    // Each call has its own GEOS context: cones and swaths made on several
    // threads at once equal the ones made alone.
    const auto fixes = tcmap::testing::bestTrackSwathFixes(
        readFileOrEmpty(std::string(TCMAP_TEST_DATA_DIR) + "/track/atcf/bal182012.dat"));
    const std::vector<ForecastPoint> forecast = {{0, 15.0, 170.0}, {120, 35.0, -150.0}};
    const auto radii = constantRadius(90);
    const double swathArea = area(windSwath(fixes).areas[0]);
    const double coneArea = area(whole(forecastCone(forecast, radii)));
    std::vector<double> swathAreas(4), coneAreas(4);
    std::vector<std::thread> threads;
    for (size_t t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (int round = 0; round < 3; ++round) {
                swathAreas[t] = area(windSwath(fixes).areas[0]);
                coneAreas[t] = area(whole(forecastCone(forecast, radii)));
            }
        });
    }
    for (auto& thread : threads) thread.join();
    for (size_t t = 0; t < 4; ++t) {
        EXPECT_EQ(swathAreas[t], swathArea);
        EXPECT_EQ(coneAreas[t], coneArea);
    }
}
