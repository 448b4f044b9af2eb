// The typed track an ATCF file reads into: the values of each fix, the radii
// of each fix, the radii records as the radii layer draws them, and what the
// track says about its storm.
#include "track/atcf_reader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "track/track_text.h"
#include "track_test_files.h"

using namespace tcmap;

namespace {

// A b-deck record with the given position, wind and radii part (fields 11 to 16).
std::string record(std::string_view time, std::string_view lat, std::string_view lon,
                   std::string_view wind, std::string_view radii = "0, , 0, 0, 0, 0") {
    return "AL, 18, " + std::string(time) + ", , BEST, 0, " + std::string(lat) + ", " +
           std::string(lon) + ", " + std::string(wind) + ", 990, TS, " + std::string(radii) +
           ", 0, 0, 0, 55, 0, L, 0, , 0, 0, SANDY, \n";
}

std::vector<bool> drawnRows(const RadiiRecord& record) {
    std::vector<bool> drawn;
    for (const RadiiRow& row : record.rows) drawn.push_back(row.drawn);
    return drawn;
}

}  // namespace

TEST(AtcfReader, FixValuesAreWhatTheTrackTextHeld) {
    struct Row {
        const char* lat;
        const char* lon;
        const char* wind;
        double latitude, longitude;
        int32_t knots;
    };
    const Row rows[] = {
        {"125N", "905W", "35", 12.5, -90.5, 35},
        {"85S", "1800E", "150", -8.5, 180.0, 150},
        {"0N", "1W", "35.5", 0.0, -0.1, 35},  // a fraction is cut off
        // Six significant digits: "1234567" kt reads as 1234570 (now an
        // impossible wind: the row is in impossible_fix_test.cpp).
        {"12.5N", "85s", "abc", 1.25, 8.5, 0},  // only a capital letter negates
    };
    for (const Row& r : rows) {
        const Track track =
            readAtcfText(record("2012102218", r.lat, r.lon, r.wind), TrackFileKind::BestTrackFile);
        ASSERT_EQ(track.fixes.size(), 1u) << r.lat;
        const Fix& fix = track.fixes[0];
        EXPECT_EQ(fix.latitude, r.latitude) << r.lat;
        EXPECT_EQ(fix.longitude, r.longitude) << r.lon;
        EXPECT_EQ(std::signbit(fix.longitude), std::signbit(r.longitude)) << r.lon;
        EXPECT_EQ(fix.wind, r.knots) << r.wind;
    }
    const Fix fix =
        readAtcfText(record("2012102218", "127N", "787W", "35"), TrackFileKind::BestTrackFile)
            .fixes.at(0);
    EXPECT_EQ(fix.stormId(), "AL18");
    EXPECT_EQ(fix.time, "201210221800");
    EXPECT_EQ(fix.aid, "BEST");
    EXPECT_EQ(fix.pressure, 990);
    EXPECT_EQ(fix.type, "TS");
    EXPECT_EQ(fix.subregion, "L");
    EXPECT_EQ(fix.name, "SANDY");
    EXPECT_EQ(fix.gust, 55);
    EXPECT_EQ(fix.line, 1);
}

TEST(AtcfReader, ForecastPointsCarryCycleAidAndHour) {
    const std::string text =
        "AL, 09, 2017082515, 03, OFCL, 0, 267N, 960W, 95, 947, , 34, NEQ, 120, 90, 80, 100\n"
        "AL, 09, 2017082515, 03, OFCL, 0, 267N, 960W, 95, 947, , 50, NEQ, 50, 40, 40, 30\n"
        "AL, 09, 2017082515, 03, OFCL, 12, 277N, 970W, 90, 0, HU\n";
    const Track track = readAtcfText(text, TrackFileKind::ForecastFile);
    ASSERT_EQ(track.fixes.size(), 2u);
    EXPECT_EQ(track.fixes[0].time, "2017082515");
    EXPECT_EQ(track.fixes[0].aid, "OFCL");
    EXPECT_EQ(track.fixes[0].type, "XX");  // an empty forecast type
    EXPECT_EQ(track.fixes[1].forecastHour, 12);
    EXPECT_EQ(track.fixes[1].line, 3);
    // The radii of both rows of hour 0 belong to its fix.
    ASSERT_EQ(track.fixes[0].radii.size(), 2u);
    EXPECT_EQ(track.fixes[0].radii[1].thresholdKt, 50);
    EXPECT_EQ(track.fixes[0].radii[1].quadrantsNm, (std::array<int32_t, 4>{50, 40, 40, 30}));
    EXPECT_FALSE(track.statistics.has_value());  // forecasts never count
}

