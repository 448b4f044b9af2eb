#include "render/layers/tcv_labels.h"

#include <gtest/gtest.h>

#include "render/layers/track_layer.h"
#include "render/layers/track_test_context.h"

using namespace tcmap;

namespace {

class TcvLabels : public ::testing::Test, protected TrackTestContext {
  protected:
    void SetUp() override {
        useTcvStyle(2.0);  // labels 13 pixels high, offsets 5, 16 and 4
        prepareTrackPen(pen, 2.0, 360);
    }
    void runLoop() {
        LayerContext ctx = context();
        drawFixLoop(ctx, 4);
    }
    std::vector<RecordedCall> texts() const { return canvas.callsOf(CanvasOp::DrawText); }
};

// Text, origin and layout of the first of three copies, checking the other two.
void expectLabel(const std::vector<RecordedCall>& calls, size_t first, const std::string& text,
                 float x, float y, LayoutKind layout) {
    ASSERT_GE(calls.size(), first + 3);
    const RecordedCall& c = calls[first];
    EXPECT_EQ(c.text, text);
    EXPECT_EQ(c.coords, (std::vector<float>{x, y, 0, 0}));
    EXPECT_EQ(c.layout.kind, layout);
    EXPECT_EQ(c.font, (RecordedFont{"Microsoft Yahei UI", 13, 0, CanvasUnit::Pixel}));
    EXPECT_EQ(calls[first + 1].coords[0], x - 360);
    EXPECT_EQ(calls[first + 2].coords[0], x + 360);
    EXPECT_EQ(calls[first + 2].text, text);
}

}  // namespace

TEST(LabelTexts, TimeAndForecastFormats) {
    const struct {
        const char* format;
        const char* time;
        const char* text;
    } times[] = {
        {"%02d%02d%02dZ", "201409010600", "090106Z"},
        {"UTC", "201409010600", "UTC"},
        {"%d/%d %dh", "201412311800", "12/31 18h"},
        // Short or odd times read 0 where they end; nothing is read past them.
        {"%02d%02d%02dZ", "20140", "000000Z"},
        {"%02d%02d%02dZ", "201409011", "090101Z"},
        {"%02d%02d%02dZ", "", "000000Z"},
        // A hostile format stays text.
        {"%s %n%d%d%d%d", "201409010600", "9 %n16"},
    };
    for (const auto& row : times) {
        EXPECT_EQ(timeLabelText(row.format, row.time), row.text) << row.format << " " << row.time;
    }

    const struct {
        const char* hour;
        const char* text;
    } forecasts[] = {{"0", ""}, {"6", ""}, {"12", "P+12h\r\n45kt"}, {"junk", ""}};
    for (const auto& row : forecasts) {
        EXPECT_EQ(forecastLabelText("P+%dh\r\n%dkt", row.hour, 45), row.text) << row.hour;
    }
}

TEST_F(TcvLabels, IdAndTimeWhereTheTrackTurnsTropicalAndTimeAtItsEnd) {
    add(100, 50, 20, "201409010000", "TD");
    add(110, 50, 35, "201409010600", "TS");
    add(120, 60, 40, "201409011200", "TS");
    endTrack();
    // A last fix that is also the first tropical one is labelled once.
    add(100, 50, 20, "201409020000", "TD");
    add(110, 50, 30, "201409020600", "TD");
    endTrack();
    runLoop();
    const auto calls = texts();
    ASSERT_EQ(calls.size(), 15u);
    expectLabel(calls, 0, "WP012014", 115, 34, LayoutKind::None);
    expectLabel(calls, 3, "090106Z", 115, 46, LayoutKind::None);
    expectLabel(calls, 6, "090112Z", 125, 56, LayoutKind::GenericDefault);
    EXPECT_EQ(calls[6].layout.lineAlignment, TextLayout::kAlignNear);
    EXPECT_EQ(calls[9].text, "WP012014");
    EXPECT_EQ(calls[12].text, "090206Z");
    for (const auto& c : calls) EXPECT_EQ(c.brush, 0xFFFFFFFFu);
}

TEST_F(TcvLabels, ATrackThatNeverTurnsTropicalShowsIdAndTimeAtItsEnd) {
    add(100, 50, 20, "201409010000", "", SystemClass::Tropical, TrackFileKind::BestTrackFile,
        "AL992014");
    add(110, 50, 20, "201409010600", "", SystemClass::Tropical, TrackFileKind::BestTrackFile,
        "AL992014");
    endTrack();
    runLoop();
    const auto calls = texts();
    ASSERT_EQ(calls.size(), 6u);
    expectLabel(calls, 0, "AL992014", 115, 34, LayoutKind::None);
    expectLabel(calls, 3, "090106Z", 115, 46, LayoutKind::GenericDefault);
    // Its failure message: tests/render/layers/status_tag_test.cpp.
}

TEST_F(TcvLabels, ForecastPointsFromHourTwelveCentredAndColouredLikeTheFix) {
    for (const char* hour : {"0", "6", "12"}) {
        add(150, 60, 45, hour, "", SystemClass::Tropical, TrackFileKind::ForecastFile);
    }
    endTrack();
    runLoop();
    const auto calls = texts();
    ASSERT_EQ(calls.size(), 3u);
    expectLabel(calls, 0, "P+12h\r\n45kt", 155, 60, LayoutKind::GenericDefault);
    EXPECT_EQ(calls[0].layout.lineAlignment, TextLayout::kAlignCentre);
    EXPECT_EQ(calls[0].brush, 0xFF00FF00u);
}

TEST_F(TcvLabels, EmptyTextsDrawNothingAndAreNotChecked) {
    settings.timeFormat = "";
    add(100, 50, 30, "201409010600");  // tropical at once, ends at once
    endTrack();
    // The third copy of the storm id fails; with no time label after it, no
    // label check runs, and the cross that follows succeeds.
    canvas.failCallOf(CanvasOp::DrawText, 2, status::kGenericError);
    runLoop();
    EXPECT_EQ(texts().size(), 3u);
    EXPECT_EQ(view.lineCount(), 0u);

    canvas.clear();
    settings.showText = false;
    runLoop();
    EXPECT_EQ(texts().size(), 0u);
    EXPECT_EQ(canvas.count(CanvasOp::DrawEllipse), 3u);  // circle and cross stay
    EXPECT_EQ(canvas.count(CanvasOp::DrawLine), 6u);
}
