// The a-deck as the forecaster's map reads it: known by its records, one
// track per aid and cycle, the cycle picked by name or as the latest.
#include "track/forecast_deck.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "base/text_rules.h"
#include "track/record_fields.h"
#include "track/text_lines.h"
#include "track_test_files.h"

using namespace tcmap;

namespace {

std::string record(const std::string& cycle, const std::string& aid, int hour,
                   const std::string& lat, const std::string& lon, int threshold = 34) {
    return "AL, 18, " + cycle + ", 03, " + aid + ", " + std::to_string(hour) + ", " + lat + ", " +
           lon + ", 50, 990, TS, " + std::to_string(threshold) + ", NEQ, 10, 10, 10, 10, \n";
}

ForecastDeck deckOf(const std::string& text) {
    TextLines lines(text);
    return readForecastDeck(lines);
}

std::vector<std::string> aidNames(const ForecastCycle& cycle) {
    std::vector<std::string> names;
    for (const AidTrack& aid : cycle.aids) names.push_back(aid.aid);
    return names;
}

}  // namespace

TEST(ForecastDeck, AFileIsAForecastWhenARecordNamesAnAid) {
    const struct {
        std::string text;
        bool forecast;
    } rows[] = {
        {"", false},
        {record("2012102800", "BEST", 0, "300N", "750W"), false},
        {record("2012102800", "CARQ", 0, "300N", "750W") +
             record("2012102800", "WRNG", 0, "300N", "750W"),
         false},
        {record("2012102800", "CARQ", 0, "300N", "750W") +
             record("2012102800", "OFCL", 12, "310N", "740W"),
         true},
        {record("2012102800", "avno", 12, "310N", "740W"), true},
        // A line too short to name a technique says nothing.
        {"AL, 18, 2012102800, 03\n", false},
    };
    for (const auto& row : rows) {
        TextLines lines(row.text);
        EXPECT_EQ(holdsForecastRecords(lines), row.forecast) << row.text;
    }
}

TEST(ForecastDeck, EachAidOfACycleIsOneTrackOfOnePointAnHour) {
    const std::string c1 = "2012102800";
    const std::string c2 = "2012102806";
    const ForecastDeck deck =
        deckOf(record(c1, "CARQ", 0, "300N", "750W") + record(c1, "OFCL", 12, "310N", "740W", 34) +
               record(c1, "OFCL", 12, "310N", "740W", 50) + record(c1, "OFCL", 0, "300N", "750W") +
               record(c1, "AVNO", 0, "301N", "751W") + record(c1, "OFCL", 24, "320S", "1730E") +
               // An aid of intensity only: no position in any row.
               record(c1, "IVCN", 0, "0N", "0W") + record(c1, "IVCN", 12, "0N", "0W") +
               // A position no storm can have.
               record(c1, "XTRP", 12, "950N", "740W") + record(c2, "AVNO", 0, "302N", "752W"));
    EXPECT_EQ(deck.basin, "AL");
    EXPECT_EQ(deck.year, 2012);
    ASSERT_EQ(deck.cycles.size(), 2u);
    const ForecastCycle& first = deck.cycles.at(c1);
    EXPECT_EQ(aidNames(first), (std::vector<std::string>{"OFCL", "AVNO"}));
    EXPECT_EQ(first.positionless, (std::vector<std::string>{"IVCN", "XTRP"}));
    const std::vector<AidPoint>& ofcl = first.aids[0].points;
    ASSERT_EQ(ofcl.size(), 3u);
    EXPECT_EQ(ofcl[0].hour, 0);
    EXPECT_EQ(ofcl[1].hour, 12);
    EXPECT_EQ(ofcl[2].hour, 24);
    EXPECT_DOUBLE_EQ(ofcl[1].lat, 31.0);
    EXPECT_DOUBLE_EQ(ofcl[1].lon, -74.0);
    EXPECT_DOUBLE_EQ(ofcl[2].lat, -32.0);
    EXPECT_DOUBLE_EQ(ofcl[2].lon, 173.0);
}

TEST(ForecastDeck, TheCycleIsTheLatestOrOneTheFileHolds) {
    std::string text;
    for (const char* cycle : {"2012102800", "2012102806", "2012102812"}) {
        text += record(cycle, "OFCL", 0, "300N", "750W");
    }
    const ForecastDeck deck = deckOf(text);
    const struct {
        std::string wanted;
        std::string cycle;  // empty: refused
        std::string error;
    } rows[] = {
        {"latest", "2012102812", ""},
        {"", "2012102812", ""},
        {" LATEST ", "2012102812", ""},
        {"2012102806", "2012102806", ""},
        {"2012102818", "",
         "it has no cycle 2012102818; its cycles: 2012102800, 2012102806, 2012102812"},
    };
    for (const auto& row : rows) {
        const CyclePick pick = pickCycle(deck, row.wanted);
        if (row.cycle.empty()) {
            EXPECT_EQ(pick.cycle, nullptr) << row.wanted;
            EXPECT_EQ(pick.error, row.error);
        } else {
            ASSERT_NE(pick.cycle, nullptr) << row.wanted << ": " << pick.error;
            EXPECT_EQ(pick.cycle->cycle, row.cycle);
        }
    }
    EXPECT_EQ(pickCycle(deckOf(""), "latest").error, "it holds no forecast cycle");
}

TEST(ForecastDeck, ALongListOfCyclesNamesItsEndsAndCount) {
    std::string text;
    for (int day = 10; day < 30; ++day) {
        text += record("201210" + std::to_string(day) + "00", "OFCL", 0, "300N", "750W");
    }
    EXPECT_EQ(cycleListText(deckOf(text)),
              "2012101000, 2012101100, 2012101200, 2012101300, 2012101400, 2012101500 ... "
              "2012102400, 2012102500, 2012102600, 2012102700, 2012102800, 2012102900 "
              "(20 cycles)");
}

// The real a-deck: every technique with a positioned record in the latest
// cycle is an aid track of it, and nothing else is.
TEST(ForecastDeck, TheRealADeckKeepsEveryPositionedAidOfItsCycles) {
    const std::string path = test::trackDataPath("../forecast/aep182023-last-cycles.dat");
    EXPECT_TRUE(fileHoldsForecastRecords(path));
    const ForecastDeck deck = readForecastDeckFile(path);
    ASSERT_EQ(deck.cycles.size(), 2u);
    const CyclePick latest = pickCycle(deck, "latest");
    ASSERT_NE(latest.cycle, nullptr);
    EXPECT_EQ(latest.cycle->cycle, "2023102518");
    std::set<std::string> expected;
    std::set<std::string> all;
    forEachRecordLine(test::readTrackData("../forecast/aep182023-last-cycles.dat"),
                      [&](std::string_view line) {
                          const std::vector<std::string> f = splitText(line, ",");
                          if (f.size() < 8 || trimText(f[2]) != "2023102518") return;
                          const std::string aid = trimText(f[4]);
                          if (aid == "CARQ" || aid == "WRNG") return;
                          all.insert(aid);
                          if (trimText(f[6]) != "0N" || trimText(f[7]) != "0W")
                              expected.insert(aid);
                      });
    const std::vector<std::string> names = aidNames(*latest.cycle);
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()), expected);
    std::set<std::string> positionless(latest.cycle->positionless.begin(),
                                       latest.cycle->positionless.end());
    for (const std::string& aid : all) {
        EXPECT_NE(expected.count(aid) == 1, positionless.count(aid) == 1) << aid;
    }
}
