#include "track/atcf_reader.h"

#include <gtest/gtest.h>

#include "base/text_rules.h"
#include "track_test_files.h"

using namespace tcmap;

namespace {

std::string adeck(std::string_view aid, int hour, std::string_view type = "TS") {
    return "AL, 09, 2017082515, 03, " + std::string(aid) + ", " + std::to_string(hour) +
           ", 267N, 960W, 95, 947, " + std::string(type) + ", 34, NEQ\n";
}

std::vector<std::string> hourTokens(const std::string& trackText) {
    std::vector<std::string> hours;
    for (const auto& line : splitText(trackText, "\r\n")) hours.push_back(splitText(line, " ")[2]);
    return hours;
}

}  // namespace

TEST(ReadForecast, OneLinePerForecastHourRun) {
    const std::string text = adeck("OFCL", 0) + adeck("OFCL", 0) + adeck("OFCL", 0) +
                             adeck("OFCL", 12) + adeck("OFCL", 12) + adeck("OFCL", 24);
    EXPECT_EQ(hourTokens(test::forecastText(text)),
              (std::vector<std::string>{"P+0", "P+12", "P+24"}));
    // Aids are not told apart: a second aid restarting at 0 gives a second run,
    // but the same hour in two consecutive records of different aids gives one line.
    const std::string aids = adeck("OFCL", 0) + adeck("OFCL", 12) + adeck("AVNO", 12) +
                             adeck("AVNO", 0) + adeck("AVNO", 12);
    EXPECT_EQ(hourTokens(test::forecastText(aids)),
              (std::vector<std::string>{"P+0", "P+12", "P+0", "P+12"}));
}

TEST(ReadForecast, TokensFollowTheFieldCount) {
    EXPECT_EQ(test::forecastText("AL, 09, 2017082515, 03, OFCL, 12, 267N, 960W\n"),
              "AL09 2017082515 P+12 26.7 -96.0 \r\n");
    EXPECT_EQ(test::forecastText("AL, 09, 2017082515, 03, OFCL, 12, 267N\n"), "");
    EXPECT_EQ(test::forecastText("AL,09,2017082515,03,OFCL,12,267N,960W,95,947,HU"),
              "AL09 2017082515 P+12 26.7 -96.0 95 947 HU\r\n");
    EXPECT_EQ(test::forecastText(adeck("OFCL", 6, " ")),
              "AL09 2017082515 P+6 26.7 -96.0 95 947 XX\r\n");
    // An empty forecast hour at the start equals the initial value and is skipped.
    EXPECT_EQ(hourTokens(test::forecastText("AL, 09, 2017082515, 03, OFCL, , 1N, 1E\r\n" +
                                            adeck("OFCL", 0))),
              std::vector<std::string>{"P+0"});
}

// The official forecast of one advisory. Checked by hand against the file: the
// P+0 line (file line 1 of three 0-hour records: 95 kt, 947 hPa, empty type),
// P+9 (file line 4: 27.6N 96.8W, 105 kt, pressure 0) and P+117 (the last line).
TEST(ReadForecast, MatchesTheGoldenTrackTextOfARealFile) {
    const std::string text = test::forecastText(test::readTrackData("atcf/21.al092017.fst"));
    EXPECT_EQ(text, test::readTrackData("expected/21.al092017.track.txt"));
    const auto lines = splitText(text, "\r\n");
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[0], "AL09 2017082515 P+0 26.7 -96.0 95 947 XX");
    EXPECT_EQ(lines[1], "AL09 2017082515 P+9 27.6 -96.8 105 0 XX");
    EXPECT_EQ(lines[7], "AL09 2017082515 P+117 30.0 -94.5 40 0 XX");
}

// Intensity-only aids write "0N, 0W" (or "0E") as their position. Their rows
// are skipped like short lines: no line, and the last forecast hour stays.
TEST(ReadForecast, RowsWithoutAPositionAreSkippedLikeShortLines) {
    auto noPosition = [](int hour, std::string_view lon) {
        return "AL, 09, 2017082515, 03, IV15, " + std::to_string(hour) + ",   0N,    " +
               std::string(lon) + ",  31,    0,   ,   0,    ,    0,    0,    0,    0, \n";
    };
    const std::string text = adeck("OFCL", 0) + noPosition(0, "0W") + noPosition(12, "0W") +
                             adeck("OFCL", 12) + noPosition(24, "0E") + adeck("OFCL", 24);
    EXPECT_EQ(test::forecastText(text),
              "AL09 2017082515 P+0 26.7 -96.0 95 947 TS\r\n"
              "AL09 2017082515 P+12 26.7 -96.0 95 947 TS\r\n"
              "AL09 2017082515 P+24 26.7 -96.0 95 947 TS\r\n");
    EXPECT_EQ(test::forecastText(noPosition(0, "0W") + noPosition(6, "0E")), "");
    // One coordinate at 0 is a position.
    EXPECT_EQ(test::forecastText("AL, 09, 2017082515, 03, OFCL, 12, 0N, 300W\n"),
              "AL09 2017082515 P+12 0.0 -30.0 \r\n");
}
