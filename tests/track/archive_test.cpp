// The agencies' archives: recognised by their first line, each storm turned
// into a typed track that gives the track text, radii and statistics a
// best-track file of it would give, and the storm selection.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "archive_test_files.h"
#include "base/file_io.h"
#include "base/text_rules.h"
#include "track/archive_fields.h"
#include "track/archive_kind.h"
#include "track/archive_reader.h"
#include "track/cma_archive.h"
#include "track/ibtracs_archive.h"
#include "track/record_fields.h"
#include "track/storm_statistics.h"
#include "track/track_file.h"
#include "track/track_model.h"
#include "track/track_text.h"
#include "track_test_files.h"

using namespace tcmap;
using namespace tcmap::test;

TEST(ArchiveKind, TheFirstLineDecidesWhateverTheName) {
    const struct {
        const char* line;
        ArchiveKind kind;
    } rows[] = {
        {"AL122005,            KATRINA,     34,", ArchiveKind::Hurdat2},
        {"66666 0000   22 0001 9001 0 6 Koryn   20110729", ArchiveKind::Cma},
        {"SID,SEASON,NUMBER,BASIN,SUBBASIN,NAME,ISO_TIME,NATURE,LAT,LON", ArchiveKind::Ibtracs},
        {"name,lon,iso_time,sid,lat", ArchiveKind::Ibtracs},
        // ATCF records and near misses stay ATCF files.
        {"WP, 02, 2014013106,   , BEST,   0,  84N, 1397E,  15, 1006, DB", ArchiveKind::None},
        {"AL122005, KATRINA, many,", ArchiveKind::None},
        // A damaged count is a damaged archive, not an ATCF file.
        {"AL122005,            KATRINA,     -5,", ArchiveKind::Hurdat2},
        {"66666 AAAA   22 0001 9001 0 6 Koryn", ArchiveKind::None},
        {"SID,SEASON,LAT,LON", ArchiveKind::None},
        {"", ArchiveKind::None},
    };
    for (const auto& row : rows) EXPECT_EQ(archiveKindOfFirstLine(row.line), row.kind) << row.line;

    ScratchFolder folder;
    const std::string noName = folder.write("archive", "EP202015,           PATRICIA,     19,\r\n");
    EXPECT_EQ(archiveKind(noName), ArchiveKind::Hurdat2);
    EXPECT_EQ(archiveKind(folder.path("missing")), ArchiveKind::None);
    EXPECT_EQ(archiveKind(archivePath("ibtracs-sa-2004.csv")), ArchiveKind::Ibtracs);
    EXPECT_EQ(archiveKind(archivePath("cma-2019-lekima-krosa.txt")), ArchiveKind::Cma);
}

