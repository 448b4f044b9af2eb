#include "track/atcf_reader.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "base/text_rules.h"
#include "track_test_files.h"

using namespace tcmap;

namespace {

// One radii record: 17 fields and the trailing ", " of real files.
std::string radii(std::string_view time, std::string_view threshold, std::string_view code,
                  std::string_view quadrants = "50, 60, 0, 0", std::string_view type = "TS",
                  int wind = 35) {
    return "AL, 18, " + std::string(time) + ", , BEST, 0, 127N, 787W, " + std::to_string(wind) +
           ", 1000, " + std::string(type) + ", " + std::string(threshold) + ", " +
           std::string(code) + ", " + std::string(quadrants) + ", \n";
}

}  // namespace

TEST(ReadWindRadii, OneRecordPerFixWithItsThresholdsInFileOrder) {
    const std::string fix = radii("2012102918", "34", "NEQ", "420, 420, 400, 420") +
                            radii("2012102918", "50", "NEQ", "220, 150, 200, 150") +
                            radii("2012102918", "64", "AAA", "40, 0, 0, 0");
    EXPECT_EQ(test::radiiTextOf(fix, 1, false),
              "2012102918+0 12.7 -78.7 34 420,420,400,420 50 220,150,200,150 64 40,40,40,40\r\n");
    // A line without radii inside a fix still adds its space; an unknown code
    // keeps the quadrants of the line before.
    const std::string gap = radii("2012102918", "34", "NEQ") + radii("2012102918", "0", "") +
                            radii("2012102918", "50", "XYZ", "1, 2, 3, 4");
    EXPECT_EQ(test::radiiTextOf(gap, 1, false),
              "2012102918+0 12.7 -78.7 34 50,60,0,0  50 50,60,0,0\r\n");
    EXPECT_EQ(test::radiiTextOf(radii("2012102918", "0", "NEQ") + radii("2012103000", "34", ""), 1,
                                false),
              "");
    EXPECT_EQ(test::radiiTextOf(fix, 0, false), "");
    EXPECT_EQ(test::radiiTextOf(fix, 4, false), "");
}

TEST(ReadWindRadii, LastFixSelectionSkipsTrailingFixesWithoutRadii) {
    const std::string text = radii("2012103100", "34", "NEQ", "0, 0, 0, 410") +
                             radii("2012103106", "34", "NEQ", "0, 0, 0, 380") +
                             radii("2012103112", "0", "");
    EXPECT_EQ(test::radiiTextOf(text, 2, false), "2012103106+0 12.7 -78.7 34 0,0,0,380\r\n");
    EXPECT_EQ(test::radiiTextOf(
                  text.substr(0, text.rfind("AL,")) + radii("2012103112", "34", "AAA"), 2, false),
              "2012103112+0 12.7 -78.7 34 50,50,50,50\r\n");
}

TEST(ReadWindRadii, TropicalSelectionFollowsTheRenderStyle) {
    const std::string text = radii("2012102900", "34", "NEQ", "1, 1, 1, 1", "HU", 80) +
                             radii("2012102906", "34", "NEQ", "2, 2, 2, 2", "EX", 60) +
                             radii("2012102912", "34", "NEQ", "3, 3, 3, 3", "TD", 20);
    const auto keys = [](const std::string& out) {
        std::vector<std::string> result;
        for (const auto& line : splitText(out, "\r\n")) result.push_back(line.substr(0, 10));
        return result;
    };
    EXPECT_EQ(keys(test::radiiTextOf(text, 3, false)),
              (std::vector<std::string>{"2012102900", "2012102912"}));
    EXPECT_EQ(keys(test::radiiTextOf(text, 3, true)), std::vector<std::string>{"2012102900"});
}

// The radii of Hurricane Sandy's best track. Checked by hand against the file:
// the first record (file line 5, 2012102218, the first fix with 34 kt radii),
// the 2012102918 record (file lines 84-86, three NEQ thresholds) and, for the
// last-fix selection, 2012103106 (file line 102): the final fix, line 103, has
// threshold 0.
TEST(ReadWindRadii, MatchesTheGoldenRadiiTextOfARealFile) {
    const std::string file = test::readTrackData("atcf/bal182012.dat");
    const std::string text = test::radiiTextOf(file, 1, false);
    EXPECT_EQ(text, test::readTrackData("expected/bal182012.radii.txt"));
    const auto lines = splitText(text, "\r\n");
    ASSERT_EQ(lines.size(), 40u);
    EXPECT_EQ(lines[0], "2012102218+0 12.7 -78.7 34 50,60,0,0");
    EXPECT_NE(std::find(lines.begin(), lines.end(),
                        "2012102918+0 38.3 -73.2 34 420,420,400,420 50 220,150,200,150 "
                        "64 180,80,120,0"),
              lines.end());
    EXPECT_EQ(test::radiiTextOf(file, 2, false), "2012103106+0 41.1 -80.3 34 0,0,0,380\r\n");
}

// An aid without a position ("0N, 0W") is skipped like a short line: it adds
// no radii, not even a space, to the fix it falls into.
TEST(ReadWindRadii, RowsWithoutAPositionAreSkipped) {
    const std::string noPosition =
        "AL, 18, 2012102918, , BEST, 0, 0N, 0W, 35, 1000, TS, 34, NEQ, 90, 90, 90, 90, \n";
    const std::string text = radii("2012102918", "34", "NEQ", "420, 420, 400, 420") + noPosition +
                             radii("2012102918", "50", "NEQ", "220, 150, 200, 150");
    EXPECT_EQ(test::radiiTextOf(text, 1, false),
              "2012102918+0 12.7 -78.7 34 420,420,400,420 50 220,150,200,150\r\n");
    EXPECT_EQ(test::radiiTextOf(noPosition, 1, false), "");
    std::string east = noPosition;
    east.replace(east.find("0W"), 2, "0E");
    EXPECT_EQ(test::radiiTextOf(east, 2, false), "");
}
