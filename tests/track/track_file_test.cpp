#include "track/track_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <random>

#include "base/text_rules.h"
#include "support/unprivileged_rerun.h"
#include "track/atcf_reader.h"
#include "track/storm_statistics.h"
#include "track/track_text.h"
#include "track/wind_radii.h"
#include "track_test_files.h"

using namespace tcmap;

namespace {

const std::string kFix =
    "WP, 19, 2014100718, , BEST, 0, 176N, 1332E, 155, 907, ST, 34, NEQ, 145, 115, 115, 145, \n";

// Every reader and the statistics pass on the same bytes; the track text lines
// must keep their form whatever the input.
void expectWellFormedResults(const std::string& bytes) {
    StormStatistics run;
    accumulateStatistics(bytes, run);
    EXPECT_TRUE(std::isfinite(run.ace));
    EXPECT_GE(run.ace, 0.0);
    for (const std::string& text : {test::bestTrackText(bytes), test::forecastText(bytes)}) {
        EXPECT_TRUE(text.empty() || text.ends_with("\r\n"));
        for (const auto& line : splitText(text, "\r\n")) EXPECT_GE(splitText(line, " ").size(), 2u);
    }
    for (int selection = 1; selection <= 3; ++selection) {
        const std::string radii = test::radiiTextOf(bytes, selection, false);
        EXPECT_TRUE(radii.empty() || radii.ends_with("\r\n"));
    }
}

// A file read as a draw job reads it: its lines, and its statistics added to
// the run's.
std::vector<std::string> loadTrackLines(const std::string& path, TrackFileKind kind,
                                        StormStatistics& run) {
    const Track track = readAtcfFile(path, kind);
    if (track.statistics) addToRun(run, *track.statistics);
    return trackTextLines(track);
}

}  // namespace

TEST(TrackFileKind, ExtensionOfTheFileNameDecides) {
    EXPECT_EQ(trackFileKind("/data/STORM.DAT"), TrackFileKind::BestTrackFile);
    EXPECT_EQ(trackFileKind("C:\\tracks\\bwp192014.txt"), TrackFileKind::BestTrackFile);
    EXPECT_EQ(trackFileKind("/data/21.al092017.Fst"), TrackFileKind::ForecastFile);
    EXPECT_EQ(trackFileKind("/data/storm.dat.bak"), TrackFileKind::OtherFile);
    EXPECT_EQ(trackFileKind("/data.fst/storm"), TrackFileKind::OtherFile);
    EXPECT_EQ(trackFileKind("storm.dat"), TrackFileKind::OtherFile);  // no folder separator
    EXPECT_EQ(trackFileKind(""), TrackFileKind::OtherFile);
}

TEST(LoadTrackLines, BestTracksFeedTheStatisticsForecastsDoNot) {
    test::ScratchFolder folder;
    StormStatistics run;
    const std::string other = folder.write("storm.bak", kFix + '\0' + kFix);
    const auto lines = loadTrackLines(other, trackFileKind(other), run);
    EXPECT_EQ(lines, std::vector<std::string>{"WP19  201410071800 17.6 133.2 155 907 ST "});
    EXPECT_EQ(run.peakWind, 155);
    EXPECT_DOUBLE_EQ(run.ace, 1.55 * 1.55);  // the copy after the NUL is not read

    const std::string forecast = folder.write("storm.fst", kFix);
    EXPECT_EQ(loadTrackLines(forecast, TrackFileKind::ForecastFile, run),
              std::vector<std::string>{"WP19 2014100718 P+0 17.6 133.2 155 907 ST"});
    EXPECT_DOUBLE_EQ(run.ace, 1.55 * 1.55);
}

TEST(LoadRadiiText, ForecastFilesGetEveryPointForTheLastFixSetting) {
    const std::string path = test::trackDataPath("atcf/21.al092017.fst");
    const Track forecast = readAtcfFile(path, TrackFileKind::ForecastFile);
    // All eight forecast points, hours 93 and 117 with their 34 kt radii of 0,
    // under the every-fix and the last-fix settings alike.
    const std::string everyPoint =
        "2017082515+0 26.7 -96.0 34 120,90,80,100 50 50,40,40,30 64 30,20,10,20\r\n"
        "2017082515+9 27.6 -96.8 34 120,100,90,100 50 60,50,40,40 64 30,25,15,20\r\n"
        "2017082515+21 28.4 -97.3 34 120,120,100,100 50 60,50,40,40 64 30,30,20,20\r\n"
        "2017082515+33 28.8 -97.5 34 100,120,90,80 50 50,50,40,30 64 20,20,0,0\r\n"
        "2017082515+45 28.9 -97.6 34 100,110,80,50 50 40,40,30,20\r\n"
        "2017082515+69 28.3 -96.8 34 120,70,50,0\r\n"
        "2017082515+93 28.5 -95.5 34 0,0,0,0\r\n"
        "2017082515+117 30.0 -94.5 34 0,0,0,0\r\n";
    EXPECT_EQ(radiiText(forecast, 1, true), everyPoint);
    EXPECT_EQ(radiiText(forecast, 2, true), everyPoint);
    // Read as a best track, the same file gives its last point only.
    const Track asBestTrack = readAtcfFile(path, TrackFileKind::BestTrackFile);
    EXPECT_EQ(radiiText(asBestTrack, 2, true), "2017082515+117 30.0 -94.5 34 0,0,0,0\r\n");
    EXPECT_EQ(radiiText(forecast, 0, true), "");
}