TEST(AtcfReader, RadiiRowsTheLayerDraws) {
    struct Row {
        std::vector<std::string> radii;  // fields 11 to 16 of the rows of one fix time
        std::vector<bool> drawn;
    };
    const Row rows[] = {
        {{"34, NEQ, 50, 60, 0, 0", "50, NEQ, 20, 20, 0, 0"}, {true, true}},
        // A row without radii takes a place: the row after it is out of step.
        {{"34, NEQ, 50, 60, 0, 0", "0, , 0, 0, 0, 0", "50, NEQ, 20, 20, 0, 0"},
         {true, false, false}},
        // Two of them put it back in step.
        {{"34, NEQ, 1, 1, 1, 1", "0, , 0, 0, 0, 0", "0, , 0, 0, 0, 0", "50, NEQ, 2, 2, 2, 2"},
         {true, false, false, true}},
        // A last quadrant left empty, and "AAA" without its radius.
        {{"34, NEQ, 50, 60, 0, ", "50, AAA, , 0, 0, 0", "64, AAA, 10, 0, 0, 0"},
         {false, false, true}},
        // An unknown code keeps the quadrants before it, or has none.
        {{"34, XYZ, 1, 2, 3, 4", "50, NEQ, 5, 6, 7, 8", "64, XYZ, 1, 2, 3, 4"},
         {false, true, true}},
    };
    for (const Row& r : rows) {
        std::string text;
        for (const std::string& radii : r.radii) {
            text += record("2012102918", "127N", "787W", "90", radii);
        }
        const Track track = readAtcfText(text, TrackFileKind::BestTrackFile);
        ASSERT_EQ(track.radii.size(), 1u) << r.radii[0];
        EXPECT_EQ(drawnRows(track.radii[0]), r.drawn) << r.radii[1];
    }
    const Track kept =
        readAtcfText(record("2012102918", "127N", "787W", "90", "50, NEQ, 5, 6, 7, 8") +
                         record("2012102918", "127N", "787W", "90", "64, XYZ, 1, 2, 3, 4"),
                     TrackFileKind::BestTrackFile);
    EXPECT_EQ(kept.radii[0].rows[1].quadrantsNm, (std::array<int32_t, 4>{5, 6, 7, 8}));
    EXPECT_EQ(kept.fixes[0].radii[1].thresholdKt, 64);
}

TEST(AtcfReader, TheTrackNamesItsStormAndKeepsItsStatistics) {
    const Track sandy =
        readAtcfFile(test::trackDataPath("atcf/bal182012.dat"), TrackFileKind::BestTrackFile);
    EXPECT_EQ(sandy.stormId, "AL18");
    EXPECT_EQ(sandy.basin, "AL");
    EXPECT_EQ(sandy.name, "SANDY");
    EXPECT_EQ(sandy.agency, "ATCF");
    EXPECT_EQ(sandy.source, test::trackDataPath("atcf/bal182012.dat"));
    ASSERT_TRUE(sandy.statistics.has_value());
    EXPECT_EQ(sandy.statistics->peakWind, 100);
    EXPECT_EQ(sandy.statistics->lowestPressure, 940);
    EXPECT_NEAR(sandy.statistics->ace, 13.6675, 1e-9);
    // A file whose records name no storm adds nothing to a job.
    EXPECT_FALSE(readAtcfText(" , , 2012102918, , BEST, 0, 127N, 787W, 90, 990, TS, \n",
                              TrackFileKind::BestTrackFile)
                     .statistics.has_value());
}
