// The colour legend on the national scales: a row per band with the
// language pack's name of the band and the scale's own colour, a note when
// winds were converted, and fixes coloured by the same bands.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "i18n/language_pack.h"
#include "render/job_log.h"
#include "render/layers/colour_scales.h"
#include "render/layers/legend_layer.h"
#include "render/layers/scale_colours.h"
#include "support/recording_canvas.h"
#include "support/recording_view.h"
#include "track/intensity_scale.h"

using namespace tcmap;

namespace {

const std::string kBullet = "\xE2\x97\x8F ";

class ScaleLegend : public ::testing::Test {
  protected:
    ProgressRecorder view;
    StormStatistics stats;
    std::vector<DrawMessage> messages;
    JobLog log{view, stats, messages, 0};
    LanguagePack chinese{TCMAP_SOURCE_DIR "/data", "zh-cn", "UTF-8", false};
    LanguagePack english{TCMAP_SOURCE_DIR "/data", "en", "UTF-8", false};
    JobSettings settings;
    FixTable fixes;
    OutputGeometry frame;
    AgencyScene scene;
    RecordingCanvas canvas{1920, 1080};

    void SetUp() override {
        frame.outputWidth = 1920;
        frame.outputHeight = 1080;
    }

    std::vector<RecordedCall> drawRows(const LanguagePack& pack, bool tcv) {
        canvas.clear();
        const LayerInput input{settings, tcv, frame, fixes, {}, pack, "", {}, nullptr, &scene};
        LayerContext ctx(input, canvas, log);
        drawLegend(ctx, LegendCorner::UpperLeft, true);
        return canvas.callsOf(CanvasOp::DrawText);
    }

    static ScaleColour colourOf(const IntensityScale& scale, size_t band) {
        return scale.palettes.front().bands[band];
    }
};

}  // namespace

// The Chinese rows must be the standard's own class names, in its colours,
// in both styles.
TEST_F(ScaleLegend, TheCmaScaleInChineseNamesEachBandOfTheStandard) {
    settings.agencies.scale = "cma";
    const IntensityScale& cma = cmaScale();
    for (const bool tcv : {false, true}) {
        const std::vector<RecordedCall> rows = drawRows(chinese, tcv);
        ASSERT_EQ(rows.size(), cma.bands.size());
        for (size_t i = 0; i < rows.size(); ++i) {
            EXPECT_EQ(rows[i].text, kBullet + std::string(cma.bands[i].chinese)) << i;
            const ScaleColour c = colourOf(cma, i);
            EXPECT_EQ(*rows[i].brush, toArgb(rgb(c.red, c.green, c.blue), 255)) << i;
        }
    }
}

TEST_F(ScaleLegend, TheJmaScaleInEnglishHasItsSixClasses) {
    settings.agencies.scale = "jma";
    const std::vector<RecordedCall> rows = drawRows(english, false);
    ASSERT_EQ(rows.size(), jmaScale().bands.size());
    EXPECT_EQ(rows.front().text, kBullet + "Tropical depression");
    EXPECT_EQ(rows[3].text, kBullet + "Strong typhoon");
    EXPECT_EQ(rows.back().text, kBullet + "Violent typhoon");
}

TEST_F(ScaleLegend, ConvertedWindsAreSaidUnderTheRows) {
    scene.windsConvertedTo = "1";
    const std::vector<RecordedCall> english7 = drawRows(english, false);
    ASSERT_EQ(english7.size(), 8u);  // the seven Saffir-Simpson rows and the note
    EXPECT_EQ(english7.back().text, "Winds converted to 1-minute means");
    settings.agencies.scale = "cma";
    const std::vector<RecordedCall> rows = drawRows(chinese, false);
    ASSERT_EQ(rows.size(), 7u);
    EXPECT_EQ(rows.back().text, "风速已换算为1分钟平均风");
    // The note sits one row below the last band.
    EXPECT_GT(rows.back().coords[1], rows[5].coords[1]);
}

// A fix colour at each band's edge and one knot below it: the band changes
// exactly at the edge on each scale; Saffir-Simpson keeps its tables.
TEST_F(ScaleLegend, FixesTakeTheirBandsColourFromItsEdgeOn) {
    for (const IntensityScale* scale : {&cmaScale(), &jmaScale()}) {
        settings.agencies.scale = std::string(scale->id);
        for (size_t band = 0; band < scale->bands.size(); ++band) {
            const int32_t edge = scale->bands[band].lowerKt;
            const ScaleColour c = colourOf(*scale, band);
            EXPECT_EQ(fixColour(settings, false, edge, ""), rgb(c.red, c.green, c.blue))
                << scale->id << " " << edge;
            if (band > 0) {
                const ScaleColour below = colourOf(*scale, band - 1);
                EXPECT_EQ(fixColour(settings, true, edge - 1, ""),
                          rgb(below.red, below.green, below.blue))
                    << scale->id << " " << edge - 1;
            }
        }
    }
    settings.agencies.scale = "saffir-simpson";
    EXPECT_EQ(fixColour(settings, false, 64, ""), wendrelColour(64, true));
    EXPECT_EQ(fixColour(settings, true, 20, "SD"), tcvColour(20, "SD"));
}
