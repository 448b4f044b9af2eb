#include "render/layers/colour_scales.h"

#include "render/canvas/canvas.h"

namespace tcmap {

namespace {

constexpr uint32_t kGrey = rgb(128, 128, 128);

// Index 0 is the colour below band 1; index n the colour of band n.
using Scale = std::array<uint32_t, 8>;

constexpr Scale kColourScale2023 = {
    kGrey,
    rgb(110, 193, 234),
    rgb(77, 255, 255),
    rgb(255, 255, 217),
    rgb(255, 217, 140),
    rgb(255, 158, 89),
    rgb(255, 115, 138),
    rgb(141, 117, 230),
};

constexpr Scale kColourScaleClassic = {
    kGrey,
    rgb(94, 186, 255),
    rgb(0, 250, 244),
    rgb(255, 255, 204),
    rgb(255, 231, 117),
    rgb(255, 193, 64),
    rgb(255, 143, 32),
    rgb(255, 96, 96),
};

constexpr Scale kTcvColourScale = {
    kGrey,          rgb(0, 136, 255),   rgb(0, 255, 0),   rgb(255, 255, 0), rgb(255, 128, 0),
    rgb(255, 0, 0), rgb(255, 168, 255), rgb(144, 0, 255),
};

// Bands 1 and 2 of subtropical and extratropical systems.
constexpr uint32_t kTcvNonTropicalBand1 = rgb(0, 0, 255);
constexpr uint32_t kTcvNonTropicalBand2 = rgb(0, 255, 255);

bool isNonTropicalCode(std::string_view typeCode) {
    return typeCode == "EX" || typeCode == "SD" || typeCode == "SS";
}

}  // namespace

int windBand(int32_t wind) {
    int band = 0;
    for (const int32_t limit : kWindBandLimits) {
        if (wind < limit) break;
        ++band;
    }
    return band;
}

uint32_t wendrelColour(int32_t wind, bool newColour) {
    const Scale& scale = newColour ? kColourScale2023 : kColourScaleClassic;
    return scale[static_cast<size_t>(windBand(wind))];
}

uint32_t tcvColour(int32_t wind, std::string_view typeCode) {
    const int band = windBand(wind);
    if (isNonTropicalCode(typeCode)) {
        if (band == 1) return kTcvNonTropicalBand1;
        if (band == 2) return kTcvNonTropicalBand2;
    }
    return kTcvColourScale[static_cast<size_t>(band)];
}

}  // namespace tcmap
