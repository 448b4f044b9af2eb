#include "render/layers/legend_layer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "i18n/language_pack.h"
#include "render/job_log.h"
#include "render/layers/colour_scales.h"
#include "support/recording_canvas.h"
#include "support/recording_view.h"
#include "support/temp_folder.h"
#include "track/track_model.h"

using namespace tcmap;
using tcmap::testing::TempFolder;

namespace {

class Legend : public ::testing::Test {
  protected:
    ProgressRecorder view;
    StormStatistics stats;
    std::vector<DrawMessage> messages;
    JobLog log{view, stats, messages, 0};
    LanguagePack lang{TCMAP_SOURCE_DIR "/data", "en", "UTF-8", false};
    JobSettings settings;
    FixTable fixes;
    OutputGeometry frame;
    CanvasPen pen;
    CanvasBrush brush;
    CanvasFont font;
    TextLayout layout;
    RecordingCanvas canvas{1920, 1080};
    bool tcv = false;

    void SetUp() override { setOutputSize(1920, 1080); }

    void setOutputSize(int32_t width, int32_t height) {
        frame.outputWidth = width;
        frame.outputHeight = height;
        canvas.setSize(width, height);
    }

    LayerContext context(const LanguagePack& pack) {
        return LayerContext(LayerInput{settings, tcv, frame, fixes, {}, pack, ""}, canvas, log);
    }
    LayerContext context() { return context(lang); }

    // A fix at output position (x, y) with the frame as it is.
    void addFix(double x, double y) {
        fixes.x.push_back(x);
        fixes.y.push_back(y);
    }

    void draw(int32_t position, bool newColour) {
        LayerContext ctx = context();
        drawLegend(ctx, legendCornerOf(position), newColour);
    }

    int32_t place() { return static_cast<int32_t>(placeLegendAutomatically(context())); }

    std::vector<std::string> rowTexts() const {
        std::vector<std::string> texts;
        for (const RecordedCall& call : canvas.calls()) texts.push_back(call.text);
        return texts;
    }
};

}  // namespace

TEST_F(Legend, WendrelRowsBottomLeft) {
    draw(2, true);

    EXPECT_EQ(view.lineTexts(), std::vector<std::string>{"Drawing the legend .."});
    EXPECT_EQ(view.lastLine()->colour, rgb(0, 136, 255));
    EXPECT_EQ(view.statusPart(3), "Drawing the legend ..");

    ASSERT_EQ(canvas.size(), 7u);
    EXPECT_EQ(rowTexts()[0], "● Tropical depression (<34kt)");
    EXPECT_EQ(rowTexts()[6], "● Category 5 (137kt+)");
    const int32_t winds[7] = {1, 34, 64, 83, 96, 113, 137};
    for (size_t i = 0; i < 7; ++i) {
        const RecordedCall& row = canvas.calls()[i];
        EXPECT_EQ(*row.brush, toArgb(wendrelColour(winds[i], true), 255));
        // u = 1080 / 40 = 27 is font size and pitch; 0.99 x 1080 - 7 x 27 = 880.2.
        EXPECT_EQ(row.coords,
                  (std::vector<float>{0, 880.2f + 27.0f * static_cast<float>(i), 0, 0}));
        EXPECT_EQ(*row.font, (RecordedFont{"Consolas", 27.0f, 0, CanvasUnit::World}));
        EXPECT_EQ(row.layout, (RecordedLayout{LayoutKind::Created, 0, TextLayout::kAlignNear}));
    }
}

TEST_F(Legend, TcvRowsRightToLeftAgainstTheRightEdge) {
    tcv = true;
    draw(3, true);
    ASSERT_EQ(canvas.size(), 9u);
    EXPECT_EQ(rowTexts(),
              (std::vector<std::string>{
                  "● Tropical depression (<34kt)", "● Tropical storm (34-63kt)",
                  "● Subtropical depression (<34kt)", "● Subtropical storm (34kt+)",
                  "● Category 1 (64-82kt)", "● Category 2 (83-95kt)", "● Category 3 (96-112kt)",
                  "● Category 4 (113-136kt)", "● Category 5 (137kt+)"}));
    EXPECT_EQ(*canvas.calls()[2].brush, toArgb(tcvColour(1, "SD"), 255));
    EXPECT_EQ(*canvas.calls()[3].brush, toArgb(tcvColour(34, "SS"), 255));
    EXPECT_EQ(*canvas.calls()[1].brush, toArgb(tcvColour(34, ""), 255));
    for (size_t i = 0; i < 9; ++i) {
        const RecordedCall& row = canvas.calls()[i];
        EXPECT_EQ(row.coords[0], 1920.0f);
        EXPECT_EQ(row.coords[1], 27.0f * static_cast<float>(i));
        EXPECT_EQ(row.layout.flags, TextLayout::kRightToLeft);
    }
}

