// The bundled map's land drawn as paths in vector maps: where the view puts
// the world for each kind of frame, and whole jobs whose PDF holds no picture
// yet looks like the PNG of the same job.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/file_io.h"
#include "config/job_settings.h"
#include "i18n/language_pack.h"
#include "i18n/text_id.h"
#include "render/canvas/drawing_tape.h"
#include "render/canvas/picture.h"
#include "render/canvas/vector_output.h"
#include "render/draw.h"
#include "render/map_frame.h"
#include "render/vector_land.h"
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
const std::string kWorldMap = TCMAP_SOURCE_DIR "/data/maps/world.png";
const std::string kVectorWorld = TCMAP_SOURCE_DIR "/data/maps/world_vector.bin";

// The part of the output the painted map copies cover, from what paintMap
// drew: the union of the copies, cut to the output.
std::pair<double, double> paintedColumns(const MapFrame& frame, int width, int height) {
    RecordingCanvas canvas(width, height);
    Picture map;
    EXPECT_EQ(map.create(frame.mapWidth, frame.mapHeight, 0xFF000000u, kPngFormatId), status::kOk);
    EXPECT_EQ(paintMap(canvas, map, frame), status::kOk);
    double left = width, right = 0;
    for (const RecordedCall& call : canvas.callsOf(CanvasOp::DrawPicture)) {
        left = std::min(left, std::max(0.0, double(call.coords[0])));
        right = std::min<double>(width, std::max(right, double(call.coords[0] + call.coords[2])));
    }
    return {left, right};
}

}  // namespace

// On a 360 x 180 map a degree is a pixel: the view's box reads as degrees of
// the map (0° at its left edge), two pixels wider on every side.
TEST(VectorLandView, CoversWhatThePaintedCopiesCoverAndNamesItsDegrees) {
    struct Frame {
        int minX, minY, marginX, marginY, outputWidth, outputHeight;
    };
    struct Cover {
        double originX, originY, left, right, top, bottom;
    };
    const struct {
        const char* name;
        DrawMode mode;
        Frame in;
        Cover cover;
        GeoBox box;
    } rows[] = {
        {"the whole map",
         DrawMode::Global,
         {0, 0, 0, 0, 360, 180},
         {0, 0, 0, 360, 0, 180},
         {-2, -90, 362, 90}},
        {"east of the seam",
         DrawMode::Normal,
         {100, 30, 10, 10, 200, 100},
         {-90, -20, 0, 200, 0, 100},
         {88, -32, 292, 72}},
        {"across 180°",
         DrawMode::Regional,
         {150, 40, 0, 0, 70, 40},
         {-150, -40, 0, 70, 0, 40},
         {148, 8, 222, 52}},
        {"west of the 0° seam",
         DrawMode::Normal,
         {-30, 20, 10, 10, 120, 60},
         {40, -10, 0, 120, 0, 60},
         {-42, 18, 82, 82}},
        {"past the east copy's seam",
         DrawMode::Regional,
         {340, 30, 0, 0, 80, 40},
         {-340, -30, 0, 80, 0, 40},
         {338, 18, 422, 62}},
        {"below the south pole",
         DrawMode::Normal,
         {100, 150, 10, 10, 100, 100},
         {-90, -140, 0, 100, 0, 40},
         {88, -90, 192, -48}},
        {"wider than the copies",
         DrawMode::Normal,
         {20, 0, 10, 0, 800, 180},
         {-10, 0, 0, 710, 0, 180},
         {8, -90, 722, 90}},
    };
    for (const auto& row : rows) {
        MapFrame frame;
        frame.mapWidth = 360;
        frame.mapHeight = 180;
        frame.minX = row.in.minX;
        frame.minY = row.in.minY;
        frame.marginX = row.in.marginX;
        frame.marginY = row.in.marginY;
        const int width = row.in.outputWidth, height = row.in.outputHeight;
        const VectorLandView view = vectorLandView(frame, row.mode, width, height);
        EXPECT_DOUBLE_EQ(view.originX, row.cover.originX) << row.name;
        EXPECT_DOUBLE_EQ(view.originY, row.cover.originY) << row.name;
        EXPECT_DOUBLE_EQ(view.left, row.cover.left) << row.name;
        EXPECT_DOUBLE_EQ(view.right, row.cover.right) << row.name;
        EXPECT_DOUBLE_EQ(view.top, row.cover.top) << row.name;
        EXPECT_DOUBLE_EQ(view.bottom, row.cover.bottom) << row.name;
        const GeoBox box = view.box();
        EXPECT_DOUBLE_EQ(box.west, row.box.west) << row.name;
        EXPECT_DOUBLE_EQ(box.east, row.box.east) << row.name;
        EXPECT_DOUBLE_EQ(box.south, row.box.south) << row.name;
        EXPECT_DOUBLE_EQ(box.north, row.box.north) << row.name;
        if (row.mode != DrawMode::Global) {
            const auto [left, right] = paintedColumns(frame, width, height);
            EXPECT_DOUBLE_EQ(view.left, left) << row.name;
            EXPECT_DOUBLE_EQ(view.right, right) << row.name;
        }
    }
    // A point goes where the picture has it: half a pixel up and left of
    // its degrees, the canvas centring pixels on whole coordinates.
    MapFrame frame;
    frame.mapWidth = 7200;
    frame.mapHeight = 3600;
    frame.minX = 5000;
    frame.minY = 1000;
    const VectorLandView view = vectorLandView(frame, DrawMode::Regional, 400, 300);
    const PointF p = view.toPixel({255.5, 38.0});  // 104.5°W, 38°N
    EXPECT_FLOAT_EQ(p.x, 255.5f * 20 - 5000 - 0.5f);
    EXPECT_FLOAT_EQ(p.y, (90 - 38) * 20 - 1000 - 0.5f);
}

