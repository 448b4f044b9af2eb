#include "render/layers/legend_layer.h"

#include <algorithm>
#include <array>
#include <span>
#include <string>
#include <string_view>

#include "base/text_rules.h"
#include "i18n/charset_conversion.h"
#include "i18n/language_pack.h"
#include "render/layers/colour_scales.h"
#include "render/layers/layer_log.h"

namespace tcmap {

namespace {

struct LegendRow {
    int32_t wind;
    std::string_view typeCode;  // TCV style only
    TextId textId;
};

constexpr std::array<LegendRow, 7> kWendrelRows = {{
    {1, "", TextId::LegendDepression},
    {34, "", TextId::LegendStorm},
    {64, "", TextId::LegendCategory1},
    {83, "", TextId::LegendCategory2},
    {96, "", TextId::LegendCategory3},
    {113, "", TextId::LegendCategory4},
    {137, "", TextId::LegendCategory5},
}};

constexpr std::array<LegendRow, 9> kTcvRows = {{
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

std::span<const LegendRow> legendRows(bool tcv) {
    if (tcv) return kTcvRows;
    return kWendrelRows;
}

// Font size and row pitch: a fortieth of the picture's shorter side.
double legendUnit(int32_t width, int32_t height) {
    return width > height ? height / 40.0 : width / 40.0;
}

constexpr std::string_view kBullet = "\xE2\x97\x8F ";  // "● "

}  // namespace

void drawLegendLayer(const LayerInput& input, Canvas& canvas, LayerLog& log) {
    LayerContext ctx(input, canvas, log);
    drawLegend(ctx, input.settings.legendCorner, input.settings.newColour);
}

void drawLegend(LayerContext& ctx, LegendCorner corner, bool newColour) {
    if (corner == LegendCorner::None) return;
    const std::string line = progressLine(ctx.lang.text(TextId::DrawingLegend));
    ctx.log.writeProgress(line, kProgressColour);
    ctx.log.updateInfoLine(line, true);

    const int32_t width = ctx.frame.outputWidth;
    const int32_t height = ctx.frame.outputHeight;
    const double unit = legendUnit(width, height);
    if (corner == LegendCorner::Automatic) corner = placeLegendAutomatically(ctx);

    ctx.font.create("Consolas", toSingle(unit), 0, CanvasUnit::World);
    // On the right, rows run right to left so each ends (bullet first) at the edge.
    const bool right = corner == LegendCorner::UpperRight || corner == LegendCorner::LowerRight;
    ctx.layout.create(right ? TextLayout::kRightToLeft : 0, 0);
    const float x = right ? static_cast<float>(width) : 0.0f;

    const std::span<const LegendRow> rows = legendRows(ctx.tcv);
    const bool bottom = corner == LegendCorner::LowerLeft || corner == LegendCorner::LowerRight;
    float y = bottom ? toSingle(0.99 * height - static_cast<double>(rows.size()) * unit) : 0.0f;
    for (const LegendRow& row : rows) {
        const uint32_t colour =
            ctx.tcv ? tcvColour(row.wind, row.typeCode) : wendrelColour(row.wind, newColour);
        ctx.brush.setSolid(toArgb(colour, 255));
        std::string text(kBullet);
        text += ctx.lang.text(row.textId);
        ctx.canvas.drawText(text, ctx.font, ctx.brush, RectF{x, y, 0, 0}, &ctx.layout);
        y = toSingle(y + unit);
    }
}

LegendCorner placeLegendAutomatically(const LayerContext& ctx) {
    const double width = ctx.frame.outputWidth;
    const double height = ctx.frame.outputHeight;
    const double unit = legendUnit(ctx.frame.outputWidth, ctx.frame.outputHeight);

    // The legend box, its width from the longest row text in code-page bytes.
    const std::span<const LegendRow> rows = legendRows(ctx.tcv);
    size_t maxLength = 0;
    for (const LegendRow& row : rows) {
        maxLength = std::max(maxLength, codePageLength(ctx.lang.text(row.textId)));
    }
    const double boxWidth = unit * (static_cast<double>(maxLength) + 3) * 0.6;
    const double boxHeight = 0.01 * height + static_cast<double>(rows.size()) * unit;

    bool topLeft = false, bottomLeft = false, topRight = false, bottomRight = false;
    const FixTable& fixes = ctx.fixes;
    for (size_t i = 0; i < fixes.size(); ++i) {
        const double x = ctx.frame.toOutputX(fixes.x[i]);
        const double y = ctx.frame.toOutputY(fixes.y[i]);
        if (x < -kEpsilon || y < -kEpsilon || x - width > kEpsilon || y - height > kEpsilon) {
            continue;  // outside the picture
        }
        const bool top = y - boxHeight <= kEpsilon;
        const bool low = y - (height - boxHeight) >= -kEpsilon;
        if (x - boxWidth <= kEpsilon) {
            topLeft = topLeft || top;
            bottomLeft = bottomLeft || low;
        }
        if (x - (width - boxWidth) >= -kEpsilon) {
            topRight = topRight || top;
            bottomRight = bottomRight || low;
        }
        if (topLeft && bottomLeft && topRight && bottomRight) return LegendCorner::LowerLeft;
    }
    if (!bottomLeft) return LegendCorner::LowerLeft;
    if (!topLeft) return LegendCorner::UpperLeft;
    if (!topRight) return LegendCorner::UpperRight;
    return LegendCorner::LowerRight;
}

}  // namespace tcmap
