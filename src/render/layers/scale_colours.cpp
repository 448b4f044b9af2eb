#include "render/layers/scale_colours.h"

#include <array>
#include <span>

#include "base/compatibility.h"
#include "render/layers/colour_scales.h"
#include "track/intensity_scale.h"

namespace tcmap {

namespace {

constexpr std::array<ScaleLegendRow, 7> kWendrelRows = {{
    {1, "", TextId::LegendDepression},
    {34, "", TextId::LegendStorm},
    {64, "", TextId::LegendCategory1},
    {83, "", TextId::LegendCategory2},
    {96, "", TextId::LegendCategory3},
    {113, "", TextId::LegendCategory4},
    {137, "", TextId::LegendCategory5},
}};

constexpr std::array<ScaleLegendRow, 9> kTcvRows = {{
    {1, "", TextId::TcvLegendDepression},
    {34, "", TextId::TcvLegendStorm},
    {1, "SD", TextId::TcvLegendSubtropicalDepression},
    {34, "SS", TextId::TcvLegendSubtropicalStorm},
    {64, "", TextId::LegendCategory1},
    {83, "", TextId::LegendCategory2},
    {96, "", TextId::LegendCategory3},
    {113, "", TextId::LegendCategory4},
    {137, "", TextId::LegendCategory5},
}};

// The legend text of each band of the national scales, weakest first.
constexpr std::array<TextId, 6> kCmaTexts = {
    TextId::CmaLegendDepression, TextId::CmaLegendStorm,         TextId::CmaLegendSevereStorm,
    TextId::CmaLegendTyphoon,    TextId::CmaLegendSevereTyphoon, TextId::CmaLegendSuperTyphoon,
};
constexpr std::array<TextId, 6> kJmaTexts = {
    TextId::JmaLegendDepression,        TextId::JmaLegendStorm,
    TextId::JmaLegendSevereStorm,       TextId::JmaLegendTyphoon,
    TextId::JmaLegendVeryStrongTyphoon, TextId::JmaLegendViolentTyphoon,
};

bool isSaffirSimpson(const IntensityScale& scale) {
    return &scale == &saffirSimpsonScale();
}

}  // namespace

const IntensityScale& jobScale(const JobSettings& settings) {
    const IntensityScale* scale = intensityScaleNamed(settings.agencies.scale);
    return scale != nullptr ? *scale : saffirSimpsonScale();
}

uint32_t fixColour(const JobSettings& settings, bool tcv, int32_t wind, std::string_view typeCode) {
    const IntensityScale& scale = jobScale(settings);
    if (isSaffirSimpson(scale)) {
        return tcv ? tcvColour(wind, typeCode) : wendrelColour(wind, settings.newColour);
    }
    const ScaleColour c = scale.colourOf(wind, typeCode);
    return rgb(c.red, c.green, c.blue);
}

std::vector<ScaleLegendRow> scaleLegendRows(const JobSettings& settings, bool tcv) {
    const IntensityScale& scale = jobScale(settings);
    if (isSaffirSimpson(scale)) {
        if (tcv) return {kTcvRows.begin(), kTcvRows.end()};
        return {kWendrelRows.begin(), kWendrelRows.end()};
    }
    const std::span<const TextId> texts =
        scale.id == "cma" ? std::span<const TextId>(kCmaTexts) : std::span<const TextId>(kJmaTexts);
    std::vector<ScaleLegendRow> rows;
    for (size_t i = 0; i < scale.bands.size() && i < texts.size(); ++i) {
        rows.push_back({scale.bands[i].lowerKt, "", texts[i]});
    }
    return rows;
}

}  // namespace tcmap
