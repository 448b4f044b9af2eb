// One storm from several agencies found by time and place: real tracks of
// 2018 and 2019 from CMA, JMA and JTWC, and the rule's limits on made-up
// tracks.
#include "track/storm_matching.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "archive_test_files.h"
#include "track/atcf_reader.h"

using namespace tcmap;
using namespace tcmap::test;

namespace {

std::vector<Track> tracksOf(const std::string& archive) {
    std::vector<Track> tracks;
    for (const ArchiveStorm& storm : readArchive(archivePath(archive)).selected) {
        tracks.push_back(storm.track);
    }
    return tracks;
}

// "CMA 1826", "ATCF WP31" for each track of a group.
std::vector<std::string> namesOf(const StormGroup& group, const std::vector<const Track*>& tracks) {
    std::vector<std::string> names;
    for (const size_t i : group.tracks) {
        names.push_back(tracks[i]->agency + " " + tracks[i]->stormId);
    }
    return names;
}

// The two tracks a largest difference is between.
std::vector<std::string> pairOf(const LargestDifference& d,
                                const std::vector<const Track*>& tracks) {
    return {tracks[d.first]->agency + " " + tracks[d.first]->stormId,
            tracks[d.second]->agency + " " + tracks[d.second]->stormId};
}

struct Point {
    std::string time;  // YYYYMMDDHH
    double latitude, longitude;
    int32_t wind = 50;
};

Track madeUpTrack(const std::vector<Point>& points) {
    Track track;
    track.agency = "ATCF";
    for (const Point& p : points) {
        Fix& fix = track.fixes.emplace_back();
        fix.time = p.time + "00";
        fix.latitude = p.latitude;
        fix.longitude = p.longitude;
        fix.wind = p.wind;
        fix.pressure = 990;
        fix.fields = 28;
    }
    return track;
}

// Six-hourly points from 2030-08-01 at `firstHour` UTC, a degree apart,
// moving west along a latitude.
std::vector<Point> westward(double latitude, double longitude, int count, int firstHour = 0) {
    std::vector<Point> points;
    for (int i = 0; i < count; ++i) {
        const int hour = firstHour + i * 6;
        char time[32];
        std::snprintf(time, sizeof time, "203008%02d%02d", 1 + hour / 24, hour % 24);
        points.push_back({time, latitude, longitude - i});
    }
    return points;
}

}  // namespace

// Yutu (1826) in a CMA and a JMA archive and JTWC's b-deck is one storm;
// Soulik and Cimaron (1819, 1820) in the same days of August 2018 are two, as
// are Lekima and Krosa (1909, 1910) in August 2019.
TEST(StormMatching, RealTracksOfThreeAgencies) {
    std::vector<Track> all;
    for (const std::string archive :
         {"cma-2018-soulik-cimaron-yutu.txt", "jma-2018-eight-storms.txt",
          "cma-2019-lekima-krosa.txt", "jma-2019-lekima-krosa.txt"}) {
        for (Track& track : tracksOf(archive)) all.push_back(std::move(track));
    }
    all.push_back(readAtcfFile(std::string(TCMAP_TEST_DATA_DIR) + "/agencies/bwp312018.dat",
                               TrackFileKind::BestTrackFile));
    std::vector<const Track*> tracks;
    for (const Track& track : all) tracks.push_back(&track);
    ASSERT_EQ(tracks.size(), 16u);

    const std::vector<StormGroup> groups = groupStorms(tracks);
    std::vector<std::vector<std::string>> names;
    for (const StormGroup& group : groups) names.push_back(namesOf(group, tracks));
    EXPECT_EQ(names, (std::vector<std::vector<std::string>>{
                         {"CMA 1819", "JMA 1819"},
                         {"CMA 1820", "JMA 1820"},
                         {"CMA 1826", "JMA 1826", "ATCF WP31"},
                         {"JMA 1801"},
                         {"JMA 1817"},
                         {"JMA 1821"},
                         {"JMA 1822"},
                         {"JMA 1824"},
                         {"CMA 1909", "JMA 1909"},
                         {"CMA 1910", "JMA 1910"},
                     }));

    // Yutu's largest differences, worked out from the rows:
    //   CMA 2018102100 1  81 1594 1008 13      JMA 18102100 002 2 085 1599 1008 000
    //   JMA 18102512 002 5 163 1423  935 095   JTWC 2018102512 163N 1423E 140 916
    //   CMA 2018102818 4 175 1271  940 45      JMA 18102818 002 5 175 1270  970 070
    const StormGroup& yutu = groups[2];
    EXPECT_NEAR(yutu.positionKm.value, 70.7, 0.1);
    EXPECT_EQ(yutu.positionKm.time, "201810210000");
    EXPECT_EQ(pairOf(yutu.positionKm, tracks), (std::vector<std::string>{"CMA 1826", "JMA 1826"}));
    EXPECT_EQ(yutu.windKt.value, 45);  // 95 kt (10-minute) against 140 kt (1-minute)
    EXPECT_EQ(yutu.windKt.time, "201810251200");
    EXPECT_EQ(pairOf(yutu.windKt, tracks), (std::vector<std::string>{"JMA 1826", "ATCF WP31"}));
    EXPECT_EQ(yutu.pressureHpa.value, 30);
    EXPECT_EQ(yutu.pressureHpa.time, "201810281800");

    // Compared as 10-minute winds, JTWC's 140 kt is 130 kt: 35 kt apart.
    StormMatchSettings tenMinute;
    tenMinute.compareWindsAs = WindAveraging::TenMinute;
    const StormGroup converted = groupStorms(tracks, tenMinute)[2];
    EXPECT_EQ(converted.windKt.value, 35);
    EXPECT_EQ(converted.windKt.time, "201810251200");
    // A storm of one track has nothing to compare.
    EXPECT_FALSE(groups[3].positionKm.found);
    EXPECT_FALSE(groups[3].windKt.found);
}

