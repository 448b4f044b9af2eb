// The drawing tape: a replay repeats what the job drew, and a vector file is
// written whole or not at all.
#include "render/canvas/drawing_tape.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "base/file_io.h"
#include "render/canvas/vector_output.h"
#include "support/recording_canvas.h"
#include "support/temp_folder.h"

using namespace tcmap;
using tcmap::testing::TempFolder;

namespace {

std::vector<std::string> described(const std::vector<RecordedCall>& calls, size_t from = 0) {
    std::vector<std::string> lines;
    for (size_t i = from; i < calls.size(); ++i) {
        RecordedCall call = calls[i];
        call.index = 0;   // positions differ between the two canvases
        call.status = 0;  // and so do the failures they were told to give
        lines.push_back(describe(call));
    }
    return lines;
}

// A little of everything a job draws, pens and fonts changing between calls.
void drawSample(Canvas& canvas) {
    CanvasPen pen;
    pen.create(toArgb(rgb(255, 128, 0)), 2.5f, CanvasUnit::World);
    pen.setCaps(cap::kRound, cap::kRound, cap::kRound);
    pen.setLineJoin(join::kRound);
    CanvasBrush brush;
    brush.setSolid(toArgb(rgb(10, 20, 30), 128));
    CanvasFont font;
    font.create("Consolas", 12.0f, 0, CanvasUnit::World);
    TextLayout layout;
    layout.create(TextLayout::kRightToLeft, 0);
    layout.setLineAlignment(TextLayout::kAlignCentre);

    canvas.drawLine(pen, 1, 2, 300, 40);
    pen.setDashPattern({3.0f, 3.0f});
    canvas.drawLine(pen, 5, 5, 5, 170);
    canvas.drawArc(pen, 20, 30, 80, 40, -90, 270);
    pen.setDashStyle(0);
    pen.setWidth(1);
    canvas.drawEllipse(pen, 100, 100, 12, 12);
    canvas.fillEllipse(brush, 100, 100, 12, 12);
    canvas.fillRectangle(brush, 0, 0, 50, 20);
    const std::vector<PointF> triangle{{10, 10}, {40, 10}, {25, 35}};
    canvas.fillPolygon(brush, triangle);
    canvas.drawText("TY 1415\r\n940hPa", font, brush, RectF{200, 20, 0, 0}, &layout);
    font.create("Microsoft Yahei UI", 14.0f, 0, CanvasUnit::Pixel);
    canvas.drawText("台风", font, brush, RectF{200, 60, 0, 0}, nullptr);
    canvas.drawText("TY 1415\r\n940hPa", font, brush, RectF{210, 90, 0, 0}, &layout);
    CanvasBrush released;  // never set: the call fails and is replayed failing
    canvas.fillEllipse(released, 1, 1, 2, 2);
}

TEST(DrawingTape, ReplayRepeatsEveryRecordedCallWithItsStatus) {
    auto original = std::make_shared<RecordingCanvas>(360, 180);
    auto tape = std::make_shared<DrawingTape>(360, 180, "en");
    TapeCanvas taping(original, tape);

    // Calls before recording starts (the map copies) stay off the tape.
    CanvasBrush brush;
    brush.setSolid(0xFF000000u);
    taping.fillRectangle(brush, 0, 0, 360, 180);
    taping.startRecording();
    original->failCallOf(CanvasOp::DrawArc, 0, status::kOutOfMemory);
    drawSample(taping);
    EXPECT_EQ(tape->operationCount(), original->size() - 1);

    // The taping canvas reports what the canvas under it did.
    original->failCall(original->size(), status::kWrongState);
    EXPECT_FALSE(taping.drawLine(CanvasPen{}, 0, 0, 1, 1));
    EXPECT_EQ(taping.lastStatus(), status::kWrongState);

    RecordingCanvas replayed(360, 180);
    EXPECT_TRUE(tape->replay(replayed));
    const std::vector<std::string> expected = described(original->calls(), 1);
    const std::vector<std::string> got = described(replayed.calls());
    EXPECT_EQ(got, expected);

    // A replay asked to stop stops.
    RecordingCanvas stopped(360, 180);
    EXPECT_FALSE(tape->replay(stopped, [] { return false; }));
    EXPECT_EQ(stopped.size(), 0u);
}

TEST(DrawingTape, VectorFileIsWrittenWholeOrNotAtAll) {
    TempFolder folder;
    auto tape = std::make_shared<DrawingTape>(640, 320, "en");
    Picture background;
    ASSERT_EQ(background.create(640, 320, 0xFF204060u, kBmpFormatId), status::kOk);
    tape->setBackground(std::move(background), false);
    TapeCanvas taping(std::make_shared<RecordingCanvas>(640, 320), tape);
    taping.startRecording();
    CanvasPen pen;
    pen.create(0xFFFF0000u, 1.5f, CanvasUnit::World);
    for (int i = 0; i < 2000; ++i) taping.drawLine(pen, i % 640, 0, 640 - i % 640, 320);

    for (const char* name : {"map.pdf", "map.svg"}) {
        const std::string path = folder.file(name);
        ASSERT_TRUE(writeFileReplacing(path, "old map"));
        const VectorFormat format = vectorFormatOf(path);

        // Over the limit: the old file stays and no temporary file is left.
        const VectorWriteReport refused = writeVectorMap(*tape, path, format, 2048);
        EXPECT_EQ(refused.result, VectorWriteResult::TooLarge) << name;
        EXPECT_EQ(readFileBytes(path).value_or(""), "old map") << name;
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()),
                                std::filesystem::directory_iterator()),
                  1);

        const VectorWriteReport written = writeVectorMap(*tape, path, format);
        ASSERT_EQ(written.result, VectorWriteResult::Written) << name;
        const std::string bytes = readFileBytes(path).value_or("");
        EXPECT_EQ(written.bytes, bytes.size());
        EXPECT_GT(bytes.size(), 2048u);
        EXPECT_EQ(bytes.rfind(format == VectorFormat::Pdf ? "%PDF-" : "<?xml", 0), 0u) << name;
        std::filesystem::remove(path);
    }

    // A folder that cannot take the file: nothing written, a status to show.
    const VectorWriteReport missing =
        writeVectorMap(*tape, folder.file("no/such/folder/map.pdf"), VectorFormat::Pdf);
    EXPECT_EQ(missing.result, VectorWriteResult::NotWritten);
    EXPECT_NE(missing.status, status::kOk);
}

TEST(DrawingTape, OnlySvgAndPdfNamesAreVectorMaps) {
    EXPECT_EQ(vectorFormatOf("out/Map.SVG"), VectorFormat::Svg);
    EXPECT_EQ(vectorFormatOf("map.pdf"), VectorFormat::Pdf);
    for (const char* other : {"map.png", "map.svgz", "map.pdf.png", "pdf", "map.", ""}) {
        EXPECT_EQ(vectorFormatOf(other), VectorFormat::None) << other;
    }
}

}  // namespace
