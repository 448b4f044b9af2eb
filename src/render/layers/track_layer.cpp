#include "render/layers/track_layer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "base/compatibility.h"
#include "base/text_rules.h"
#include "i18n/language_pack.h"
#include "render/layers/draw_status.h"
#include "render/layers/fix_marker.h"
#include "render/layers/layer_log.h"
#include "render/layers/scale_colours.h"
#include "render/layers/tcv_labels.h"
#include "track/track_model.h"

namespace tcmap {

namespace {

constexpr Argb kWhite = toArgb(rgb(255, 255, 255));
constexpr Argb kMidnightDot = toArgb(rgb(236, 236, 236));

// From this many fixes on, sorting by wind gets a warning line first.
constexpr size_t kSortWarningFixes = 10000;
// Without AllPoints, midnight dots appear only on maps at least this wide.
constexpr int32_t kMidnightDotMapWidth = 4000;
// Forecast circles start at this hour.
constexpr int32_t kFirstCircledHour = 12;

// Fixes the loop can read: the shortest of the lists it uses, so a table
// built wrongly is never read past its end.
size_t loopCount(const FixTable& f) {
    return std::min({f.x.size(), f.y.size(), f.type.size(), f.time.size(), f.stormId.size(),
                     f.kind.size(), f.wind.size(), f.continues.size()});
}

bool isForecast(const FixTable& fixes, size_t i) {
    return fixes.kind[i] == static_cast<int32_t>(TrackFileKind::ForecastFile);
}

// Forecast segments: dashes and gaps of three pen widths.
constexpr std::array<float, 2> kForecastDash = {3.0f, 3.0f};

// The dash pattern is copied into the pen's own list, whose storage is kept
// from fix to fix (a solid pen only empties it).
void setDash(CanvasPen& pen, std::span<const float> pattern) {
    pen.dashPattern.assign(pattern.begin(), pattern.end());
}

// A row of a storm drawn by several agencies takes its agency's line: its
// dash pattern, and in the Wendrel style (white lines) its colour.
void applyAgencyStyle(LayerContext& ctx, size_t i) {
    if (ctx.agencies == nullptr || ctx.agencies->rowStyle.empty()) return;
    const int style = ctx.agencies->styleOfRow(i);
    if (style < 0) {
        if (!ctx.tcv) ctx.pen.setColour(kWhite);
        return;
    }
    const AgencyStyle& look = ctx.agencies->styles[static_cast<size_t>(style)];
    if (!ctx.tcv) ctx.pen.setColour(toArgb(look.colour));
    if (!isForecast(ctx.fixes, i)) setDash(ctx.pen, look.dashes);
}

void line(LayerContext& ctx, double x1, double y1, double x2, double y2) {
    ctx.canvas.drawLine(ctx.pen, toSingle(x1), toSingle(y1), toSingle(x2), toSingle(y2));
}

// The segment from fix i (output position a) to fix i + 1 (b); dx is their
// distance on the map picture. A segment that crosses the 0° seam is drawn as
// two pieces, one at each edge, never as a line across the whole map.
void drawSegment(LayerContext& ctx, bool wrap, double dx, double ax, double ay, double bx,
                 double by) {
    const Projection map = ctx.frame.projection();
    const double w = map.width();
    const double halfWidth = map.halfWidth();
    if (wrap) {
        if (dx > halfWidth + kEpsilon) {  // westwards across the seam
            line(ctx, ax + w, ay, bx, by);
            line(ctx, ax, ay, bx - w, by);
            checkDrawStatus("1.0.2/Line", ctx.canvas, ctx.log);
        } else if (-dx > halfWidth + kEpsilon) {  // eastwards
            line(ctx, ax, ay, bx + w, by);
            line(ctx, ax - w, ay, bx, by);
            checkDrawStatus("1.0.3/Line", ctx.canvas, ctx.log);
        }
        // Exactly half a map apart: the direction is unknown, nothing is drawn.
        return;
    }
    line(ctx, ax, ay, bx, by);
    line(ctx, ax - w, ay, bx - w, by);
    line(ctx, ax + w, ay, bx + w, by);
    checkDrawStatus("1.0.1/Line", ctx.canvas, ctx.log);
}

// Per-track state of the TCV points.
struct TcvState {
    bool trackTropical = false;     // the current track had a tropical fix
    bool previousTropical = false;  // trop of the previous fix
};

void drawTcvCircle(LayerContext& ctx, size_t i, double x, double y) {
    const FixTable& fixes = ctx.fixes;
    const double t = ctx.settings.trackWidth;
    ctx.pen.setColour(isForecast(fixes, i)
                          ? toArgb(fixColour(ctx.settings, true, fixes.wind[i], fixes.type[i]))
                          : kWhite);
    ctx.pen.setWidth(toSingle(t * 0.75));
    for (const double shift : ctx.frame.projection().copies()) {
        ctx.canvas.drawEllipse(ctx.pen, toSingle(x - 2 * t + shift), toSingle(y - 2 * t),
                               toSingle(4 * t), toSingle(4 * t));
    }
    checkDrawStatus("3.0.0/Point", ctx.canvas, ctx.log);
}

// The dot of a tropical best-track fix: larger at 00 UTC, drawn at every fix
// only with AllPoints.
void drawTcvDot(LayerContext& ctx, size_t i, double x, double y) {
    const FixTable& fixes = ctx.fixes;
    const double t = ctx.settings.trackWidth;
    const bool allPoints = ctx.settings.allPoints;
    Argb colour = toArgb(fixColour(ctx.settings, true, fixes.wind[i], fixes.type[i]));
    double diameter = 0;
    std::string_view tag;
    if (lastChars(fixes.time[i], 4) == "0000") {
        tag = "3.1.0/Point";
        if (allPoints) {
            diameter = 3 * t;
        } else if (ctx.frame.mapWidth >= kMidnightDotMapWidth) {
            diameter = 2.5 * t;
            colour = kMidnightDot;
        }
    } else if (isSynopticTime(fixes.time[i])) {
        tag = "3.1.2/Point";
        if (allPoints) diameter = 2.5 * t;
    } else {
        tag = "3.1.1/Point";
        if (allPoints) diameter = 2 * t;
    }
    if (diameter == 0) return;
    ctx.brush.setSolid(colour);
    const float size = toSingle(diameter);
    for (const double shift : ctx.frame.projection().copies()) {
        ctx.canvas.fillEllipse(ctx.brush, toSingle(x - diameter / 2 + shift),
                               toSingle(y - diameter / 2), size, size);
    }
    checkDrawStatus(tag, ctx.canvas, ctx.log);
}

void drawTcvCross(LayerContext& ctx, size_t i, double x, double y) {
    const FixTable& fixes = ctx.fixes;
    const double t = ctx.settings.trackWidth;
    const double arm = 1.25 * t;
    ctx.pen.setColour(toArgb(fixColour(ctx.settings, true, fixes.wind[i], fixes.type[i])));
    ctx.pen.setWidth(toSingle(t));
    for (const double shift : ctx.frame.projection().copies()) {
        line(ctx, x - arm + shift, y - arm, x + arm + shift, y + arm);
        line(ctx, x + arm + shift, y - arm, x - arm + shift, y + arm);
    }
    checkDrawStatus("3.2.0/Line", ctx.canvas, ctx.log);
}

// Circles, dots, crosses and labels of fix i in the TCV style; `trop` is
// whether the fix is in the tropical part of its track.
void drawTcvPoints(LayerContext& ctx, size_t i, bool trop, TcvState& state, double x, double y) {
    const FixTable& fixes = ctx.fixes;
    const bool forecast = isForecast(fixes, i);
    const bool showText = ctx.settings.showText;
    bool hasTimeLabel = false;

    // Where a track becomes tropical, and at forecast points.
    const bool startsTropical =
        trop && ((i > 0 && fixes.continues[i - 1] == 0) || !state.previousTropical);
    if (forecast || startsTropical) {
        if (!forecast || readInteger(fixes.time[i]) >= kFirstCircledHour) {
            drawTcvCircle(ctx, i, x, y);
        }
        if (showText && !forecast) {
            drawStartLabels(ctx, i, x, y);
            hasTimeLabel = true;
        }
    }

    if (fixes.continues[i] == 1 && !forecast && trop) drawTcvDot(ctx, i, x, y);
    state.previousTropical = trop;

    if (fixes.continues[i] == 0) {
        if (!forecast) {
            drawTcvCross(ctx, i, x, y);
            if (showText && !state.trackTropical) drawEndLabel(ctx, i, x, y);
        }
        state.trackTropical = false;
    }

    if (showText && !hasTimeLabel && (fixes.continues[i] == 0 || forecast)) {
        drawLastFixLabel(ctx, i, x, y);
    }
}

}  // namespace

void prepareTrackPen(CanvasPen& pen, double trackWidth, int32_t mapWidth) {
    pen.create(kWhite, toSingle(trackWidth * mapWidth / 360), CanvasUnit::Pixel);
    pen.setCaps(cap::kRound, cap::kRound, cap::kRound);
}

double pointSizeInPixels(double pointSetting, int32_t mapWidth) {
    return pointSetting * mapWidth / 360;
}

void drawFixLoop(LayerContext& ctx, double pointSize) {
    const FixTable& fixes = ctx.fixes;
    const size_t n = loopCount(fixes);
    const double t = ctx.settings.trackWidth;
    const bool markersNow = !ctx.tcv && ctx.settings.markerOrder == MarkerOrder::WithTracks;
    const double wrapDistance = ctx.frame.projection().halfWidth() - kEpsilon;
    TcvState state;

    // Each time is read once: the next fix's time becomes the current one.
    int64_t nextTime = n > 0 ? readInteger64(fixes.time[0]) : 0;
    for (size_t i = 0; i < n; ++i) {
        const int64_t time = nextTime;
        const bool hasNext = i + 1 < n;
        if (hasNext) nextTime = readInteger64(fixes.time[i + 1]);

        bool trop = false;
        if (ctx.tcv) {
            trop = isTropicalPart(fixes.wind[i], fixes.type[i], true);
            if (trop) state.trackTropical = true;
            ctx.pen.setColour(toArgb(fixColour(ctx.settings, true, fixes.wind[i], fixes.type[i])));
            ctx.pen.setWidth(toSingle(trop ? t : t * 0.5));
        }

        const bool joined = fixes.continues[i] == 1 && hasNext;
        const double dx = hasNext ? fixes.x[i + 1] - fixes.x[i] : 0.0;
        const bool wrap = joined && std::abs(dx) >= wrapDistance;
        if (isForecast(fixes, i)) setDash(ctx.pen, kForecastDash);
        applyAgencyStyle(ctx, i);

        const double x = ctx.frame.toOutputX(fixes.x[i]);
        const double y = ctx.frame.toOutputY(fixes.y[i]);
        if (joined && nextTime > time) {
            drawSegment(ctx, wrap, dx, x, y, ctx.frame.toOutputX(fixes.x[i + 1]),
                        ctx.frame.toOutputY(fixes.y[i + 1]));
        }
        ctx.pen.setDashStyle(0);

        if (markersNow && i < fixes.seq.size()) drawFixMarker(ctx, fixes.seq[i], pointSize);
        if (ctx.tcv) drawTcvPoints(ctx, i, trop, state, x, y);
    }
}

void drawMarkerPass(LayerContext& ctx, double pointSize) {
    const MarkerOrder order = ctx.settings.markerOrder;
    if (ctx.tcv || (order != MarkerOrder::OnTop && order != MarkerOrder::ByIntensity)) return;
    const FixTable& fixes = ctx.fixes;
    std::vector<int64_t> seq = fixes.seq;
    if (order == MarkerOrder::ByIntensity) {
        if (fixes.size() >= kSortWarningFixes) {
            const std::string warning = ctx.lang.text(TextId::ManyFixesToSort);
            ctx.log.writeProgress(warning, kWarningColour);
            ctx.log.updateInfoLine(warning, true);
        }
        sortByWind(fixes.wind, seq);
    }
    for (const int64_t index : seq) drawFixMarker(ctx, index, pointSize);
}

void drawTrackLayer(const LayerInput& input, Canvas& canvas, LayerLog& log) {
    LayerContext ctx(input, canvas, log);
    const int32_t w = input.frame.mapWidth;
    prepareTrackPen(ctx.pen, input.settings.trackWidth, w);
    const std::string line = progressLine(input.lang.text(TextId::DrawingTracks));
    log.writeProgress(line, kProgressColour);
    log.updateInfoLine(line, true);
    drawFixLoop(ctx, pointSizeInPixels(input.settings.pointSize, w));
}

void drawMarkerLayer(const LayerInput& input, Canvas& canvas, LayerLog& log) {
    LayerContext ctx(input, canvas, log);
    drawMarkerPass(ctx, pointSizeInPixels(input.settings.pointSize, input.frame.mapWidth));
}

}  // namespace tcmap
