// The RSMC Tokyo best tracks: told apart from CMA's files by their rows, each
// row's fixed columns checked by hand against real storms of 2018 and 2019,
// the radii turned into quadrants, and damaged files reported, not drawn.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "archive_test_files.h"
#include "track/archive_kind.h"
#include "track/jma_archive.h"
#include "track_test_files.h"

using namespace tcmap;
using namespace tcmap::test;

namespace {

const std::string kJma2018 = "jma-2018-eight-storms.txt";
const std::string kJma2019 = "jma-2019-lekima-krosa.txt";

bool hasLine(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

}  // namespace

TEST(JmaArchive, ToldApartFromCmaByItsRows) {
    const std::string jmaHeader =
        "66666 1822  046 0029 1822 0 6             MANGKHUT              20181026";
    const std::string jmaRow = "18090612 002 2 118 1702 1008     000";
    // Early storms have neither a tropical-cyclone number nor a name.
    const std::string earlyHeader = "66666 5101   10      5101 0";
    const std::string cmaHeader = "66666 1909   62 0012 1909 0 3 LEKIMA    20200417";
    const std::string cmaRow = "2019080318 1 158 1315 1002      13";
    struct Case {
        std::string first, row;
        ArchiveKind kind;
    };
    for (const Case& c : std::vector<Case>{
             {jmaHeader, jmaRow, ArchiveKind::Jma},
             {earlyHeader, jmaRow, ArchiveKind::Jma},
             {cmaHeader, cmaRow, ArchiveKind::Cma},
             {cmaHeader, "", ArchiveKind::Cma},  // a header alone stays CMA's
             {earlyHeader, cmaRow, ArchiveKind::None},
             {jmaHeader, "18090612 003 2 118 1702 1008", ArchiveKind::Cma},
             {"EP202015,           PATRICIA,     19,", jmaRow, ArchiveKind::Hurdat2},
             {"66666 18x2  046 0029 1822 0 6", jmaRow, ArchiveKind::None},
         }) {
        EXPECT_EQ(archiveKindOfLines(c.first, c.row), c.kind) << c.first << " / " << c.row;
    }

    EXPECT_EQ(archiveKind(archivePath(kJma2018)), ArchiveKind::Jma);  // CR LF
    EXPECT_EQ(archiveKind(archivePath(kJma2019)), ArchiveKind::Jma);  // LF, padded to 80
    EXPECT_EQ(archiveKind(archivePath("cma-2019-lekima-krosa.txt")), ArchiveKind::Cma);
    EXPECT_EQ(archiveKind(std::string(TCMAP_SOURCE_DIR) + "/samples/CH2019BST.txt"),
              ArchiveKind::Cma);
    ScratchFolder folder;
    EXPECT_EQ(archiveKind(folder.write("blank", jmaHeader + "\r\n\r\n" + jmaRow + "\r\n")),
              ArchiveKind::Jma);
    EXPECT_EQ(archiveKind(folder.write("empty", jmaHeader + "\n" + jmaHeader + "\n")),
              ArchiveKind::Cma);
}

// Mangkhut (1822), rows
//   18091312 002 5 149 1289  905     110     90120 0120 30400 0300
//   18091418 002 5 180 1223  905     110     90120 0120 20400 0300
//   18091700 002 3 232 1083  992     045     00000 0000 40300 0180
//   18091706 002 2 240 1070  998     000
TEST(JmaArchive, ATyphoonsRowsAndRadiiCheckedByHand) {
    const ReadArchive read =
        readArchive(archivePath(kJma2018), ArchiveSelection("2018", "wp", "mangkhut"));
    EXPECT_EQ(read.storms, 8);
    EXPECT_EQ(read.problems.skippedRows, 0);
    EXPECT_TRUE(read.problems.cutShortStorm.empty());
    ASSERT_EQ(read.selected.size(), 1u);
    const ArchiveStorm& mangkhut = read.selected[0];
    EXPECT_EQ(mangkhut.key.ids, std::vector<std::string>{"1822"});
    EXPECT_EQ(mangkhut.key.year, 2018);
    EXPECT_EQ(mangkhut.track.agency, "JMA");
    EXPECT_EQ(mangkhut.track.stormId, "1822");
    EXPECT_EQ(mangkhut.track.name, "MANGKHUT");

    const std::vector<std::string> lines = trackOf(mangkhut);
    ASSERT_EQ(lines.size(), 46u);
    EXPECT_EQ(lines[0], "WP22  201809061200 11.8 170.2 0 1008 TD MANGKHUT  ");
    EXPECT_EQ(lines[28], "WP22  201809131200 14.9 128.9 110 905 TY MANGKHUT  ");
    EXPECT_EQ(lines[42], "WP22  201809170000 23.2 108.3 45 992 TS MANGKHUT  ");
    EXPECT_EQ(lines[43], "WP22  201809170600 24.0 107.0 0 998 TD MANGKHUT  ");

    // The 30-kt radius keeps its threshold; its longest extent goes to the
    // south-east quadrant (3), to both eastern ones (2), to both southern
    // ones (4); the 50-kt radius is the same all round (9).
    const std::vector<std::string> radii = radiiOf(mangkhut);
    EXPECT_TRUE(hasLine(radii, "201809131200+0 14.9 128.9 30 300,400,300,300 50 120,120,120,120"));
    EXPECT_TRUE(hasLine(radii, "201809141800+0 18.0 122.3 30 400,400,300,300 50 120,120,120,120"));
    EXPECT_TRUE(hasLine(radii, "201809170000+0 23.2 108.3 30 180,300,300,180"));
    EXPECT_EQ(radii.size(), 39u);  // every row from the first TS one to the last

    ASSERT_TRUE(mangkhut.track.statistics.has_value());
    EXPECT_EQ(mangkhut.track.statistics->peakWind, 110);
    EXPECT_EQ(mangkhut.track.statistics->lowestPressure, 905);
}

// Jebi (1821):      18090404 002 5 343 1348  955     085     30100 0040 30300 0120         #
//                   18090500 002 6 465 1390  976     000
// Hector (1817):    18081312 002 7 252 1806  998     040     00000 0000 80090 0060
// Bolaven (1801):   66666 1801 ..., first row 17122918 002 2 074 1380 1006     000
TEST(JmaArchive, LandfallExtratropicalEnteringAndSeasonRows) {
    const ReadArchive read =
        readArchive(archivePath(kJma2018), ArchiveSelection("", "", "1821,hector,1801"));
    ASSERT_EQ(read.selected.size(), 3u);
    const ArchiveStorm& bolaven = read.selected[0];
    const ArchiveStorm& hector = read.selected[1];
    const ArchiveStorm& jebi = read.selected[2];

    const std::vector<std::string> jebiLines = trackOf(jebi);
    EXPECT_TRUE(hasLine(jebiLines, "WP21  201809040400 34.3 134.8 85 955 TY JEBI  "));
    EXPECT_TRUE(hasLine(jebiLines, "WP21  201809050000 46.5 139.0 0 976 EX JEBI  "));
    EXPECT_TRUE(
        hasLine(radiiOf(jebi), "201809040400+0 34.3 134.8 30 120,300,120,120 50 40,100,40,40"));

    // Entering the area east of 180°: the grade says nothing, 40 kt is a TS.
    EXPECT_EQ(trackOf(hector).front(), "WP17  201808131200 25.2 -179.4 40 998 TS HECTOR  ");
    EXPECT_EQ(radiiOf(hector).front(), "201808131200+0 25.2 -179.4 30 90,60,60,90");

    // 1801 is a storm of 2018, though it began in December 2017.
    EXPECT_EQ(bolaven.key.year, 2018);
    EXPECT_EQ(trackOf(bolaven).front(), "WP01  201712291800 7.4 138.0 0 1006 TD BOLAVEN  ");
    EXPECT_EQ(readArchive(archivePath(kJma2018), ArchiveSelection("2017", "", "")).selected.size(),
              0u);
    EXPECT_EQ(readArchive(archivePath(kJma2018), ArchiveSelection("2018", "", "")).selected.size(),
              8u);
}

// Lekima (1909) of the full archive's 2019 part (LF line ends, rows padded
// to 80 columns): three-hourly rows near its peak,
//   19080812 002 5 243 1250  925     105     90100 0100 90300 0300
//   19080918 002 5 282 1213  950     085     20100 0070 20300 0250
TEST(JmaArchive, TheFullArchivesLayoutReadsTheSame) {
    const ReadArchive read = readArchive(archivePath(kJma2019));
    EXPECT_EQ(read.storms, 2);
    EXPECT_EQ(read.problems.skippedRows, 0);
    ASSERT_EQ(read.selected.size(), 2u);
    const std::vector<std::string> lekima = trackOf(read.selected[0]);
    ASSERT_EQ(lekima.size(), 56u);
    EXPECT_EQ(lekima[28], "WP09  201908081200 24.3 125.0 105 925 TY LEKIMA  ");
    EXPECT_TRUE(hasLine(radiiOf(read.selected[0]),
                        "201908091800+0 28.2 121.3 30 300,300,250,250 50 100,100,70,70"));
    EXPECT_EQ(read.selected[1].key.name, "KROSA");
    EXPECT_EQ(trackOf(read.selected[1]).size(), 59u);
}

// Written by hand after the layout of the early storms (no wind before 1977,
// no tropical-cyclone number or name in the header); not archive data.
TEST(JmaArchive, EarlyRowsWithoutWindAndDamagedStorms) {
    ScratchFolder folder;
    const std::string path =
        folder.write("bst_hand.txt",
                     "66666 5199  003      5199 0 6                                   19901017\r\n"
                     "51080100 002 9 253 1342  960\r\n"
                     "51080106 002 2 260 1330 1000\r\n"
                     "51080112 002 6 270 1320 1004\r\n"
                     "66666 9901  004 0001 9901 0 6                ALPHA              20990101\r\n"
                     "99010100 002 2 100 1300 1000     000\r\n"
                     "99010106 002 x 100 1300 1000     000\r\n"  // a grade that is not a digit
                     "99010112 002 3 10O 1300 1000     035\r\n"  // a letter O in the latitude
                     "99010118 002 2 100 1300 9999     000\r\n"  // an impossible pressure
                     "66666 99AB  002 0002 99AB 0 6                 BETA              20990101\r\n"
                     "99020100 002 2 100 1300 1000     000\r\n"
                     "99020106 002 2 100 1300 1000     000\r\n"
                     "66666 9903  005 0003 9903 0 6                GAMMA              20990101\r\n"
                     "99030100 002 5 200 1400  950     080     30100 0050 90200 0200\r\n");
    const ReadArchive read = readArchive(path);
    EXPECT_EQ(read.storms, 3);
    ASSERT_EQ(read.selected.size(), 3u);

    const ArchiveStorm& early = read.selected[0];
    EXPECT_EQ(early.key.year, 1951);
    EXPECT_EQ(early.key.name, "");
    EXPECT_EQ(trackOf(early),
              (std::vector<std::string>{"WP99  195108010000 25.3 134.2 0 960 TS   ",
                                        "WP99  195108010600 26.0 133.0 0 1000 TD   ",
                                        "WP99  195108011200 27.0 132.0 0 1004 EX   "}));
    EXPECT_TRUE(radiiOf(early).empty());

    EXPECT_EQ(trackOf(read.selected[1]).size(), 1u);
    // The damaged header and its two rows, and ALPHA's three bad rows.
    EXPECT_EQ(read.problems.skippedRows, 6);
    EXPECT_EQ(read.problems.firstSkippedLine, 7);
    EXPECT_EQ(read.problems.cutShortStorm, "9903 GAMMA");
    EXPECT_EQ(radiiOf(read.selected[2]),
              std::vector<std::string>{"199903010000+0 20.0 140.0 30 200,200,200,200 50 "
                                       "50,100,50,50"});
}

TEST(JmaArchive, QuadrantsOfEachDirectionCode) {
    struct Case {
        int32_t direction;
        std::array<int32_t, 4> quadrants;  // NE, SE, SW, NW
    };
    for (const Case& c : std::vector<Case>{{1, {200, 100, 100, 100}},
                                           {2, {200, 200, 100, 100}},
                                           {3, {100, 200, 100, 100}},
                                           {4, {100, 200, 200, 100}},
                                           {5, {100, 100, 200, 100}},
                                           {6, {100, 100, 200, 200}},
                                           {7, {100, 100, 100, 200}},
                                           {8, {200, 100, 100, 200}},
                                           {9, {200, 200, 200, 200}},
                                           {0, {0, 0, 0, 0}},
                                           {10, {0, 0, 0, 0}}}) {
        EXPECT_EQ(jmaQuadrantRadii(c.direction, 200, 100), c.quadrants) << c.direction;
    }
    // A shortest radius beyond the longest is held to it; negatives are none.
    EXPECT_EQ(jmaQuadrantRadii(1, 100, 300), (std::array<int32_t, 4>{100, 100, 100, 100}));
    EXPECT_EQ(jmaQuadrantRadii(2, -5, -5), (std::array<int32_t, 4>{0, 0, 0, 0}));
}

TEST(JmaArchive, TypeCodesOfTheGrades) {
    struct Case {
        int32_t grade, wind;
        std::string code;
    };
    for (const Case& c : std::vector<Case>{{2, 0, "TD"},
                                           {3, 35, "TS"},
                                           {4, 50, "TS"},
                                           {5, 64, "TY"},
                                           {6, 0, "EX"},
                                           {7, 30, "TD"},
                                           {7, 34, "TS"},
                                           {7, 64, "TY"},
                                           {7, 0, "XX"},
                                           {9, 0, "TS"},
                                           {9, 70, "TY"},
                                           {1, 40, "XX"},
                                           {8, 40, "XX"}}) {
        EXPECT_EQ(jmaTypeCode(c.grade, c.wind), c.code) << c.grade << " " << c.wind;
    }
    const struct {
        int32_t twoDigits, year;
    } years[] = {{51, 1951}, {99, 1999}, {0, 2000}, {50, 2050}};
    for (const auto& row : years) EXPECT_EQ(jmaFullYear(row.twoDigits), row.year) << row.twoDigits;
}
