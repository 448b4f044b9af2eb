// The agencies' intensity scales as data: wind bands in knots with a short
// code, English and Chinese names, and colours for the dark map. The
// Saffir-Simpson scale holds the bands and the three colour tables the
// program has always drawn with; the CMA and JMA scales are their agencies'
// own classes. A scale's band edges are winds of its own averaging period
// (see wind_averaging.h for converting others' winds first).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "track/wind_averaging.h"

namespace tcmap {

struct ScaleColour {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    friend bool operator==(const ScaleColour&, const ScaleColour&) = default;
};

struct IntensityBand {
    int32_t lowerKt = 0;  // a wind of at least this, and below the next band's
    std::string_view code;
    std::string_view english;
    std::string_view chinese;
};

// One colour per band, and the colour of a wind below the first band.
struct ScalePalette {
    std::string_view id;
    ScaleColour below;
    std::vector<ScaleColour> bands;
    // Colours of the first bands for the system types "EX", "SD" and "SS"
    // (exact codes), which the TCV style sets apart; empty where the palette
    // does not.
    std::vector<ScaleColour> nonTropicalBands;
};

struct IntensityScale {
    std::string_view id;  // "saffir-simpson", "cma", "jma"
    std::string_view english;
    std::string_view chinese;
    WindAveraging averaging = WindAveraging::OneMinute;  // of the band edges
    std::vector<IntensityBand> bands;                    // weakest first
    std::vector<ScalePalette> palettes;                  // the first is the default

    // 1 for the first band up to the number of bands; 0 below the first.
    int bandOf(int32_t windKt) const;
    // The colour of a wind in a palette (the default one when `palette` is
    // out of range); `typeCode` matters only where the palette sets the
    // non-tropical types apart.
    ScaleColour colourOf(int32_t windKt, std::string_view typeCode = {}, size_t palette = 0) const;
    // The palette of that id, or nullptr.
    const ScalePalette* paletteNamed(std::string_view paletteId) const;
};

// Saffir-Simpson as the program has always drawn it: TD from 1 kt, TS 34,
// categories 1 to 5 from 64, 83, 96, 113 and 137 kt (1-minute winds);
// palettes "2023" (the NewColor table), "classic" and "tcv".
const IntensityScale& saffirSimpsonScale();
// China's national standard GB/T 19201-2006 on 2-minute winds, in knots.
const IntensityScale& cmaScale();
// JMA's classes on 10-minute winds: TD, TS 34, STS 48, TY 64 (strong), very
// strong 85, violent 105 kt.
const IntensityScale& jmaScale();

// Every scale, Saffir-Simpson first.
std::span<const IntensityScale* const> intensityScales();
// The scale of an id ("saffir-simpson", "cma", "jma"; ASCII case ignored),
// or nullptr.
const IntensityScale* intensityScaleNamed(std::string_view id);

}  // namespace tcmap
