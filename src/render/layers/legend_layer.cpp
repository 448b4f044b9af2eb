#include "render/layers/legend_layer.h"

#include <algorithm>
#include <array>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/text_rules.h"
#include "i18n/charset_conversion.h"
#include "i18n/language_pack.h"
#include "i18n/safe_format.h"
#include "render/layers/layer_log.h"
#include "render/layers/legend_contrast.h"
#include "render/layers/scale_colours.h"

namespace tcmap {

namespace {

// The legend's rows on the job's scale, and a last line without a bullet
// when the winds were converted before they were coloured.
struct LegendRows {
    std::vector<ScaleLegendRow> rows;
    std::string note;
    size_t count() const { return rows.size() + (note.empty() ? 0 : 1); }
};

LegendRows legendRows(const JobSettings& settings, bool tcv, const AgencyScene* agencies,
                      const LanguagePack& lang) {
    LegendRows rows{scaleLegendRows(settings, tcv), {}};
    if (agencies != nullptr && !agencies->windsConvertedTo.empty()) {
        rows.note = safeFormat(lang.text(TextId::WindsConverted), {agencies->windsConvertedTo});
    }
    return rows;
}

// Font size and row pitch: a fortieth of the picture's shorter side.
double legendUnit(int32_t width, int32_t height) {
    return width > height ? height / 40.0 : width / 40.0;
}

constexpr std::string_view kBullet = "\xE2\x97\x8F ";  // "● "
// The converted-winds line: light grey, apart from the scale's colours.
constexpr uint32_t kNoteColour = rgb(220, 220, 220);

// The legend's extent as the automatic placement has always reckoned it: the
// longest row text in code-page bytes, 0.6 unit each, and a unit per row.
struct LegendBox {
    double unit = 0;
    double width = 0;
    double rows = 0;
};

LegendBox legendBox(const OutputGeometry& frame, const LegendRows& rows, const LanguagePack& lang) {
    const double unit = legendUnit(frame.outputWidth, frame.outputHeight);
    size_t maxLength = codePageLength(rows.note);
    for (const ScaleLegendRow& row : rows.rows) {
        maxLength = std::max(maxLength, codePageLength(lang.text(row.textId)));
    }
    return {unit, unit * (static_cast<double>(maxLength) + 3) * 0.6,
            static_cast<double>(rows.count())};
}

LegendCorner placeLegend(const OutputGeometry& frame, const FixTable& fixes, const LegendRows& rows,
                         const LanguagePack& lang);

// A backing under a row whose colour is too close to the map's there.
void backRow(Canvas& canvas, const Picture& background, std::string_view text, uint32_t colour,
             double unit, double x, double y, bool right, bool proportional) {
    // A proportional font sets Latin text in about 0.5 em a letter.
    const double rowWidth = estimatedTextWidth(text, unit) * (proportional ? 0.85 : 1.0) + unit / 2;
    const TextBox box{right ? x - rowWidth : x, y, rowWidth, unit};
    const std::optional<uint32_t> under = meanColour(background, box);
    if (!under) return;
    const std::optional<Argb> backing = legendBacking(toArgb(colour, 0), *under);
    if (!backing) return;
    CanvasBrush brush;
    brush.setSolid(*backing);
    canvas.fillRectangle(brush, toSingle(box.x), toSingle(box.y), toSingle(box.width),
                         toSingle(box.height));
}

}  // namespace

void drawLegendLayer(const LayerInput& input, Canvas& canvas, LayerLog& log) {
    LayerContext ctx(input, canvas, log);
    const bool contrast = input.settings.annotations.legendContrast;
    drawLegend(ctx, input.settings.legendCorner, input.settings.newColour,
               contrast ? input.background : nullptr);
}

void drawLegend(LayerContext& ctx, LegendCorner corner, bool newColour, const Picture* background) {
    if (corner == LegendCorner::None) return;
    const std::string line = progressLine(ctx.lang.text(TextId::DrawingLegend));
    ctx.log.writeProgress(line, kProgressColour);
    ctx.log.updateInfoLine(line, true);

    const int32_t width = ctx.frame.outputWidth;
    const int32_t height = ctx.frame.outputHeight;
    const double unit = legendUnit(width, height);
    if (corner == LegendCorner::Automatic) corner = placeLegendAutomatically(ctx);

    const bool proportional = ctx.settings.annotations.proportionalLegend;
    ctx.font.create(proportional ? kAnnotationFont : "Consolas", toSingle(unit), 0,
                    CanvasUnit::World);
    // On the right, rows run right to left so each ends (bullet first) at the edge.
    const bool right = corner == LegendCorner::UpperRight || corner == LegendCorner::LowerRight;
    ctx.layout.create(right ? TextLayout::kRightToLeft : 0, 0);
    const float x = right ? static_cast<float>(width) : 0.0f;

    JobSettings settings = ctx.settings;
    settings.newColour = newColour;
    const LegendRows rows = legendRows(settings, ctx.tcv, ctx.agencies, ctx.lang);
    const bool bottom = corner == LegendCorner::LowerLeft || corner == LegendCorner::LowerRight;
    float y = bottom ? toSingle(0.99 * height - static_cast<double>(rows.count()) * unit) : 0.0f;
    const auto drawRow = [&](const std::string& text, uint32_t colour) {
        ctx.brush.setSolid(toArgb(colour, 255));
        if (background != nullptr) {
            backRow(ctx.canvas, *background, text, colour, unit, x, y, right, proportional);
        }
        ctx.canvas.drawText(text, ctx.font, ctx.brush, RectF{x, y, 0, 0}, &ctx.layout);
        y = toSingle(y + unit);
    };
    for (const ScaleLegendRow& row : rows.rows) {
        drawRow(std::string(kBullet) + ctx.lang.text(row.textId),
                fixColour(settings, ctx.tcv, row.wind, row.typeCode));
    }
    if (!rows.note.empty()) drawRow(rows.note, kNoteColour);
}

LegendCorner placeLegendAutomatically(const LayerContext& ctx) {
    return placeLegend(ctx.frame, ctx.fixes,
                       legendRows(ctx.settings, ctx.tcv, ctx.agencies, ctx.lang), ctx.lang);
}

LegendCorner jobLegendCorner(const LayerInput& input) {
    const LegendCorner corner = input.settings.legendCorner;
    if (corner != LegendCorner::Automatic) return corner;
    return placeLegend(input.frame, input.fixes,
                       legendRows(input.settings, input.tcv, input.agencies, input.lang),
                       input.lang);
}

std::optional<TextBox> legendArea(const LayerInput& input) {
    const LegendCorner corner = jobLegendCorner(input);
    if (corner == LegendCorner::None) return std::nullopt;
    const double width = input.frame.outputWidth;
    const double height = input.frame.outputHeight;
    const LegendBox box = legendBox(
        input.frame, legendRows(input.settings, input.tcv, input.agencies, input.lang), input.lang);
    const double rowsHeight = box.rows * box.unit + 0.25 * box.unit;
    const bool right = corner == LegendCorner::UpperRight || corner == LegendCorner::LowerRight;
    const bool bottom = corner == LegendCorner::LowerLeft || corner == LegendCorner::LowerRight;
    return TextBox{right ? width - box.width : 0.0,
                   bottom ? 0.99 * height - box.rows * box.unit : 0.0, box.width, rowsHeight};
}

namespace {

LegendCorner placeLegend(const OutputGeometry& frame, const FixTable& fixes, const LegendRows& rows,
                         const LanguagePack& lang) {
    const double width = frame.outputWidth;
    const double height = frame.outputHeight;
    const LegendBox box = legendBox(frame, rows, lang);
    const double boxWidth = box.width;
    const double boxHeight = 0.01 * height + box.rows * box.unit;

    bool topLeft = false, bottomLeft = false, topRight = false, bottomRight = false;
    for (size_t i = 0; i < fixes.size(); ++i) {
        const double x = frame.toOutputX(fixes.x[i]);
        const double y = frame.toOutputY(fixes.y[i]);
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

}  // namespace

}  // namespace tcmap
