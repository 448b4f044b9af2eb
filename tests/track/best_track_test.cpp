#include "track/atcf_reader.h"

#include <gtest/gtest.h>

#include "base/text_rules.h"
#include "track_test_files.h"

using namespace tcmap;

namespace {

// A b-deck record cut to its first `count` fields, ending in ", " as real files do.
std::string bdeck(size_t count, std::string_view time = "2014100118",
                  std::string_view wind = "35") {
    const std::vector<std::string> full = {"WP",          " 19",    " " + std::string(time),
                                           "   ",         " BEST",  "   0",
                                           "  55N",       " 1657E", " " + std::string(wind),
                                           " 1007",       " TS",    "  34",
                                           " NEQ",        " 50",    " 40",
                                           " 30",         " 45",    " 1008",
                                           " 230",        " 40",    " 45",
                                           "   0",        "   W",   "   0",
                                           "    ",        "   0",   "   0",
                                           "   VONGFONG", " S",     " 0"};
    std::string line;
    for (size_t i = 0; i < count && i < full.size(); ++i) line += (i ? "," : "") + full[i];
    return line + ", \n";
}

}  // namespace

TEST(ReadBestTrack, WritesTheFirstRecordOfEachFixTime) {
    // Three radii records of A, then B, then A again.
    const std::string text = bdeck(29, "2014100118", "35") + bdeck(29, "2014100118", "99") +
                             bdeck(29, "2014100118", "99") + bdeck(29, "2014100200", "40") +
                             bdeck(29, "2014100118", "45");
    EXPECT_EQ(test::bestTrackText(text),
              "WP19 W 201410011800 5.5 165.7 35 1007 TS VONGFONG 45 \r\n"
              "WP19 W 201410020000 5.5 165.7 40 1007 TS VONGFONG 45 \r\n"
              "WP19 W 201410011800 5.5 165.7 45 1007 TS VONGFONG 45 \r\n");
}

TEST(ReadBestTrack, TokensFollowTheFieldCount) {
    EXPECT_EQ(test::bestTrackText("WP, 19, 2014100118, \n"), "WP19  201410011800 \r\n");
    EXPECT_EQ(test::bestTrackText("WP, 19, 2014100118\n"), "");  // three fields
    // 11 fields plus the trailing ", " piece: empty subregion, no name or gust.
    const std::string eleven = test::bestTrackText(bdeck(11));
    EXPECT_EQ(eleven, "WP19  201410011800 5.5 165.7 35 1007 TS \r\n");
    EXPECT_EQ(splitText(splitText(eleven, "\r\n")[0], " ").size(), 8u);
    EXPECT_EQ(test::bestTrackText(bdeck(23)), "WP19 W 201410011800 5.5 165.7 35 1007 TS \r\n");
    // Fields after the 48th are ignored; a trailing comma adds no field.
    std::string longRecord = bdeck(30);
    longRecord.insert(longRecord.size() - 1, std::string(100, ','));
    EXPECT_EQ(test::bestTrackText(longRecord), test::bestTrackText(bdeck(30)));
    EXPECT_EQ(test::bestTrackText("WP,19,2014100118,3,X,0,100S,905W,,abc,\n"),
              "WP19  20141001183 -10.0 -90.5 0 0 \r\n");  // minutes not padded
}

TEST(ReadBestTrack, LineEndsAndEmptyKeys) {
    const std::string lf = bdeck(29) + bdeck(29, "2014100200");
    std::string crlf;
    for (char c : lf) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    EXPECT_EQ(test::bestTrackText(crlf), test::bestTrackText(lf));
    std::string crOnly = lf;
    for (char& c : crOnly) c = c == '\n' ? '\r' : c;
    EXPECT_EQ(splitText(test::bestTrackText(crOnly), "\r\n").size(), 1u);
    // A first record with empty date-time and minutes equals the initial key.
    EXPECT_EQ(test::bestTrackText("WP, 19, , , BEST\nWP, 19, 2014100118, \n"),
              "WP19  201410011800 \r\n");
}

// The track text of a real JTWC best track. Checked by hand against the file:
// output line 1 (file line 1, INVEST at 1007 hPa, gust field 0), line 5 (file
// line 5, which carries fields after the name), line 25 (file line 51, the
// first of the three 2014100718 radii records, VONGFONG 155 kt 907 hPa) and
// the last line (file line 121, 36.5N 139.7E, EX).
TEST(ReadBestTrack, MatchesTheGoldenTrackTextOfARealFile) {
    const std::string text = test::bestTrackText(test::readTrackData("atcf/bwp192014.dat"));
    EXPECT_EQ(text, test::readTrackData("expected/bwp192014.track.txt"));
    const auto lines = splitText(text, "\r\n");
    ASSERT_EQ(lines.size(), 52u);
    EXPECT_EQ(lines[0], "WP19 W 201410011800 5.5 165.7 20 1007 DB INVEST 0 ");
    EXPECT_EQ(lines[4], "WP19 W 201410021800 7.7 160.5 30 1000 TD NONETEEN 0 ");
    EXPECT_EQ(lines[24], "WP19 W 201410071800 17.6 133.2 155 907 ST VONGFONG 0 ");
    EXPECT_EQ(lines[51], "WP19 W 201410131800 36.5 139.7 35 996 EX VONGFONG 0 ");
}
