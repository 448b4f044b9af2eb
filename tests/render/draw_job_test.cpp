#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "render/fix_rules.h"

using namespace tcmap;

namespace {

// A best-track line as the reader writes it: every token followed by a space.
std::string fix(const std::string& id, const std::string& time, const std::string& lat,
                const std::string& lon, int wind, const std::string& type = "TS") {
    std::string line =
        id + " W " + time + " " + lat + " " + lon + " " + std::to_string(wind) + " 990 ";
    if (!type.empty()) line += type + " ";
    return line;
}

// Runs the fix rules over files of lines on a 360 x 180 map.
class FixRulesTest : public ::testing::Test {
  protected:
    FixTable fixes;
    MapFrame frame;
    JobSettings settings;

    void SetUp() override {
        frame.mapWidth = 360;
        frame.mapHeight = 180;
        settings.skipInvest = false;
    }

    void collect(DrawMode mode, bool tcv, const std::vector<std::vector<std::string>>& files,
                 TrackFileKind kind = TrackFileKind::BestTrackFile) {
        FixCollector collector(fixes, frame, mode, tcv, settings);
        for (const auto& lines : files) {
            collector.beginFile(kind);
            for (const std::string& line : lines) collector.addLine(line);
            if (!lines.empty()) collector.endFileWithLines();
        }
    }

    std::vector<int32_t> bounds() const { return {frame.minX, frame.minY, frame.maxX, frame.maxY}; }
};

}  // namespace

TEST_F(FixRulesTest, RowsOfTheFixTable) {
    settings.allPoints = true;
    collect(DrawMode::Normal, false,
            {{fix("wp01", "201409010600", "10.0", "130.0", 35, "TS"),
              fix("wp01", "201409010300", "11.0", "129.0", 40, "SS"),
              "WP01 W 201409011200 12.0 128.0 20 ",  // six tokens: no type code
              "wp01 2014090100 P+12P+ 13.5 -170.0 15 1000 XX"}});
    ASSERT_EQ(fixes.size(), 4u);
    EXPECT_EQ(fixes.seq, (std::vector<int64_t>{0, 1, 2, 3}));
    EXPECT_EQ(fixes.x, (std::vector<double>{130, 129, 128, 190}));
    EXPECT_EQ(fixes.y, (std::vector<double>{80, 79, 78, 76.5}));
    EXPECT_EQ(fixes.cls, (std::vector<int32_t>{0, 2, 1, 1}));  // no type and 20 kt: NonTropical
    EXPECT_EQ(fixes.type, (std::vector<std::string>{"TS", "SS", "", "XX"}));
    EXPECT_EQ(fixes.time,
              (std::vector<std::string>{"201409010600", "201409010300", "201409011200", "12"}));
    EXPECT_EQ(fixes.stormId, (std::vector<std::string>{"WP01", "WP01", "WP01", "WP01"}));
    EXPECT_EQ(fixes.kind, (std::vector<int32_t>(4, 1)));
    EXPECT_EQ(fixes.wind, (std::vector<int32_t>{35, 40, 20, 15}));
    EXPECT_EQ(fixes.continues, (std::vector<int32_t>{1, 1, 1, 0}));
    // With AllPoints the off-hour fix is marked, the others are not.
    EXPECT_EQ(fixes.synoptic, (std::vector<int32_t>{1, 0, 1, 0}));
}

TEST_F(FixRulesTest, UnusableLinesAreIgnoredCompletely) {
    collect(DrawMode::Normal, true,
            {{"@ W 201409010600 10.0 -1.0 35 990 TS ", "WP01 W 201409010600 10.0", "", "@",
              fix("WP01", "201409010600", "10.0", "0.0", 35)}});
    // Neither the "@" line at 1°W nor the short one became the previous fix:
    // the 0° fix lands on the left edge.
    ASSERT_EQ(fixes.size(), 1u);
    EXPECT_EQ(fixes.x[0], 0);
    EXPECT_TRUE(fixes.synoptic.empty());  // TCV style keeps no synoptic flags
}

TEST_F(FixRulesTest, OffHourFixesWithoutAllPoints) {
    // Wendrel style without AllPoints: the 03 UTC fix is not taken and does
    // not extend the frame, but it is the previous fix and, as the first line,
    // it starts the frame.
    collect(DrawMode::Normal, false,
            {{fix("WP01", "201409010300", "10.0", "-179.0", 35),
              fix("WP01", "201409010600", "10.0", "0.0", 35),
              fix("WP01", "201409011200", "12.0", "-178.0", 40)}});
    ASSERT_EQ(fixes.size(), 2u);
    EXPECT_EQ(fixes.x[0], 359);  // put beside the 03 UTC fix at 179°W
    EXPECT_EQ(fixes.synoptic, (std::vector<int32_t>{1, 1}));
    EXPECT_EQ(bounds(), (std::vector<int32_t>{181, 78, 359, 80}));

    // MultipleFile 2 moves the frame to every line, taken or not.
    fixes = FixTable{};
    frame.resetBounds();
    settings.multipleFile = 2;
    collect(DrawMode::Normal, false,
            {{fix("WP01", "201409010600", "10.0", "100.0", 35),
              fix("WP01", "201409010300", "20.0", "120.0", 35)}});
    EXPECT_EQ(fixes.size(), 1u);
    EXPECT_EQ(bounds(), (std::vector<int32_t>{120, 70, 120, 70}));
}