namespace {

class VectorLandJobTest : public ::testing::Test {
  protected:
    TempFolder folder;
    DrawRequest request;
    DrawResult result;
    ProgressRecorder progress;

    void SetUp() override {
        request.style = RenderStyle::Tcv;
        request.gridDataPath = TCMAP_SOURCE_DIR "/data/GridData";
        request.language = LanguagePack(TCMAP_SOURCE_DIR "/data", "en", "UTF-8", false);
        request.textLanguage = "en";
        request.keepTape = true;
        request.mapPath = kWorldMap;
        request.vectorWorldPath = kVectorWorld;
    }

    void use(const std::string& settings) {
        request.settings = readJobSettings(folder.put("tcv.ini", "[Borvane4]\n" + settings), true);
    }

    void run() { result = draw(request, progress); }
};

// The images pdfimages lists in the PDF (lines after its two heading lines).
size_t imagesIn(const std::string& pdf) {
    const ToolRun run = runTool("pdfimages -list " + shellQuoted(pdf));
    EXPECT_EQ(run.exitCode, 0) << "pdfimages rejects the PDF: " << run.output;
    size_t lines = 0;
    for (const char c : run.output) lines += c == '\n';
    return lines >= 2 ? lines - 2 : 0;
}

}  // namespace

TEST_F(VectorLandJobTest, PdfHasNoPictureAndLooksLikeThePngOfTheSameJob) {
    const struct {
        const char* name;
        DrawMode mode;
        std::vector<std::string> region;
        const char* track;
    } rows[] = {
        {"fitted to Sandy", DrawMode::Normal, {}, "bal182012.dat"},
        {"a region across 180°", DrawMode::Regional, {"50", "150", "40", "70"}, "bwp012014.dat"},
        {"a region across the 0° seam",
         DrawMode::Regional,
         {"60", "-20", "40", "60"},
         "bal182012.dat"},
    };
    for (const char* tool : {"pdftoppm", "pdfimages"}) {
        if (!toolInstalled(tool)) GTEST_SKIP() << tool << " (poppler-utils) is not installed";
    }
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        request.mode = row.mode;
        request.region = row.region;
        request.tracks = {{kTrackData + row.track, nullptr}};
        use("ShowGrid1=1\nDrawLegends1=5\nShowText1=1\nVectorLand=0\n");
        run();
        ASSERT_TRUE(result.drawn());
        const Picture raster = std::move(result.picture);
        ASSERT_TRUE(result.tape);
        const size_t rasterOperations = result.tape->operationCount();

        use("ShowGrid1=1\nDrawLegends1=5\nShowText1=1\nVectorLand=1\n");
        run();
        ASSERT_TRUE(result.drawn());
        // The setting changes the vector file only: the PNG stays the same.
        ASSERT_EQ(result.picture.width(), raster.width());
        ASSERT_EQ(result.picture.height(), raster.height());
        EXPECT_TRUE(std::equal(raster.pixels(),
                               raster.pixels() + size_t(raster.width()) * raster.height(),
                               result.picture.pixels()));
        ASSERT_TRUE(result.tape);
        EXPECT_TRUE(result.tape->background().empty());
        EXPECT_GT(result.tape->operationCount(), rasterOperations + 1) << "the sea and some land";

        const std::string pdf = folder.file("map.pdf");
        const VectorWriteReport report = writeVectorMap(*result.tape, pdf, VectorFormat::Pdf);
        ASSERT_EQ(report.result, VectorWriteResult::Written);
        EXPECT_LE(report.bytes, uint64_t{2} << 20);
        EXPECT_EQ(imagesIn(pdf), 0u);
        Picture rendered;
        ASSERT_NO_FATAL_FAILURE(renderPdf(pdf, folder.file("rendered"), rendered));
        ASSERT_EQ(rendered.width(), raster.width());
        ASSERT_EQ(rendered.height(), raster.height());
        const size_t differing = clearlyDifferingPixels(rendered, raster);
        EXPECT_LE(double(differing) / (double(raster.width()) * raster.height()), 0.02)
            << differing << " pixels differ";

        const std::string svg = folder.file("map.svg");
        ASSERT_EQ(writeVectorMap(*result.tape, svg, VectorFormat::Svg).result,
                  VectorWriteResult::Written);
        EXPECT_EQ(readFileOrEmpty(svg).find("<image"), std::string::npos);
    }
}

