// A real job written as vector maps: the SVG holds a path for every shape and
// the text of every label the job drew, and the PDF looks like the PNG.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/batch_log.h"
#include "base/file_io.h"
#include "config/job_settings.h"
#include "i18n/language_pack.h"
#include "render/canvas/drawing_tape.h"
#include "render/canvas/jpeg_codec.h"
#include "render/canvas/picture.h"
#include "render/canvas/vector_output.h"
#include "render/draw.h"
#include "support/external_tool.h"
#include "support/pdf_pixels.h"
#include "support/recording_canvas.h"
#include "support/recording_view.h"
#include "support/temp_folder.h"

using namespace tcmap;
using tcmap::testing::clearlyDifferingPixels;
using tcmap::testing::renderPdf;
using tcmap::testing::runTool;
using tcmap::testing::shellQuoted;
using tcmap::testing::TempFolder;
using tcmap::testing::toolInstalled;
using tcmap::testing::ToolRun;

namespace {

const std::string kTrackData = TCMAP_TEST_DATA_DIR "/track/atcf/";

// Sandy (with wind radii) and a Harvey forecast in the TCV style with labels, legend, grid and
// wind radii and a dot at every fix, on a 1440 x 720 map of sea with a block of land.
class VectorMapTest : public ::testing::Test {
  protected:
    TempFolder folder;
    DrawRequest request;
    DrawResult result;

    void SetUp() override {
        request.style = RenderStyle::Tcv;
        request.settings =
            readJobSettings(folder.put("tcv.ini",
                                       "[Borvane4]\nMode=1\nShowText1=1\nDrawLegends1=5\n"
                                       "ShowGrid1=1\nDrawRad1=1\nAllPoints1=1\n"),
                            true);
        // GridData and the language files as shipped.
        request.gridDataPath = TCMAP_SOURCE_DIR "/data/GridData";
        request.language = LanguagePack(TCMAP_SOURCE_DIR "/data", "en", "UTF-8", false);
        request.textLanguage = "en";
        request.keepTape = true;
        Picture map;
        ASSERT_EQ(map.create(1440, 720, 0xFF1E468Cu, kPngFormatId), status::kOk);
        for (int y = 200; y < 400; ++y) {
            for (int x = 400; x < 700; ++x) map.pixels()[y * 1440 + x] = 0xFF3C8C3Cu;
        }
        ASSERT_EQ(map.save(folder.file("map.png"), kPngFormatId), status::kOk);
        request.mapPath = folder.file("map.png");
        request.tracks = {{kTrackData + "bal182012.dat", nullptr},
                          {kTrackData + "21.al092017.fst", nullptr}};
    }

    void run(std::function<std::shared_ptr<Canvas>(Picture&)> openCanvas = nullptr) {
        request.openCanvas = std::move(openCanvas);
        ProgressRecorder progress;
        result = draw(request, progress);
    }
};

size_t countOf(const std::string& text, const std::string& what, size_t from = 0) {
    size_t count = 0;
    for (size_t at = text.find(what, from); at != std::string::npos;
         at = text.find(what, at + what.size()))
        ++count;
    return count;
}

struct Box {
    float minX, minY, maxX, maxY;
    // Whether the box lies within the canvas widened by `margin` on each side
    // (a margin of 0: wholly inside), or for a positive margin meets it.
    bool within(float margin, int width, int height) const {
        if (margin == 0) return minX >= 0 && minY >= 0 && maxX <= width && maxY <= height;
        return maxX + margin >= 0 && maxY + margin >= 0 && minX - margin <= width &&
               minY - margin <= height;
    }
};

// The box of a call's coordinates (a text: its anchor point).
Box boxOf(const RecordedCall& call) {
    const std::vector<float>& c = call.coords;
    if (call.op == CanvasOp::FillPolygon) {
        Box box{call.points[0].x, call.points[0].y, call.points[0].x, call.points[0].y};
        for (const PointF& p : call.points) {
            box = {std::min(box.minX, p.x), std::min(box.minY, p.y), std::max(box.maxX, p.x),
                   std::max(box.maxY, p.y)};
        }
        return box;
    }
    if (call.op == CanvasOp::DrawLine) {
        return {std::min(c[0], c[2]), std::min(c[1], c[3]), std::max(c[0], c[2]),
                std::max(c[1], c[3])};
    }
    return {std::min(c[0], c[0] + c[2]), std::min(c[1], c[1] + c[3]), std::max(c[0], c[0] + c[2]),
            std::max(c[1], c[1] + c[3])};
}

// The text pdftotext reads from the PDF; a PDF it rejects fails the test.
void pdfText(const std::string& pdf, const std::string& out, std::string& text) {
    const ToolRun run = runTool("pdftotext -raw " + shellQuoted(pdf) + " " + shellQuoted(out));
    ASSERT_EQ(run.exitCode, 0) << "pdftotext rejects the PDF: " << run.output;
    text = readFileOrEmpty(out);
}

}  // namespace

