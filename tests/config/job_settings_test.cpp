#include "config/job_settings.h"

#include <gtest/gtest.h>

#include <limits>

#include "support/temp_folder.h"

using namespace tcmap;
using tcmap::testing::TempFolder;

TEST(JobSettings, EachStyleReadsItsOwnKeys) {
    TempFolder folder;
    const std::string path =
        folder.put("Settings.ini",
                   "[Borvane4]\n"
                   "Track=0.1\nTrack1=3\nPoint=0.6\n"
                   "WidthSpace=10\nWidthSpace1=11\n"
                   "HeightSpace=12\nHeightSpace1=13\n"
                   "Width=100\nWidth1=101\nHeight=102\nHeight1=103\n"
                   "Priority=2\nSkipInvest=0\nSkipInvest1=1\nNewColor=0\n"
                   "DrawLegends=5\nDrawLegends1=3\n"
                   "MultipleFile=1\nMultipleFile1=2\n"
                   "AllPoints=1\nAllPoints1=0\nShowText1=0\n"
                   "ShowGrid=0\nShowGrid1=1\nDrawRad=2\nDrawRad1=3\n"
                   "Time=wrong section\n"
                   "[TextFormat]\nTime=\"%02d/%02d %02dZ\"\nForecast=+%d\\N%d\n");
    const JobSettings w = readJobSettings(path, false);
    EXPECT_DOUBLE_EQ(w.trackWidth, 0.1);
    EXPECT_DOUBLE_EQ(w.pointSize, 0.6);
    EXPECT_EQ(w.marginX, 10);
    EXPECT_EQ(w.marginY, 12);
    EXPECT_EQ(w.minWidth, 100);
    EXPECT_EQ(w.minHeight, 102);
    EXPECT_EQ(w.markerOrder, MarkerOrder::ByIntensity);
    EXPECT_FALSE(w.skipInvest);
    EXPECT_FALSE(w.newColour);
    EXPECT_EQ(w.legendCorner, LegendCorner::Automatic);
    EXPECT_EQ(w.frameReset, FrameReset::EachFile);
    EXPECT_TRUE(w.allPoints);
    EXPECT_FALSE(w.showText);
    EXPECT_FALSE(w.showGrid);
    EXPECT_EQ(w.radii, RadiiChoice::LastFix);
    EXPECT_EQ(w.timeFormat, "%02d/%02d %02dZ");
    EXPECT_EQ(w.forecastFormat, "+%d\r\n%d");

    const JobSettings t = readJobSettings(path, true);
    EXPECT_DOUBLE_EQ(t.trackWidth, 3);
    EXPECT_DOUBLE_EQ(t.pointSize, 0.6);
    EXPECT_EQ(t.marginX, 11);
    EXPECT_EQ(t.marginY, 13);
    EXPECT_EQ(t.minWidth, 101);
    EXPECT_EQ(t.minHeight, 103);
    EXPECT_EQ(t.markerOrder, MarkerOrder::ByIntensity);
    EXPECT_TRUE(t.skipInvest);
    EXPECT_FALSE(t.newColour);
    EXPECT_EQ(t.legendCorner, LegendCorner::UpperRight);
    EXPECT_EQ(t.frameReset, FrameReset::LastFixOnly);
    EXPECT_FALSE(t.allPoints);
    EXPECT_TRUE(t.showGrid);
    EXPECT_EQ(t.radii, RadiiChoice::TropicalPart);
}

TEST(JobSettings, ConversionsOfOddValues) {
    TempFolder folder;
    const std::string path = folder.put("Settings.ini",
                                        "[Borvane4]\n"
                                        "Track=1e30\nPoint=-5\nWidthSpace=-40.9px\n"
                                        "HeightSpace=\nWidth=2000000000\nHeight=1e12\n"
                                        "SkipInvest=01\nNewColor=yes\nAllPoints=0.9\n"
                                        "ShowGrid=7\nDrawLegends=abc\nMultipleFile=-1e40\n");
    const JobSettings s = readJobSettings(path, false);
    EXPECT_DOUBLE_EQ(s.trackWidth, 1e6);  // a million already covers any picture
    EXPECT_DOUBLE_EQ(s.pointSize, -5);
    EXPECT_EQ(s.marginX, -40);  // truncated toward zero
    EXPECT_EQ(s.marginY, 0);    // present but empty: 0, not the default
    EXPECT_EQ(s.minWidth, 2000000000);
    EXPECT_EQ(s.minHeight, std::numeric_limits<int32_t>::max());
    EXPECT_FALSE(s.skipInvest);  // only the text "1" is on
    EXPECT_FALSE(s.newColour);
    EXPECT_FALSE(s.allPoints);  // 0.9 reads as the integer 0
    EXPECT_TRUE(s.showGrid);
    EXPECT_EQ(s.legendCorner, LegendCorner::None);
    EXPECT_EQ(s.frameReset, FrameReset::None);     // -2147483648
    EXPECT_EQ(s.forecastFormat, "P+%dh\r\n%dkt");  // the default, its line break expanded

    const std::string tcv = folder.put("Tcv.ini", "[Borvane4]\nTrack1=-1e300\nPoint=1e7\n");
    const JobSettings t = readJobSettings(tcv, true);
    EXPECT_DOUBLE_EQ(t.trackWidth, -1e6);
    EXPECT_DOUBLE_EQ(t.pointSize, 1e6);
}

// The stored integers, also those the settings window never writes, as the
// job has always read them.
TEST(JobSettings, IntegersBecomeChoices) {
    struct Row {
        int32_t stored;
        MarkerOrder order;
        RadiiChoice radii;
        LegendCorner corner;
        FrameReset reset;
    };
    const Row rows[] = {
        {-1, MarkerOrder::None, RadiiChoice::None, LegendCorner::None, FrameReset::None},
        {0, MarkerOrder::WithTracks, RadiiChoice::None, LegendCorner::None, FrameReset::None},
        {1, MarkerOrder::OnTop, RadiiChoice::AllFixes, LegendCorner::UpperLeft,
         FrameReset::EachFile},
        {2, MarkerOrder::ByIntensity, RadiiChoice::LastFix, LegendCorner::LowerLeft,
         FrameReset::LastFixOnly},
        {3, MarkerOrder::None, RadiiChoice::TropicalPart, LegendCorner::UpperRight,
         FrameReset::None},
        {4, MarkerOrder::None, RadiiChoice::None, LegendCorner::LowerRight, FrameReset::None},
        {5, MarkerOrder::None, RadiiChoice::None, LegendCorner::Automatic, FrameReset::None},
        {9, MarkerOrder::None, RadiiChoice::None, LegendCorner::Automatic, FrameReset::None},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(markerOrderOf(r.stored), r.order) << r.stored;
        EXPECT_EQ(radiiChoiceOf(r.stored), r.radii) << r.stored;
        EXPECT_EQ(legendCornerOf(r.stored), r.corner) << r.stored;
        EXPECT_EQ(frameResetOf(r.stored), r.reset) << r.stored;
    }
}