// Without the setting, on another map, or with a vector world that cannot be
// read, the map picture is embedded as before; only the unreadable file is
// worth a message.
TEST_F(VectorLandJobTest, PictureStaysWhenLandCannotOrNeedNotBeDrawnAsPaths) {
    const std::string damaged = folder.put("damaged.bin", "TCMAPVW1 cut short");
    const struct {
        const char* name;
        const char* setting;
        std::string vectorWorld;
        bool warns;
    } rows[] = {
        {"setting off", "VectorLand=0\n", kVectorWorld, false},
        {"a map of the user's", "VectorLand=1\n", "", false},
        {"damaged vector world", "VectorLand=1\n", damaged, true},
        {"missing vector world", "VectorLand=1\n", folder.file("none.bin"), true},
    };
    request.mode = DrawMode::Regional;
    request.region = {"50", "-100", "30", "40"};
    request.tracks = {{kTrackData + "bal182012.dat", nullptr}};
    const std::string text = request.language.text(TextId::VectorWorldNotRead);
    const std::string prefix = text.substr(0, text.find("%s"));
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        use(row.setting);
        request.vectorWorldPath = row.vectorWorld;
        run();
        ASSERT_TRUE(result.drawn());
        ASSERT_TRUE(result.tape);
        EXPECT_FALSE(result.tape->background().empty());
        bool said = false;
        for (const DrawMessage& message : result.messages) {
            said = said || (message.kind == MessageKind::Warning &&
                            message.text.starts_with(prefix + row.vectorWorld));
        }
        EXPECT_EQ(said, row.warns);
    }
}