TEST_F(Legend, CornersOfTheFourPositions) {
    // A tall picture: u = W / 40 = 20.
    setOutputSize(800, 1200);
    struct Expected {
        int32_t position;
        float x, y;
        int flags;
    };
    const float bottom = 0.99f * 1200 - 7 * 20;
    for (const Expected& e : {Expected{1, 0, 0, 0}, Expected{2, 0, bottom, 0},
                              Expected{3, 800, 0, 1}, Expected{4, 800, bottom, 1}}) {
        SCOPED_TRACE(e.position);
        canvas.clear();
        draw(e.position, true);
        ASSERT_EQ(canvas.size(), 7u);
        const RecordedCall& first = canvas.calls()[0];
        EXPECT_EQ(first.coords[0], e.x);
        EXPECT_FLOAT_EQ(first.coords[1], e.y);
        EXPECT_EQ(first.layout.flags, e.flags);
        EXPECT_EQ(first.font->emSize, 20.0f);
        EXPECT_FLOAT_EQ(canvas.calls()[6].coords[1], e.y + 120);
    }
}

TEST_F(Legend, NoLegendAndNoProgressLineAtZeroOrBelow) {
    draw(0, true);
    draw(-3, true);
    EXPECT_EQ(canvas.size(), 0u);
    EXPECT_EQ(view.lineCount(), 0u);
    EXPECT_EQ(view.statusPart(3), "");
}

TEST_F(Legend, AutomaticCornerAvoidsFixes) {
    // Box: 27-byte longest text, lw = 27 x 30 x 0.6 = 486; lh = 10.8 + 7 x 27 = 199.8.
    EXPECT_EQ(place(), 2) << "no fix at all";

    addFix(-5, 1000);   // left of the picture: ignored
    addFix(500, 1000);  // right of the box
    EXPECT_EQ(place(), 2);

    addFix(486, 880.2);  // bottom left, on the box's corner
    EXPECT_EQ(place(), 1);
    addFix(0, 100);  // on the left edge, top band
    EXPECT_EQ(place(), 3);
    addFix(1900, 199.8);  // top right, on the box's lower edge
    EXPECT_EQ(place(), 4);
    // Every corner taken: bottom left all the same.
    addFix(1920, 1080);
    EXPECT_EQ(place(), 2);

    // Position 7 acts as automatic; this frame moves every fix 100 pixels left,
    // into the bottom-left box.
    fixes = FixTable{};
    addFix(530, 1000);
    frame.minX = 150;
    frame.marginX = 50;
    canvas.clear();
    draw(7, true);
    ASSERT_EQ(canvas.size(), 7u);
    EXPECT_EQ(canvas.calls()[0].coords[0], 0.0f);
    EXPECT_EQ(canvas.calls()[0].coords[1], 0.0f) << "top left: the bottom left holds a fix";
}

TEST_F(Legend, BoxWidthCountsCodePageBytes) {
    // Ten Chinese characters: 10 characters, 20 code-page bytes, 30 UTF-8 bytes.
    TempFolder folder;
    folder.put("xx.lang",
               "[text]\nName=Test\n104=中中中中中中中中中中\n105=a\n106=a\n107=a\n108=a\n"
               "109=a\n110=a\n");
    const LanguagePack pack(folder.path(), "xx", "UTF-8", false);
    // lw = 27 x (20 + 3) x 0.6 = 372.6.
    addFix(300, 1070);
    EXPECT_EQ(placeLegendAutomatically(context(pack)), LegendCorner::UpperLeft);
    fixes = FixTable{};
    addFix(400, 1070);
    EXPECT_EQ(placeLegendAutomatically(context(pack)), LegendCorner::LowerLeft);
}