// Rows of EP202015 in the archive, and the lines they must give:
//   20151020, 0600,  , TD, 13.4N,  94.0W,  25, 1007, radii all 0
//   20151023, 1200,  , HU, 17.3N, 105.6W, 185,  872, 150,100,60,130, 50,50,40,40, 25,25,20,25
//   20151023, 2300, L, HU, 19.4N, 105.0W, 130,  932, ...
TEST(Hurdat2Archive, PatriciaGivesTheTrackTextOfItsRows) {
    const ReadArchive read =
        readArchive(archivePath("hurdat2-nepac-2015.txt"), ArchiveSelection("", "", "patricia"));
    EXPECT_EQ(read.storms, 31);
    ASSERT_EQ(read.selected.size(), 1u);
    const ArchiveStorm& patricia = read.selected[0];
    EXPECT_EQ(patricia.key.ids, std::vector<std::string>{"EP202015"});
    EXPECT_EQ(patricia.key.year, 2015);
    EXPECT_EQ(patricia.track.stormId, "EP202015");
    EXPECT_EQ(patricia.track.name, "PATRICIA");
    EXPECT_EQ(patricia.track.agency, "HURDAT2");
    ASSERT_FALSE(patricia.track.fixes.empty());
    EXPECT_EQ(patricia.track.fixes[0].latitude, 13.4);
    EXPECT_EQ(patricia.track.fixes[0].longitude, -94.0);

    const std::vector<std::string> lines = trackOf(patricia);
    ASSERT_EQ(lines.size(), 19u);
    EXPECT_EQ(lines[0], "EP20  201510200600 13.4 -94.0 25 1007 TD PATRICIA  ");
    EXPECT_EQ(lines[13], "EP20  201510231200 17.3 -105.6 185 872 HU PATRICIA  ");
    EXPECT_EQ(lines[15], "EP20  201510232300 19.4 -105.0 130 932 HU PATRICIA  ");
    EXPECT_EQ(lines[18], "EP20  201510241200 23.2 -102.3 25 1000 TD PATRICIA  ");

    // Radii only where a threshold has one: none for the first fix, all
    // three at the peak.
    const std::vector<std::string> radii = radiiOf(patricia);
    EXPECT_EQ(radii.front(), "201510210000+0 13.1 -95.1 34 0,60,0,0");
    EXPECT_NE(
        std::find(radii.begin(), radii.end(),
                  "201510231200+0 17.3 -105.6 34 150,100,60,130 50 50,50,40,40 64 25,25,20,25"),
        radii.end());
    EXPECT_EQ(radii.size(), 15u);  // 19 fixes, the first three and the last without radii
}

TEST(Hurdat2Archive, TheOlderLayoutReadsLikeTheNewOne) {
    const ReadArchive older = readArchive(archivePath("hurdat2-2018-revision-patricia.txt"));
    const ReadArchive newer =
        readArchive(archivePath("hurdat2-nepac-2015.txt"), ArchiveSelection("", "", "EP202015"));
    ASSERT_EQ(older.selected.size(), 1u);
    ASSERT_EQ(newer.selected.size(), 1u);
    EXPECT_EQ(older.problems.skippedRows, 0);
    EXPECT_EQ(trackOf(older.selected[0]), trackOf(newer.selected[0]));
    EXPECT_EQ(radiiOf(older.selected[0]), radiiOf(newer.selected[0]));
}

// The ACE of the 2015 eastern-Pacific storms, worked out from the archive's
// rows directly: tropical or hurricane status, at least 34 kt, at 00, 06, 12
// or 18 UTC on the hour.
TEST(Hurdat2Archive, TheSeasonsStatisticsAgreeWithTheRowsOfTheArchive) {
    double expectedAce = 0;
    bool eastPacific = false;
    forEachRecordLine(readFileOrEmpty(archivePath("hurdat2-nepac-2015.txt")),
                      [&](std::string_view line) {
                          const std::vector<std::string> f = splitText(line, ",");
                          if (f.size() < 5) {  // a storm header
                              eastPacific = f[0].starts_with("EP");
                              return;
                          }
                          if (!eastPacific || f.size() < 8) return;
                          const std::string time = trimText(f[1]);
                          const std::string status = trimText(f[3]);
                          const double wind = readNumber(f[6]);
                          const bool synoptic =
                              time == "0000" || time == "0600" || time == "1200" || time == "1800";
                          if ((status == "TS" || status == "HU") && wind >= 34 && synoptic) {
                              expectedAce += (wind / 100) * (wind / 100);
                          }
                      });

    const ReadArchive read =
        readArchive(archivePath("hurdat2-nepac-2015.txt"), ArchiveSelection("2015", "ep", ""));
    EXPECT_EQ(read.selected.size(), 22u);
    StormStatistics season;
    for (const ArchiveStorm& storm : read.selected) {
        if (storm.track.statistics) addToRun(season, *storm.track.statistics);
    }
    EXPECT_GT(expectedAce, 250);
    EXPECT_NEAR(season.ace, expectedAce, 1e-9);
    EXPECT_EQ(season.peakWind, 185);
    EXPECT_EQ(season.lowestPressure, 872);
}

