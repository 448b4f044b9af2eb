#include "support/recording_canvas.h"

#include <gtest/gtest.h>

#include "render/canvas/picture.h"

using namespace tcmap;

TEST(RecordingCanvas, RecordsResolvedPenAndCoordinates) {
    RecordingCanvas canvas;
    CanvasPen pen;
    pen.create(0xFF112233, 2.5f, CanvasUnit::Pixel);
    pen.setCaps(cap::kRound, cap::kRound, cap::kRound);
    pen.setLineJoin(join::kRound);
    pen.setDashPattern({3.0f, 3.0f});
    EXPECT_TRUE(canvas.drawLine(pen, 1.5f, 2, 3, 4));
    pen.setDashStyle(0);
    pen.setColour(0xFFFFFFFF);
    canvas.drawArc(pen, 10, 20, 30, 40, 90, -180);

    ASSERT_EQ(canvas.size(), 2u);
    const RecordedCall& line = canvas.calls()[0];
    EXPECT_EQ(line.name(), "drawLine");
    EXPECT_EQ(line.coords, (std::vector<float>{1.5f, 2, 3, 4}));
    const RecordedPen expected{0xFF112233, 2.5f, CanvasUnit::Pixel, 2, 2, 2, 2, {3.0f, 3.0f}};
    EXPECT_EQ(line.pen, expected);
    // The pen is copied when drawn: later changes do not reach earlier calls.
    EXPECT_EQ(canvas.last().pen->colour, 0xFFFFFFFFu);
    EXPECT_TRUE(canvas.last().pen->dashPattern.empty());
    EXPECT_EQ(canvas.last().coords, (std::vector<float>{10, 20, 30, 40, 90, -180}));
    EXPECT_EQ(describe(line),
              "drawLine 1.5 2 3 4 pen=FF112233/2.5/pixel caps=2,2,2 join=2 dash=3,3");
}

TEST(RecordingCanvas, RecordsTextFontBrushAndLayout) {
    RecordingCanvas canvas;
    CanvasFont font;
    font.create("Microsoft Yahei UI", 12.0f, 0, CanvasUnit::Pixel);
    CanvasBrush brush;
    brush.setSolid(0xFF00FF00);
    TextLayout layout;
    layout.create(TextLayout::kRightToLeft, 0);
    layout.setLineAlignment(TextLayout::kAlignCentre);
    canvas.drawText("台风\r\n2", font, brush, RectF{5, 6, 0, 0}, &layout);
    layout.genericDefault();
    canvas.drawText("a", font, brush, RectF{}, &layout);
    canvas.drawText("b", font, brush, RectF{}, nullptr);

    const std::vector<RecordedCall> texts = canvas.callsOf(CanvasOp::DrawText);
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].text, "台风\r\n2");
    EXPECT_EQ(texts[0].coords, (std::vector<float>{5, 6, 0, 0}));
    EXPECT_EQ(texts[0].font, (RecordedFont{"Microsoft Yahei UI", 12.0f, 0, CanvasUnit::Pixel}));
    EXPECT_EQ(texts[0].brush, 0xFF00FF00u);
    EXPECT_EQ(texts[0].layout, (RecordedLayout{LayoutKind::Created, 1, 1}));
    EXPECT_EQ(texts[1].layout.kind, LayoutKind::GenericDefault);
    EXPECT_EQ(texts[2].layout.kind, LayoutKind::None);
}

TEST(RecordingCanvas, RecordsFillsAndPictures) {
    RecordingCanvas canvas(7200, 3600);
    CanvasBrush brush;
    brush.setSolid(0xFF0000FF);
    const PointF triangle[3] = {{0, 0}, {4, 0}, {2, 3}};
    canvas.fillPolygon(brush, triangle);
    canvas.fillRectangle(brush, 1, 2, 3, 4);
    Picture empty;
    canvas.drawPicture(empty, -7200, 0, 7200, 3600);

    EXPECT_EQ(canvas.width(), 7200);
    EXPECT_EQ(canvas.calls()[0].points.size(), 3u);
    EXPECT_EQ(canvas.calls()[0].points[2].y, 3.0f);
    EXPECT_EQ(canvas.count(CanvasOp::FillRectangle), 1u);
    EXPECT_EQ(describe(canvas.last()), "drawPicture -7200 0 7200 3600 picture=0x0");
}

TEST(RecordingCanvas, FailsChosenCallsAndSetsTheLastStatus) {
    RecordingCanvas canvas;
    CanvasPen pen;
    CanvasBrush brush;
    canvas.failCall(1, status::kOutOfMemory);
    canvas.failCallOf(CanvasOp::FillEllipse, 1, 22);

    EXPECT_TRUE(canvas.fillEllipse(brush, 0, 0, 1, 1));  // call 0, first fillEllipse
    EXPECT_EQ(canvas.lastStatus(), 0);
    EXPECT_FALSE(canvas.drawLine(pen, 0, 0, 1, 1));  // call 1
    EXPECT_EQ(canvas.lastStatus(), status::kOutOfMemory);
    EXPECT_FALSE(canvas.fillEllipse(brush, 0, 0, 1, 1));  // second fillEllipse
    EXPECT_EQ(canvas.lastStatus(), 22);
    EXPECT_TRUE(canvas.fillEllipse(brush, 0, 0, 1, 1));
    EXPECT_EQ(canvas.lastStatus(), 0);
    EXPECT_EQ(canvas.calls()[1].status, status::kOutOfMemory);

    // Clearing restarts the numbering; the rules stay until cleared.
    canvas.clear();
    EXPECT_EQ(canvas.size(), 0u);
    EXPECT_TRUE(canvas.drawLine(pen, 0, 0, 1, 1));
    EXPECT_FALSE(canvas.drawLine(pen, 0, 0, 1, 1));
    canvas.clearFailures();
    canvas.failAllOf(CanvasOp::DrawEllipse, status::kGenericError);
    EXPECT_FALSE(canvas.drawEllipse(pen, 0, 0, 1, 1));
    EXPECT_FALSE(canvas.drawEllipse(pen, 0, 0, 1, 1));
    EXPECT_TRUE(canvas.drawLine(pen, 0, 0, 1, 1));
}
