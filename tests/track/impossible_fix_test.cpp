// Records whose values no storm can have are skipped, one message's worth of
// reason kept per file, and the file goes on: impossible positions, winds and
// pressures, numbers that are no numbers, and NUL bytes inside a line. A wind
// or pressure of 0 is "not given" and stays a fix.
#include "track/impossible_fix.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "track/atcf_reader.h"

using namespace tcmap;

namespace {

std::string record(std::string_view lat, std::string_view lon, std::string_view wind,
                   std::string_view pressure, std::string_view time = "2012102218") {
    return "AL, 18, " + std::string(time) + ", , BEST, 0, " + std::string(lat) + ", " +
           std::string(lon) + ", " + std::string(wind) + ", " + std::string(pressure) +
           ", TS, 0, , 0, 0, 0, 0, 0, 0, 0, 55, 0, L, 0, , 0, 0, SANDY, \n";
}

}  // namespace

TEST(ImpossibleFix, EachImpossibleValueSkipsItsRecordWithItsReason) {
    struct Row {
        const char* lat;
        const char* lon;
        const char* wind;
        const char* pressure;
        const char* reason;  // the start of the reason; "" for a fix kept
    };
    const Row rows[] = {
        {"9999N", "905W", "35", "990", "latitude 999.9"},
        {"950S", "905W", "35", "990", "latitude -95"},
        {"125N", "99999E", "35", "990", "longitude 9999.9"},
        {"1e308N", "905W", "35", "990", "latitude "},
        {"nanN", "905W", "35", "990", "latitude "},
        {"125N", "905W", "9999", "990", "wind 9999 kt"},
        {"125N", "905W", "2147483647", "990", "wind 2147480000 kt"},
        {"1N", "0W", "1234567", "990", "wind 1234570 kt"},  // six significant digits
        {"125N", "905W", "35", "40", "pressure 40 hPa"},
        {"125N", "905W", "35", "5000", "pressure 5000 hPa"},
        // Not impossible: the edges, and 0 for a value not given.
        {"900N", "3600E", "300", "1100", ""},
        {"125N", "905W", "0", "0", ""},
        {"125N", "905W", "35", "800", ""},
    };
    for (const Row& r : rows) {
        const Track track =
            readAtcfText(record(r.lat, r.lon, r.wind, r.pressure), TrackFileKind::BestTrackFile);
        const bool kept = std::string_view(r.reason).empty();
        EXPECT_EQ(track.fixes.size(), kept ? 1u : 0u) << r.lat << " " << r.lon << " " << r.wind;
        EXPECT_EQ(track.skipped.count, kept ? 0 : 1) << r.reason;
        if (kept) continue;
        EXPECT_EQ(track.skipped.firstLine, 1);
        EXPECT_EQ(track.skipped.firstReason.rfind(r.reason, 0), 0u)
            << track.skipped.firstReason << " vs " << r.reason;
        // Nothing of it reaches the statistics.
        if (track.statistics) {
            EXPECT_LE(track.statistics->peakWind, kMaxWindKt);
        }
    }
}

TEST(ImpossibleFix, ANulByteSpoilsOnlyItsLine) {
    std::string text = record("125N", "905W", "35", "990", "2012102200");
    text += record("130N", "910W", "40", "985", "2012102206");
    text[text.find("BEST") + 1] = '\0';  // inside the first record
    text += std::string("AL, 18, 20121022\0", 17) + "12\n";
    text += record("135N", "915W", "45", "980", "2012102218");
    const Track track = readAtcfText(text, TrackFileKind::BestTrackFile);
    ASSERT_EQ(track.fixes.size(), 2u);
    EXPECT_EQ(track.fixes[0].line, 2);
    EXPECT_EQ(track.fixes[1].line, 4);
    EXPECT_EQ(track.skipped.count, 2);
    EXPECT_EQ(track.skipped.firstLine, 1);
    EXPECT_EQ(track.skipped.firstReason, "a NUL byte");
}