TEST(Hurdat2Archive, BrokenRowsAndAShortLastStormAreReportedNotDrawn) {
    ScratchFolder folder;
    const std::string path = folder.write(
        "broken.txt",
        "EP012099,              ALPHA,      4,\n"
        "20990601, 0000,  , TS, 10.0N, 100.0W,  40, 1000\n"
        "20990601, 0600,  , TS, 10.5N, 100.5W,  4O, 1000, -999\n"  // a letter O in the wind
        "20990601, 1200,  , TS\n"                                  // missing columns
        "20990601, 1800,  , TS, 11.0N, 101.0W, -99, -999,  20,  -999,   0,   0\n"
        "a stray line\n"
        "EP022099,               BETA,     30,\n"
        "20990701, 0000,  , HU, 15.0N, 120.0W,  70,  980\n");
    const ReadArchive read = readArchive(path);
    EXPECT_EQ(read.storms, 2);
    ASSERT_EQ(read.selected.size(), 2u);
    EXPECT_EQ(read.problems.skippedRows, 3);
    EXPECT_EQ(read.problems.firstSkippedLine, 3);
    EXPECT_EQ(read.problems.cutShortStorm, "EP022099");
    const std::vector<std::string> alpha = trackOf(read.selected[0]);
    ASSERT_EQ(alpha.size(), 2u);
    // Missing wind and pressure read 0, a missing radius 0.
    EXPECT_EQ(alpha[1], "EP01  209906011800 11.0 -101.0 0 0 TS ALPHA  ");
    EXPECT_EQ(radiiOf(read.selected[0]),
              std::vector<std::string>{"209906011800+0 11.0 -101.0 34 20,0,0,0"});
    EXPECT_EQ(trackOf(read.selected[1]).size(), 1u);
}

TEST(Hurdat2Archive, FixesOffTheGlobeAreSkippedAndLongitudesWrap) {
    ScratchFolder folder;
    const std::string path =
        folder.write("wrapped.txt",
                     "EP012099,              ALPHA,      5,\n"
                     "20990601, 0000,  , TS, 95.0N, 100.0W,  40, 1000\n"  // beyond the pole
                     "20990601, 0600,  , TS, 10.0N, 190.0W,  40, 1000\n"  // the long way round
                     "20990601, 1200,  , TS, 10.0S, 180.0W,  40, 1000\n"
                     "20990601, 1800,  , TS, 90.0N, 359.5E,  40, 1000\n"
                     "20990602, 0000,  , TS, 10.0N, 360.5W,  40, 1000\n");  // past a full turn
    const ReadArchive read = readArchive(path);
    ASSERT_EQ(read.selected.size(), 1u);
    EXPECT_EQ(trackOf(read.selected[0]),
              (std::vector<std::string>{"EP01  209906010600 10.0 170.0 40 1000 TS ALPHA  ",
                                        "EP01  209906011200 -10.0 -180.0 40 1000 TS ALPHA  ",
                                        "EP01  209906011800 90.0 -0.5 40 1000 TS ALPHA  "}));
    EXPECT_EQ(read.problems.skippedRows, 2);
    EXPECT_EQ(read.problems.firstSkippedLine, 2);
}