TEST(LoadTrackLines, WhatIsNotARegularFileReadsAsEmpty) {
    // Root reads any file whatever its mode: as root the test runs again as
    // user nobody, for whom the file without read permission is one.
    if (!tcmap::testing::permissionsBindThisProcess()) return;
    test::ScratchFolder folder;
    folder.write("track.dat", kFix);
    ASSERT_EQ(::mkfifo(folder.path("pipe.dat").c_str(), 0600), 0);
    ASSERT_EQ(::symlink(folder.path("missing.dat").c_str(), folder.path("dangling.dat").c_str()),
              0);
    ASSERT_EQ(::symlink(folder.path("loop.dat").c_str(), folder.path("loop.dat").c_str()), 0);
    std::vector<std::string> paths = {folder.path(""),         "/dev/zero",
                                      folder.path("pipe.dat"), folder.path("dangling.dat"),
                                      folder.path("loop.dat"), folder.path("track.dat/child.dat")};
    ASSERT_EQ(::chmod(folder.path("track.dat").c_str(), 0), 0);
    paths.push_back(folder.path("track.dat"));
    for (const std::string& path : paths) {
        StormStatistics run;
        EXPECT_TRUE(loadTrackLines(path, TrackFileKind::BestTrackFile, run).empty()) << path;
        EXPECT_EQ(run.peakWind, 0) << path;
        EXPECT_TRUE(readAtcfFile(path, TrackFileKind::BestTrackFile).radii.empty()) << path;
    }
}

TEST(TrackReaders, SurviveHostileBytes) {
    std::mt19937 random(20141007);
    std::string binary(1 << 20, '\0');
    for (char& c : binary) c = static_cast<char>(random() % 255 + 1);  // no NUL
    expectWellFormedResults(binary);

    std::string wide = kFix.substr(0, kFix.size() - 1);
    for (int i = 0; i < 10'000; ++i) wide += ", 9";
    expectWellFormedResults(wide);
    EXPECT_EQ(test::bestTrackText(wide), "WP19 9 201410071800 17.6 133.2 155 907 ST 9 9 \r\n");

    // Invalid UTF-8 passes through byte for byte.
    const std::string odd = "WP, 19, 2014100718, , BEST, 0, 176N, 1332E, 155, 907, \xFF\xFE, " +
                            std::string(16, ',') + " \xC3\x28\xE3\x80, \n";
    EXPECT_EQ(test::bestTrackText(odd),
              "WP19  201410071800 17.6 133.2 155 907 \xFF\xFE \xC3\x28\xE3\x80  \r\n");
    expectWellFormedResults(odd);
}

TEST(LoadTrackLines, LargeGeneratedFile) {
    // 60 000 fixes at six-hour steps, three radii records each: about 15 MB.
    std::string bytes;
    for (int fix = 0; fix < 60'000; ++fix) {
        const std::string time = std::to_string(2000010100 + fix);
        for (const char* threshold : {"34", "50", "64"}) {
            bytes += "WP, 01, " + time.substr(0, 8) + (fix % 2 ? "06" : "00") + ", " +
                     std::to_string(fix) + ", BEST, 0, 150N, 1300E, 40, 990, TS, " + threshold +
                     ", NEQ, 10, 20, 30, 40, \n";
        }
    }
    test::ScratchFolder folder;
    const std::string path = folder.write("large.dat", bytes);
    StormStatistics run;
    EXPECT_EQ(loadTrackLines(path, TrackFileKind::BestTrackFile, run).size(), 60'000u);
    EXPECT_EQ(run.peakWind, 40);
    EXPECT_EQ(readAtcfFile(path, TrackFileKind::BestTrackFile).radii.size(), 60'000u);
}