TEST_F(VectorMapTest, SvgHoldsEveryShapeAndLabelAndPdfLooksLikeThePng) {
    // What the job draws, seen on a recording canvas.
    std::shared_ptr<RecordingCanvas> recorded;
    run([&](Picture& output) {
        recorded = std::make_shared<RecordingCanvas>(output.width(), output.height());
        return recorded;
    });
    ASSERT_TRUE(recorded);
    // Shapes wholly inside the canvas must be in the file, shapes near it may
    // be (a stroke reaches beyond its path), shapes far off are left out.
    size_t strokesInside = 0, strokesNear = 0, fillsInside = 0, fillsNear = 0;
    size_t markers = 0, arcs = 0;
    std::vector<std::string> labels;
    const int width = recorded->width(), height = recorded->height();
    for (const RecordedCall& call : recorded->calls()) {
        if (call.op == CanvasOp::DrawPicture) continue;
        const Box box = boxOf(call);
        const bool inside = box.within(0, width, height);
        if (call.op == CanvasOp::DrawText) {
            if (inside && call.text.find_first_not_of(" \r\n") != std::string::npos) {
                labels.push_back(call.text);
            }
            continue;
        }
        const bool near =
            box.within(call.pen ? 5 * std::max(call.pen->width, 1.0f) + 2 : 1, width, height);
        (call.pen ? strokesInside : fillsInside) += inside;
        (call.pen ? strokesNear : fillsNear) += near;
        if (inside && call.op == CanvasOp::FillEllipse) ++markers;
        if (inside && call.op == CanvasOp::DrawArc) ++arcs;
    }
    ASSERT_GE(markers, 10u);
    ASSERT_GT(labels.size(), 5u);
    ASSERT_GT(arcs, 0u);  // the wind radii

    // The same job on the real canvas, kept for a vector save.
    run();
    ASSERT_TRUE(result.tape);
    const DrawingTape& tape = *result.tape;
    EXPECT_EQ(tape.operationCount(), recorded->size() - recorded->count(CanvasOp::DrawPicture));

    const std::string svgPath = folder.file("map.svg");
    ASSERT_EQ(writeVectorMap(tape, svgPath, VectorFormat::Svg).result, VectorWriteResult::Written);
    const std::string svg = readFileOrEmpty(svgPath);
    // The map picture and the glyph outlines sit in <defs>; the page follows.
    const size_t page = svg.rfind("</defs>");
    ASSERT_NE(page, std::string::npos);
    EXPECT_EQ(countOf(svg, "<image"), 1u);
    EXPECT_EQ(countOf(svg, "<use xlink:href=\"#image", page), 1u);
    const size_t strokes = countOf(svg, "<path style=\"fill:none", page);
    const size_t fills = countOf(svg, "<path style=\" stroke:none", page);
    EXPECT_GE(strokes, strokesInside);
    EXPECT_LE(strokes, strokesNear);
    EXPECT_GE(fills, fillsInside);
    EXPECT_LE(fills, fillsNear);
    // Every label is at least one run of glyphs (mixed scripts give more).
    EXPECT_GE(countOf(svg, "<g style=\"fill:", page), labels.size());

    const std::string pdfPath = folder.file("map.pdf");
    ASSERT_EQ(writeVectorMap(tape, pdfPath, VectorFormat::Pdf).result, VectorWriteResult::Written);
    for (const char* tool : {"pdftoppm", "pdftotext"}) {
        if (!toolInstalled(tool)) GTEST_SKIP() << tool << " (poppler-utils) is not installed";
    }
    Picture rendered;
    ASSERT_NO_FATAL_FAILURE(renderPdf(pdfPath, folder.file("rendered"), rendered));
    const Picture& png = result.picture;
    ASSERT_EQ(rendered.width(), png.width());
    ASSERT_EQ(rendered.height(), png.height());
    const size_t differing = clearlyDifferingPixels(rendered, png);
    const double share = double(differing) / (double(png.width()) * png.height());
    EXPECT_LE(share, 0.02) << differing << " pixels differ";
    RecordProperty("differing_pixels", std::to_string(differing));

    // The labels are text in the PDF: every line of every label reads back.
    std::string text;
    ASSERT_NO_FATAL_FAILURE(pdfText(pdfPath, folder.file("text.txt"), text));
    for (const std::string& label : labels) {
        for (const std::string& line : splitLogLines(label)) {
            if (!line.empty()) {
                EXPECT_NE(text.find(line), std::string::npos) << line;
            }
        }
    }
}

TEST_F(VectorMapTest, JpegMapIsEmbeddedAsJpeg) {
    Picture map;
    ASSERT_TRUE(map.loadFile(request.mapPath));
    std::vector<uint8_t> jpeg;
    ASSERT_EQ(encodeJpeg(map.pixels(), map.width(), map.height(), jpeg), status::kOk);
    request.mapPath = folder.put("map.jpg", std::string(jpeg.begin(), jpeg.end()));
    run();
    ASSERT_TRUE(result.tape);

    const std::string pdfPath = folder.file("map.pdf"), svgPath = folder.file("map.svg");
    ASSERT_EQ(writeVectorMap(*result.tape, pdfPath, VectorFormat::Pdf).result,
              VectorWriteResult::Written);
    ASSERT_EQ(writeVectorMap(*result.tape, svgPath, VectorFormat::Svg).result,
              VectorWriteResult::Written);
    const std::string pdf = readFileOrEmpty(pdfPath), svg = readFileOrEmpty(svgPath);
    EXPECT_EQ(countOf(pdf, "/DCTDecode"), 1u);
    EXPECT_EQ(countOf(svg, "data:image/jpeg;base64,"), 1u);
    EXPECT_EQ(countOf(svg, "data:image/png;base64,"), 0u);
}