// A header whose row count is negative or absurd is damaged: it and the rows
// after it are skipped rows, never a storm; rows no storm can have are
// skipped too.
TEST(Hurdat2Archive, DamagedHeadersAndImpossibleRowsAreSkippedRows) {
    ScratchFolder folder;
    const std::string path =
        folder.write("damaged.txt",
                     "EP012099,              ALPHA,     -5,\n"
                     "20990601, 0000,  , TS, 10.0N, 100.0W,  40, 1000\n"
                     "EP022099,               BETA,      3,\n"
                     "20990701, 0000,  , HU, 95.0N, 120.0W,  70,  980\n"  // north of the pole
                     "20990701, 0600,  , HU, 15.0N, 120.0W, 999,  980\n"  // 999 kt
                     "20990701, 1200,  , HU, 15.5N, 120.5W,  75,  975\n"
                     "EP032099,              GAMMA,  99999,\n");
    ASSERT_EQ(archiveKind(path), ArchiveKind::Hurdat2);
    const ReadArchive read = readArchive(path);
    EXPECT_EQ(read.storms, 1);
    ASSERT_EQ(read.selected.size(), 1u);
    EXPECT_EQ(read.selected[0].key.name, "BETA");
    EXPECT_EQ(trackOf(read.selected[0]).size(), 1u);
    EXPECT_EQ(read.problems.skippedRows, 5);
    EXPECT_EQ(read.problems.firstSkippedLine, 1);
}

// Catarina (2004), the South Atlantic hurricane: its USA_ATCF_ID is AL502004.
TEST(IbtracsArchive, FixesTypeCodesAndRadiiOfARealStorm) {
    const ReadArchive read = readArchive(archivePath("ibtracs-sa-2004.csv"));
    EXPECT_EQ(read.storms, 1);
    ASSERT_EQ(read.selected.size(), 1u);
    const ArchiveStorm& catarina = read.selected[0];
    EXPECT_EQ(catarina.key.ids, (std::vector<std::string>{"2004086S29318", "AL502004"}));
    EXPECT_EQ(catarina.key.year, 2004);
    EXPECT_EQ(catarina.key.basin, "AL");
    EXPECT_EQ(read.problems.skippedRows, 0);

    const std::vector<std::string> lines = trackOf(catarina);
    ASSERT_EQ(lines.size(), 23u);  // three-hourly rows, each a fix
    EXPECT_EQ(lines[0], "AL50  200403251800 -28.6 -41.8 45 1000 SS NOT_NAMED  ");
    EXPECT_EQ(lines[1], "AL50  200403252100 -28.7 -42.2 45 1000 SS NOT_NAMED  ");
    EXPECT_EQ(lines[2], "AL50  200403260000 -28.7 -42.5 45 1000 TD NOT_NAMED  ");
    EXPECT_EQ(lines[6], "AL50  200403261200 -28.8 -43.7 65 987 HU NOT_NAMED  ");
    const std::vector<std::string> radii = radiiOf(catarina);
    ASSERT_EQ(radii.size(), 6u);
    EXPECT_EQ(radii[0], "200403261800+0 -28.9 -44.3 34 75,75,75,75");

    // Without USA columns: the basin and number from BASIN and NUMBER, the
    // type from NATURE.
    const struct {
        const char* basin;
        const char* atcf;
    } basins[] = {{"SA", "SL"}, {"NI", "IO"}, {"sp", "SH"}};
    for (const auto& row : basins) EXPECT_EQ(atcfBasinOfIbtracs(row.basin), row.atcf) << row.basin;
    const struct {
        const char* nature;
        int wind;
        const char* type;
    } types[] = {
        {"TS", 33, "TD"}, {"TS", 34, "TS"}, {"TS", 64, "HU"},
        {"SS", 40, "SS"}, {"ET", 40, "EX"}, {"NR", 40, "XX"},
    };
    for (const auto& row : types) {
        EXPECT_EQ(typeFromNature(row.nature, row.wind), row.type) << row.nature << " " << row.wind;
    }
}

