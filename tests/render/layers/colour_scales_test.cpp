#include "render/layers/colour_scales.h"

#include <gtest/gtest.h>

#include <array>
#include <limits>

#include "render/canvas/canvas.h"

using namespace tcmap;

namespace {

constexpr uint32_t kGrey = rgb(128, 128, 128);

// Colours of bands 1..7, checked at each band's lowest and highest wind.
void expectScale(uint32_t (*colour)(int32_t), const std::array<uint32_t, 7>& bands) {
    const std::array<int32_t, 8> limits = {1, 34, 64, 83, 96, 113, 137, 1000};
    for (size_t band = 0; band < bands.size(); ++band) {
        EXPECT_EQ(colour(limits[band]), bands[band]) << "lowest wind of band " << band + 1;
        EXPECT_EQ(colour(limits[band + 1] - 1), bands[band]) << "highest wind of band " << band + 1;
    }
    EXPECT_EQ(colour(std::numeric_limits<int32_t>::max()), bands[6]);
    EXPECT_EQ(colour(0), kGrey);
    EXPECT_EQ(colour(-5), kGrey);
    EXPECT_EQ(colour(std::numeric_limits<int32_t>::min()), kGrey);
}

struct TcvRow {
    int32_t wind;
    const char* code;
    uint32_t colour;
};

void expectTcvColours(std::initializer_list<TcvRow> rows) {
    for (const TcvRow& row : rows) {
        EXPECT_EQ(tcvColour(row.wind, row.code), row.colour) << row.code << " " << row.wind;
    }
}

}  // namespace

TEST(ColourScales, Scale2023) {
    expectScale([](int32_t wind) { return wendrelColour(wind, true); },
                {rgb(110, 193, 234), rgb(77, 255, 255), rgb(255, 255, 217), rgb(255, 217, 140),
                 rgb(255, 158, 89), rgb(255, 115, 138), rgb(141, 117, 230)});
}

TEST(ColourScales, ClassicScale) {
    expectScale([](int32_t wind) { return wendrelColour(wind, false); },
                {rgb(94, 186, 255), rgb(0, 250, 244), rgb(255, 255, 204), rgb(255, 231, 117),
                 rgb(255, 193, 64), rgb(255, 143, 32), rgb(255, 96, 96)});
}

TEST(ColourScales, TcvScaleForOrdinaryCodes) {
    const std::array<uint32_t, 7> bands = {rgb(0, 136, 255), rgb(0, 255, 0), rgb(255, 255, 0),
                                           rgb(255, 128, 0), rgb(255, 0, 0), rgb(255, 168, 255),
                                           rgb(144, 0, 255)};
    expectScale([](int32_t wind) { return tcvColour(wind, "TS"); }, bands);
    expectScale([](int32_t wind) { return tcvColour(wind, ""); }, bands);
}

TEST(ColourScales, TcvNonTropicalCodesRecolourOnlyTheTwoWeakestBands) {
    for (const char* code : {"EX", "SD", "SS"}) {
        const struct {
            int32_t wind;
            uint32_t colour;
        } rows[] = {
            {1, rgb(0, 0, 255)},
            {33, rgb(0, 0, 255)},
            {34, rgb(0, 255, 255)},
            {63, rgb(0, 255, 255)},
            {64, rgb(255, 255, 0)},
            {140, rgb(144, 0, 255)},
            {0, kGrey},
            {-20, kGrey},
        };
        for (const auto& row : rows)
            EXPECT_EQ(tcvColour(row.wind, code), row.colour) << code << " " << row.wind;
    }
    expectTcvColours({{20, "SS", rgb(0, 0, 255)}, {70, "SS", rgb(255, 255, 0)}});
}

TEST(ColourScales, TcvCodesAreExactAndCaseSensitive) {
    expectTcvColours({
        {50, "ss", rgb(0, 255, 0)},
        {50, "Ex", rgb(0, 255, 0)},
        {50, "SS ", rgb(0, 255, 0)},
        {50, "S", rgb(0, 255, 0)},
        {20, "LO", rgb(0, 136, 255)},
        {50, "SS", rgb(0, 255, 255)},
    });
}
