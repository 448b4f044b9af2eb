// The Saffir-Simpson scale held as data in track/ gives, for every wind and
// type code, the band and colours the drawing has always used.
#include <gtest/gtest.h>

#include <limits>
#include <string_view>

#include "render/canvas/canvas.h"
#include "render/layers/colour_scales.h"
#include "track/intensity_scale.h"

using namespace tcmap;

namespace {

uint32_t programColour(ScaleColour colour) {
    return rgb(colour.red, colour.green, colour.blue);
}

}  // namespace

TEST(SaffirSimpsonScale, SameBandsAndColoursAsTheColourScales) {
    const IntensityScale& scale = saffirSimpsonScale();
    const size_t p2023 = 0, classic = 1, tcv = 2;
    ASSERT_EQ(scale.paletteNamed("2023"), &scale.palettes[p2023]);
    ASSERT_EQ(scale.paletteNamed("classic"), &scale.palettes[classic]);
    ASSERT_EQ(scale.paletteNamed("tcv"), &scale.palettes[tcv]);
    int compared = 0;
    for (int32_t wind = -10; wind <= 400; ++wind) {
        EXPECT_EQ(scale.bandOf(wind), windBand(wind)) << wind;
        EXPECT_EQ(programColour(scale.colourOf(wind, "", p2023)), wendrelColour(wind, true));
        EXPECT_EQ(programColour(scale.colourOf(wind, "", classic)), wendrelColour(wind, false));
        for (const std::string_view code : {"", "EX", "SD", "SS", "ss", "TY", "XX", "HU"}) {
            EXPECT_EQ(programColour(scale.colourOf(wind, code, tcv)), tcvColour(wind, code))
                << wind << " " << code;
            ++compared;
        }
    }
    for (const int32_t wind :
         {std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()}) {
        EXPECT_EQ(scale.bandOf(wind), windBand(wind));
        EXPECT_EQ(programColour(scale.colourOf(wind, "EX", tcv)), tcvColour(wind, "EX"));
    }
    EXPECT_EQ(compared, 411 * 8);
}