TEST(IbtracsArchive, ColumnsAreFoundByNameAndBadRowsAreSkipped) {
    // The real file with its columns in reverse order reads the same.
    const std::string real = readFileOrEmpty(archivePath("ibtracs-active-2024.csv"));
    std::string reversed;
    forEachRecordLine(real, [&](std::string_view line) {
        std::vector<std::string> fields = splitText(line, ",");
        std::reverse(fields.begin(), fields.end());
        for (size_t i = 0; i < fields.size(); ++i) reversed += (i ? "," : "") + fields[i];
        reversed += "\r\n";
    });
    ScratchFolder folder;
    const ReadArchive original = readArchive(archivePath("ibtracs-active-2024.csv"));
    const ReadArchive turned = readArchive(folder.write("turned.csv", reversed));
    ASSERT_EQ(original.selected.size(), 2u);
    ASSERT_EQ(turned.selected.size(), 2u);
    for (size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(trackOf(turned.selected[i]), trackOf(original.selected[i]));
    }
    // IALY has no USA_STATUS: NATURE "NR" gives XX.
    EXPECT_EQ(trackOf(original.selected[0]).front(),
              "SI24  202405161200 -9.1 52.5 35 1001 XX IALY  ");

    // A spur track, a short row and a row without a position.
    const std::string header =
        "SID,SEASON,NUMBER,BASIN,NAME,ISO_TIME,NATURE,LAT,LON,WMO_WIND,WMO_PRES,TRACK_TYPE\n"
        " ,Year, , , , , , , , , , \n";
    const std::string path = folder.write(
        "bad.csv", header +
                       "2020001N10100,2020,5,NI,ONE,2020-01-01 00:00:00,TS,10.0,100.0,40,990,main\n"
                       "2020001N10100,2020,5,NI,ONE,2020-01-01 03:00:00,TS,10.1,100.1,40,990,spur\n"
                       "2020001N10100,2020,5,NI,ONE,2020-01-01 06:00:00\n"
                       "2020001N10100,2020,5,NI,ONE,2020-01-01 09:00:00,TS, ,abc,40,990,main\n"
                       "2020001N10100,2020,5,NI,ONE,2020-01-01 12:00:00,DS,10.4,370.0, , ,main\n");
    const ReadArchive bad = readArchive(path);
    EXPECT_EQ(bad.problems.skippedRows, 2);
    EXPECT_EQ(bad.problems.firstSkippedLine, 5);
    ASSERT_EQ(bad.selected.size(), 1u);
    EXPECT_EQ(trackOf(bad.selected[0]),
              (std::vector<std::string>{"IO05  202001010000 10.0 100.0 40 990 TS ONE  ",
                                        "IO05  202001011200 10.4 10.0 0 0 DB ONE  "}));
}

// Lekima (1909): rows "2019080318 1 158 1315 1002 13" ... "2019080812 6 244 1250 915 62".
TEST(CmaArchive, ATyphoonsWindsInKnotsAndItsCategories) {
    const ReadArchive read = readArchive(archivePath("cma-2019-lekima-krosa.txt"),
                                         ArchiveSelection("2019", "WP", "1909"));
    EXPECT_EQ(read.storms, 2);
    ASSERT_EQ(read.selected.size(), 1u);
    EXPECT_EQ(read.selected[0].key.name, "LEKIMA");
    const std::vector<std::string> lines = trackOf(read.selected[0]);
    ASSERT_EQ(lines.size(), 62u);
    EXPECT_EQ(lines[0], "WP09  201908031800 15.8 131.5 25 1002 TD LEKIMA  ");   // 13 m/s
    EXPECT_EQ(lines[3], "WP09  201908041200 17.5 130.3 35 998 TS LEKIMA  ");    // 18 m/s
    EXPECT_EQ(lines[8], "WP09  201908051800 18.6 129.5 49 985 TS LEKIMA  ");    // 25 m/s, STS
    EXPECT_EQ(lines[19], "WP09  201908081200 24.4 125.0 121 915 TY LEKIMA  ");  // 62 m/s
    EXPECT_TRUE(radiiOf(read.selected[0]).empty());

    const struct {
        int metresPerSecond;
        int knots;
    } winds[] = {{10, 19} /* 19.44 */, {33, 64} /* 64.15 */};
    for (const auto& row : winds) {
        EXPECT_EQ(knotsFromMetresPerSecond(row.metresPerSecond), row.knots) << row.metresPerSecond;
    }
    const struct {
        int category;
        const char* type;
    } types[] = {{0, "LO"}, {5, "TY"}, {9, "EX"}, {7, "XX"}};
    for (const auto& row : types) EXPECT_EQ(cmaTypeCode(row.category), row.type) << row.category;
}

