#include "track/intensity_scale.h"

#include <array>

#include "base/text_rules.h"
#include "track/archive_fields.h"

namespace tcmap {

namespace {

constexpr ScaleColour kGrey{128, 128, 128};

bool isNonTropicalCode(std::string_view typeCode) {
    return typeCode == "EX" || typeCode == "SD" || typeCode == "SS";
}

IntensityScale makeSaffirSimpson() {
    IntensityScale scale;
    scale.id = "saffir-simpson";
    scale.english = "Saffir-Simpson";
    scale.chinese = "萨菲尔-辛普森";
    scale.averaging = WindAveraging::OneMinute;
    scale.bands = {
        {1, "TD", "Tropical depression", "热带低压"},
        {34, "TS", "Tropical storm", "热带风暴"},
        {64, "C1", "Category 1", "一级"},
        {83, "C2", "Category 2", "二级"},
        {96, "C3", "Category 3", "三级"},
        {113, "C4", "Category 4", "四级"},
        {137, "C5", "Category 5", "五级"},
    };
    // The tables the fix markers, track lines and legend have always used.
    scale.palettes = {
        {"2023",
         kGrey,
         {{110, 193, 234},
          {77, 255, 255},
          {255, 255, 217},
          {255, 217, 140},
          {255, 158, 89},
          {255, 115, 138},
          {141, 117, 230}},
         {}},
        {"classic",
         kGrey,
         {{94, 186, 255},
          {0, 250, 244},
          {255, 255, 204},
          {255, 231, 117},
          {255, 193, 64},
          {255, 143, 32},
          {255, 96, 96}},
         {}},
        {"tcv",
         kGrey,
         {{0, 136, 255},
          {0, 255, 0},
          {255, 255, 0},
          {255, 128, 0},
          {255, 0, 0},
          {255, 168, 255},
          {144, 0, 255}},
         {{0, 0, 255}, {0, 255, 255}}},
    };
    return scale;
}

// GB/T 19201-2006 in m/s: TD 10.8-17.1, TS 17.2-24.4, STS 24.5-32.6, TY
// 32.7-41.4, STY 41.5-50.9, SuperTY 51.0 and above. In knots (× 1.943844)
// the edges are 20.99, 33.43, 47.62, 63.56, 80.67 and 99.14. A knot edge
// must put each wind a CMA file gives (whole m/s, which the reader rounds to
// the nearest knot) in the band of its m/s value: 10 and 11 m/s become 19 and
// 21 kt, 17 and 18 become 33 and 35, 24 and 25 become 47 and 49, 32 and 33
// become 62 and 64, 41 and 42 become 80 and 82, 50 and 51 become 97 and 99.
// Within those gaps each edge is the first whole knot at or above the m/s
// edge (21, 34, 48, 64, 81), except the last: 51 m/s is 99.14 kt and becomes
// 99, so Super typhoon begins at 99 kt (50.93 m/s, 0.07 m/s early).
IntensityScale makeCma() {
    IntensityScale scale;
    scale.id = "cma";
    scale.english = "CMA (GB/T 19201-2006)";
    scale.chinese = "中国气象局（GB/T 19201-2006）";
    scale.averaging = WindAveraging::TwoMinute;
    scale.bands = {
        {21, "TD", "Tropical depression", "热带低压"},
        {34, "TS", "Tropical storm", "热带风暴"},
        {48, "STS", "Severe tropical storm", "强热带风暴"},
        {64, "TY", "Typhoon", "台风"},
        {81, "STY", "Severe typhoon", "强台风"},
        {99, "SuperTY", "Super typhoon", "超强台风"},
    };
    // The colour order of Chinese typhoon maps (green, blue, yellow, orange,
    // pink, red), lightened where needed to stand out on the dark sea.
    scale.palettes = {{"cma",
                       kGrey,
                       {{96, 208, 96},
                        {64, 168, 255},
                        {255, 226, 64},
                        {255, 150, 40},
                        {255, 96, 200},
                        {255, 64, 64}},
                       {}}};
    return scale;
}

IntensityScale makeJma() {
    IntensityScale scale;
    scale.id = "jma";
    scale.english = "JMA";
    scale.chinese = "日本气象厅";
    scale.averaging = WindAveraging::TenMinute;
    scale.bands = {
        {1, "TD", "Tropical depression", "热带低压"},
        {34, "TS", "Tropical storm", "热带风暴"},
        {48, "STS", "Severe tropical storm", "强热带风暴"},
        {64, "TY", "Typhoon (strong)", "台风（强）"},
        {85, "VSTY", "Typhoon (very strong)", "台风（非常强）"},
        {105, "VTY", "Typhoon (violent)", "台风（猛烈）"},
    };
    scale.palettes = {{"jma",
                       kGrey,
                       {{120, 200, 255},
                        {96, 232, 168},
                        {255, 236, 96},
                        {255, 160, 64},
                        {255, 88, 88},
                        {216, 120, 255}},
                       {}}};
    return scale;
}

}  // namespace

int IntensityScale::bandOf(int32_t windKt) const {
    int band = 0;
    for (const IntensityBand& b : bands) {
        if (windKt < b.lowerKt) break;
        ++band;
    }
    return band;
}

ScaleColour IntensityScale::colourOf(int32_t windKt, std::string_view typeCode,
                                     size_t palette) const {
    if (palettes.empty()) return kGrey;
    const ScalePalette& p = palettes[palette < palettes.size() ? palette : 0];
    const int band = bandOf(windKt);
    if (band == 0) return p.below;
    const size_t index = static_cast<size_t>(band - 1);
    if (isNonTropicalCode(typeCode) && index < p.nonTropicalBands.size()) {
        return p.nonTropicalBands[index];
    }
    return index < p.bands.size() ? p.bands[index] : p.below;
}

const ScalePalette* IntensityScale::paletteNamed(std::string_view paletteId) const {
    for (const ScalePalette& p : palettes) {
        if (equalsIgnoringCase(p.id, trimView(paletteId))) return &p;
    }
    return nullptr;
}

const IntensityScale& saffirSimpsonScale() {
    static const IntensityScale scale = makeSaffirSimpson();
    return scale;
}

const IntensityScale& cmaScale() {
    static const IntensityScale scale = makeCma();
    return scale;
}

const IntensityScale& jmaScale() {
    static const IntensityScale scale = makeJma();
    return scale;
}

std::span<const IntensityScale* const> intensityScales() {
    static const std::array<const IntensityScale*, 3> all{&saffirSimpsonScale(), &cmaScale(),
                                                          &jmaScale()};
    return all;
}

const IntensityScale* intensityScaleNamed(std::string_view id) {
    for (const IntensityScale* scale : intensityScales()) {
        if (equalsIgnoringCase(scale->id, trimView(id))) return scale;
    }
    return nullptr;
}

}  // namespace tcmap