TEST(StormMatching, TheRulesLimits) {
    const Track storm = madeUpTrack(westward(15, 140, 8));
    struct Case {
        const char* what;
        Track other;
        bool same;
    };
    const double degree = greatCircleKm(15, 140, 16, 140);  // 111.2 km
    std::vector<Point> partlyClose = westward(15, 140, 8);
    for (size_t i = 3; i < partlyClose.size(); ++i) partlyClose[i].latitude += 5;
    std::vector<Point> threeClose = westward(15, 140, 3);
    Track forecast = madeUpTrack(westward(15, 140, 8));
    forecast.kind = TrackFileKind::ForecastFile;
    for (Case& c : std::vector<Case>{
             {"2.2 degrees away", madeUpTrack(westward(17.2, 140, 8)), true},
             {"2.3 degrees away", madeUpTrack(westward(17.3, 140, 8)), false},
             {"three close times", madeUpTrack(threeClose), true},
             {"two close times", madeUpTrack(westward(15, 140, 2)), false},
             {"close at 3 of 8 times", madeUpTrack(partlyClose), false},
             {"at 03, 09, 15, 21 UTC only", madeUpTrack(westward(15, 140, 8, 3)), false},
             {"a forecast", forecast, false},
         }) {
        EXPECT_EQ(sameStorm(storm, c.other), c.same) << c.what;
        EXPECT_EQ(sameStorm(c.other, storm), c.same) << c.what;
    }
    EXPECT_NEAR(2.2 * degree, 244.6, 0.1);
    // Over the date line the distance is the short way round.
    EXPECT_NEAR(greatCircleKm(10, 179.5, 10, -179.5), greatCircleKm(10, 0, 10, 1), 1e-9);
    const Track east = madeUpTrack(westward(15, 180.5, 8));
    Track west = madeUpTrack(westward(15, 180.5, 8));
    for (Fix& fix : west.fixes) fix.longitude -= 360;
    EXPECT_TRUE(sameStorm(east, west));

    // The thresholds are settings.
    StormMatchSettings strict;
    strict.closeKm = 100;
    EXPECT_FALSE(sameStorm(storm, madeUpTrack(westward(16, 140, 8)), strict));
    strict.closeKm = 250;
    strict.minimumCloseTimes = 9;
    EXPECT_FALSE(sameStorm(storm, storm, strict));
}

// Tracks that match one another join one group through a third, and the
// groups keep the input's order.
TEST(StormMatching, GroupsJoinThroughAThirdTrack) {
    std::vector<Point> early = westward(15, 140, 8);
    early.resize(5);
    std::vector<Point> late = westward(15, 140, 8);
    late.erase(late.begin(), late.begin() + 4);
    const Track whole = madeUpTrack(westward(15, 140, 8));
    const Track first = madeUpTrack(early);
    const Track second = madeUpTrack(late);
    const Track elsewhere = madeUpTrack(westward(30, 160, 8));
    const std::vector<const Track*> tracks{&first, &elsewhere, &second, &whole, nullptr};
    const std::vector<StormGroup> groups = groupStorms(tracks);
    ASSERT_EQ(groups.size(), 3u);
    EXPECT_EQ(groups[0].tracks, (std::vector<size_t>{0, 2, 3}));
    EXPECT_EQ(groups[1].tracks, std::vector<size_t>{1});
    EXPECT_EQ(groups[2].tracks, std::vector<size_t>{4});
    EXPECT_EQ(groups[0].positionKm.value, 0);
    EXPECT_EQ(groups[0].positionKm.time, "203008010000");  // the earliest of the ties
}