TEST_F(FixRulesTest, TrackEndsAtEveryFileThatGaveLines) {
    collect(DrawMode::Global, false,
            {{fix("WP01", "201409010600", "10.0", "100.0", 35),
              fix("WP01", "201409011200", "11.0", "101.0", 35)},
             {},
             // Lines, but none taken: the previous file's last fix stays the end.
             {fix("WP02", "201409010300", "10.0", "100.0", 35)},
             {fix("WP03", "201409010600", "10.0", "100.0", 35),
              fix("WP03", "201409011200", "10.0", "100.0", 35)}});
    EXPECT_EQ(fixes.continues, (std::vector<int32_t>{1, 0, 1, 0}));
    // Outside Normal mode the fixes never touch the frame.
    EXPECT_TRUE(frame.boundsAllZero());
}

TEST_F(FixRulesTest, ResetPerFileKeepsTheFrameOfFilesWithoutUsableLines) {
    settings.multipleFile = 1;
    FixCollector collector(fixes, frame, DrawMode::Normal, false, settings);
    collector.beginFile(TrackFileKind::BestTrackFile);
    collector.addLine(fix("WP01", "201409010600", "10.0", "100.0", 35));
    collector.addLine(fix("WP01", "201409011200", "20.0", "110.0", 35));
    collector.endFileWithLines();
    const std::vector<int32_t> first = {100, 70, 110, 80};
    EXPECT_EQ(bounds(), first);

    // A file that cannot be read, and one with only unusable lines.
    collector.beginFile(TrackFileKind::BestTrackFile);
    collector.beginFile(TrackFileKind::BestTrackFile);
    collector.addLine("@ W 201409010600 10.0 -1.0 35 990 TS ");
    collector.addLine("WP02 W 201409010600");
    collector.endFileWithLines();
    EXPECT_EQ(bounds(), first);
    EXPECT_EQ(frame.previousFix.x, 110);

    // The next file with a usable line starts the frame again.
    collector.beginFile(TrackFileKind::BestTrackFile);
    collector.addLine(fix("WP03", "201409010600", "40.0", "-60.0", 35));
    collector.addLine(fix("WP03", "201409011200", "41.0", "-59.0", 35));
    EXPECT_EQ(bounds(), (std::vector<int32_t>{300, 49, 301, 50}));
    EXPECT_EQ(fixes.size(), 4u);
}

TEST_F(FixRulesTest, EarlyDisturbanceIsSkippedInTheFirstFileOnly) {
    settings.skipInvest = true;
    FixCollector collector(fixes, frame, DrawMode::Normal, false, settings);
    collector.beginFile(TrackFileKind::BestTrackFile);
    collector.addLine(fix("WP01", "201409010000", "5.0", "160.0", 15, "DB"));
    collector.addLine(fix("WP01", "201409010600", "6.0", "150.0", 35, "TS"));
    collector.addLine(fix("WP01", "201409011200", "7.0", "149.0", 15, "DB"));
    // The disturbance at 160°E left the frame at the first tropical fix.
    EXPECT_EQ(bounds(), (std::vector<int32_t>{149, 83, 150, 84}));
    EXPECT_TRUE(collector.skipInvestActive());
    collector.endFileWithLines();
    EXPECT_FALSE(collector.skipInvestActive());

    // A later file's disturbance fixes enter the frame.
    collector.beginFile(TrackFileKind::BestTrackFile);
    collector.addLine(fix("WP02", "201409020000", "30.0", "170.0", 15, "DB"));
    collector.addLine(fix("WP02", "201409020600", "31.0", "171.0", 35, "TS"));
    EXPECT_EQ(bounds(), (std::vector<int32_t>{149, 59, 171, 84}));
    EXPECT_EQ(fixes.size(), 5u);

    // A first file of only NonTropical fixes keeps them all.
    fixes = FixTable{};
    frame.resetBounds();
    collect(DrawMode::Normal, false,
            {{fix("WP01", "201409010000", "5.0", "160.0", 15, "DB"),
              fix("WP01", "201409010600", "6.0", "150.0", 20, "LO")}});
    EXPECT_EQ(bounds(), (std::vector<int32_t>{150, 84, 160, 85}));
}