TEST(CmaArchive, LongitudesOutsideTheUsualRangeWrap) {
    ScratchFolder folder;
    const std::string path = folder.write("CH2099BST.txt",
                                          "66666 9901    3 0002 9901 0 6 ALPHA  20990101\n"
                                          "2099020100 4 200 -2000  950      40\n"
                                          "2099020106 4 200  3599  950      40\n"
                                          "2099020112 4 200 -1800  950      40\n");
    const ReadArchive read = readArchive(path);
    ASSERT_EQ(read.selected.size(), 1u);
    EXPECT_EQ(trackOf(read.selected[0]),
              (std::vector<std::string>{"WP01  209902010000 20.0 160.0 78 950 TY ALPHA  ",
                                        "WP01  209902010600 20.0 -0.1 78 950 TY ALPHA  ",
                                        "WP01  209902011200 20.0 -180.0 78 950 TY ALPHA  "}));
}

TEST(CmaArchive, NamelessStormsAndARowCountPastTheEnd) {
    ScratchFolder folder;
    const std::string path = folder.write(
        "CH2099BST.txt",
        "66666 0000    2 0001 0000 0 6 (nameless)                         20990101\r\n"
        "2099010100 1  81 1124 1004      13\r\n"
        "2099010106 x  81 1124 1004      13\r\n"
        "66666 9901    5 0002 9901 0 6 Alpha\t\t                           20990101\r\n"
        "2099020100 4 200 1300  950      40\r\n");
    const ReadArchive read = readArchive(path);
    ASSERT_EQ(read.selected.size(), 2u);
    EXPECT_EQ(read.selected[0].key.name, "");
    EXPECT_EQ(trackOf(read.selected[0]),
              std::vector<std::string>{"WP00  209901010000 8.1 112.4 25 1004 TD   "});
    EXPECT_EQ(read.selected[1].key.name, "Alpha");
    EXPECT_EQ(read.problems.skippedRows, 1);
    EXPECT_EQ(read.problems.cutShortStorm, "9901 Alpha");
}

TEST(ArchiveSelection, YearsBasinsNamesAndIds) {
    const std::string season = archivePath("hurdat2-nepac-2015.txt");
    EXPECT_EQ(readArchive(season, ArchiveSelection("2014-2016", "", "")).selected.size(), 31u);
    EXPECT_EQ(readArchive(season, ArchiveSelection("2016-2014", "", "")).selected.size(), 31u);
    EXPECT_EQ(readArchive(season, ArchiveSelection("1950, 2015", "", "")).selected.size(), 31u);
    EXPECT_EQ(readArchive(season, ArchiveSelection("", " cp ", "")).selected.size(), 9u);
    EXPECT_EQ(idsOf(readArchive(season, ArchiveSelection("", "EP", "Rick, ep202015"))),
              (std::vector<std::string>{"EP202015", "EP212015"}));
    // Nothing selected: every storm is still counted.
    for (const ArchiveSelection& none :
         {ArchiveSelection("1990", "", ""), ArchiveSelection("", "AL", ""),
          ArchiveSelection("", "", "KATRINA"), ArchiveSelection("next year", "", "")}) {
        const ReadArchive read = readArchive(season, none);
        EXPECT_EQ(read.storms, 31);
        EXPECT_TRUE(read.selected.empty());
    }
    EXPECT_TRUE(ArchiveSelection(" ", ",", "").selectsAll());
    // A storm's archive ids count as well as its name.
    const ReadArchive catarina =
        readArchive(archivePath("ibtracs-sa-2004.csv"), ArchiveSelection("", "", "al502004"));
    EXPECT_EQ(catarina.selected.size(), 1u);
}
