#include "render/layers/tcv_labels.h"

#include "base/text_rules.h"
#include "i18n/safe_format.h"
#include "render/layers/draw_status.h"
#include "render/layers/scale_colours.h"
#include "track/track_model.h"

namespace tcmap {

namespace {

constexpr Argb kWhite = toArgb(rgb(255, 255, 255));

// Forecast labels start at this hour; earlier points carry none.
constexpr int32_t kFirstLabelledHour = 12;

// Two characters of a time from a 0-based position; empty when the time is
// too short.
std::string_view timePart(std::string_view time, size_t position) {
    if (position >= time.size()) return {};
    return time.substr(position, 2);
}

bool isForecast(const FixTable& fixes, size_t i) {
    return fixes.kind[i] == static_cast<int32_t>(TrackFileKind::ForecastFile);
}

void createLabelFont(LayerContext& ctx) {
    ctx.font.create(kLabelFontFamily, toSingle(6.5 * ctx.settings.trackWidth), 0,
                    CanvasUnit::Pixel);
}

// The text at (x, y), x - W and x + W.
void drawThreeCopies(LayerContext& ctx, std::string_view text, double x, double y,
                     const TextLayout* layout) {
    for (const double shift : ctx.frame.projection().copies()) {
        ctx.canvas.drawText(text, ctx.font, ctx.brush,
                            RectF{toSingle(x + shift), toSingle(y), 0, 0}, layout);
    }
}

}  // namespace

std::string timeLabelText(std::string_view format, std::string_view time) {
    return safeFormat(format, {readInteger(timePart(time, 4)), readInteger(timePart(time, 6)),
                               readInteger(timePart(time, 8))});
}

std::string forecastLabelText(std::string_view format, std::string_view time, int32_t wind) {
    const int32_t hour = readInteger(time);
    if (hour < kFirstLabelledHour) return {};
    return safeFormat(format, {hour, wind});
}

void drawStartLabels(LayerContext& ctx, size_t i, double x, double y) {
    const double t = ctx.settings.trackWidth;
    ctx.brush.setSolid(kWhite);
    createLabelFont(ctx);
    const std::string& id = ctx.fixes.stormId[i];
    if (!id.empty()) drawThreeCopies(ctx, id, x + 2.5 * t, y - 8 * t, nullptr);
    const std::string text = ctx.yearInTimes
                                 ? datedTimeLabel(ctx.fixes.time[i])
                                 : timeLabelText(ctx.settings.timeFormat, ctx.fixes.time[i]);
    if (text.empty()) return;
    drawThreeCopies(ctx, text, x + 2.5 * t, y - 2 * t, nullptr);
    checkDrawStatus("4.0.0/Label", ctx.canvas, ctx.log);
}

void drawEndLabel(LayerContext& ctx, size_t i, double x, double y) {
    const double t = ctx.settings.trackWidth;
    ctx.brush.setSolid(kWhite);
    createLabelFont(ctx);
    const std::string& id = ctx.fixes.stormId[i];
    if (id.empty()) return;
    drawThreeCopies(ctx, id, x + 2.5 * t, y - 8 * t, nullptr);
    checkDrawStatus("4.1.0/Label", ctx.canvas, ctx.log);
}

void drawLastFixLabel(LayerContext& ctx, size_t i, double x, double y) {
    const double t = ctx.settings.trackWidth;
    const FixTable& fixes = ctx.fixes;
    ctx.layout.genericDefault();
    std::string text;
    double originY = y;
    if (isForecast(fixes, i)) {
        ctx.brush.setSolid(toArgb(fixColour(ctx.settings, true, fixes.wind[i], fixes.type[i])));
        ctx.layout.setLineAlignment(TextLayout::kAlignCentre);
        text = forecastLabelText(ctx.settings.forecastFormat, fixes.time[i], fixes.wind[i]);
    } else {
        ctx.brush.setSolid(kWhite);
        ctx.layout.setLineAlignment(TextLayout::kAlignNear);
        text = ctx.yearInTimes ? datedTimeLabel(fixes.time[i])
                               : timeLabelText(ctx.settings.timeFormat, fixes.time[i]);
        originY = y - 2 * t;
    }
    createLabelFont(ctx);
    if (text.empty()) return;
    drawThreeCopies(ctx, text, x + 2.5 * t, originY, &ctx.layout);
    checkDrawStatus("4.1.1/Label", ctx.canvas, ctx.log);
}

}  // namespace tcmap
