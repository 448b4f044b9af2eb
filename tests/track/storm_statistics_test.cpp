#include "track/storm_statistics.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "track_test_files.h"

using namespace tcmap;

namespace {

std::string fix(std::string_view time, std::string_view minutes, std::string_view lat,
                std::string_view lon, int wind, std::string_view pressure, std::string_view type) {
    return "XX, 01, " + std::string(time) + ", " + std::string(minutes) + ", BEST, 0, " +
           std::string(lat) + ", " + std::string(lon) + ", " + std::to_string(wind) + ", " +
           std::string(pressure) + ", " + std::string(type) + ", 34, NEQ\n";
}

StormStatistics statisticsOf(const std::string& fileBytes) {
    StormStatistics run;
    accumulateStatistics(fileBytes, run);
    return run;
}

}  // namespace

TEST(BasinGroup, HemisphereAndLongitudeBoundaries) {
    const struct {
        const char* latitude;
        const char* longitude;
        BasinGroup group;
    } rows[] = {
        {"125N", "1000E", BasinGroup::NorthwestPacific},
        {"125N", "999E", BasinGroup::IndianSouthern},
        {"125N", "1400W", BasinGroup::AtlanticEastPacific},
        {"125N", "1401W", BasinGroup::NorthwestPacific},
        {"125S", "1401W", BasinGroup::IndianSouthern},
        {"125s", "600w", BasinGroup::AtlanticEastPacific},
        {"125S", "1300E", BasinGroup::IndianSouthern},
        {"", "", BasinGroup::IndianSouthern},  // 0 degrees east
    };
    for (const auto& row : rows) {
        EXPECT_EQ(basinGroup(row.latitude, row.longitude), row.group)
            << row.latitude << " " << row.longitude;
    }
}

TEST(AccumulateStatistics, AceCountsSynopticTropicalFixesOnly) {
    const auto at0600 = statisticsOf(fix("2014100106", "", "125N", "1300E", 35, "990", "TS"));
    EXPECT_DOUBLE_EQ(at0600.ace, 0.35 * 0.35);
    EXPECT_EQ(at0600.peakWind, 35);
    EXPECT_EQ(at0600.lowestPressure, 990);
    const auto at0300 = statisticsOf(fix("2014100103", "0", "125N", "1300E", 35, "990", "TS"));
    EXPECT_EQ(at0300.ace, 0.0);
    EXPECT_EQ(at0300.peakWind, 35);
    // A one-digit minutes field is padded: 06 + 0 reads as 0600.
    EXPECT_GT(statisticsOf(fix("2014100106", "0", "125N", "1300E", 35, "990", "TS")).ace, 0.0);
}

TEST(AccumulateStatistics, BasinRulesDecideWhatCounts) {
    // Subtropical at 60W: peak and pressure but never ACE; in the WP group nothing.
    const auto atlantic = statisticsOf(fix("2014100100", "", "300N", "600W", 45, "1000", "SS"));
    EXPECT_EQ(atlantic.peakWind, 45);
    EXPECT_EQ(atlantic.lowestPressure, 1000);
    EXPECT_EQ(atlantic.ace, 0.0);
    const struct {
        const char* latitude;
        const char* longitude;
        int wind;
        const char* pressure;
        const char* type;
        int peakWind;
    } rows[] = {
        {"300N", "1300E", 45, "1000", "ss", 0},
        {"300N", "1500W", 45, "1000", "SS", 0},
        // North Indian Ocean: 30 kt does not count, 35 kt does.
        {"150N", "850E", 30, "1000", "TD", 0},
        {"150N", "850E", 35, "1000", "TD", 35},
        {"150N", "1300E", 60, "990", "ex", 0},
    };
    for (const auto& row : rows) {
        const auto fixText =
            fix("2014100100", "", row.latitude, row.longitude, row.wind, row.pressure, row.type);
        EXPECT_EQ(statisticsOf(fixText).peakWind, row.peakWind) << fixText;
    }
}

TEST(AccumulateStatistics, RecordsOfOneFixAndUnusablePressures) {
    // Later records of the same fix time add nothing, not even a higher wind.
    const std::string radii = fix("2014100100", "", "150N", "1300E", 50, "0", "TS") +
                              fix("2014100100", "", "150N", "1300E", 90, "950", "TS") +
                              fix("2014100106", "", "150N", "1300E", 55, "", "TS");
    const auto run = statisticsOf(radii);
    EXPECT_EQ(run.peakWind, 55);
    EXPECT_EQ(run.lowestPressure, 0);  // 0 and empty never count
    EXPECT_DOUBLE_EQ(run.ace, 0.25 + 0.55 * 0.55);
    // Without basin and number in the last usable record the file is not added.
    const std::string noId = fix("2014100100", "", "150N", "1300E", 50, "980", "TS") +
                             " , , 2014100106, , BEST, 0, 150N, 1300E, 50, 980\n";
    EXPECT_EQ(statisticsOf(noId).peakWind, 0);
    // A NUL byte spoils only its line: the lines after it are read, and the
    // 90 kt record becomes the first usable one of its fix time.
    EXPECT_EQ(statisticsOf(radii.substr(0, 10) + '\0' + radii).peakWind, 90);
}

// The whole 2014 western-Pacific season in one run. The expected figures come
// from a separate Python script run once over the raw b-decks, applying the
// counting rules directly to the comma-split records (first record per fix
// time, basin group, type and wind tests, synoptic hours for the ACE). Checked
// by hand: the peak wind 155 kt and lowest pressure 907 hPa are VONGFONG at
// 2014100718 and 2014100800 (bwp192014.dat lines 51-56); no fix reads lower.
TEST(AccumulateStatistics, WholeWesternPacificSeason2014) {
    StormStatistics run;
    for (int storm = 1; storm <= 23; ++storm) {
        char name[32];
        std::snprintf(name, sizeof name, "atcf/bwp%02d2014.dat", storm);
        accumulateStatistics(test::readTrackData(name), run);
    }
    EXPECT_EQ(run.peakWind, 155);
    EXPECT_EQ(run.lowestPressure, 907);
    EXPECT_NEAR(run.ace, 253.4175, 1e-9);
}
