#include "render/layers/spaghetti_layer.h"

#include <algorithm>
#include <cmath>

#include "base/compatibility.h"
#include "render/layers/draw_status.h"
#include "track/forecast_aids.h"

namespace tcmap {

namespace {

constexpr int kTickHours = 24;

Argb argbOf(uint32_t colour, uint32_t alpha) {
    return toArgb(colour, alpha);
}

// Map-picture x of each point, unwrapped so that no step is longer than half
// the map: a forecast across 0° keeps going past the edge, and the copies one
// map width to either side draw the part beyond it.
std::vector<MapPoint> aidPixels(const AidTrack& aid, const Projection& map) {
    std::vector<MapPoint> points;
    points.reserve(aid.points.size());
    const double width = map.width();
    for (const AidPoint& p : aid.points) {
        double x = map.longitudeSpan(std::fmod(std::fmod(p.lon, 360.0) + 360.0, 360.0));
        if (!points.empty()) {
            const double previous = points.back().x;
            while (x - previous > width / 2) x -= width;
            while (previous - x > width / 2) x += width;
        }
        points.push_back({x, map.fixY(p.lat)});
    }
    return points;
}

CanvasPen aidPen(const AidLook& look, float width, uint32_t colour) {
    CanvasPen pen;
    pen.create(argbOf(colour, look.alpha), width, CanvasUnit::World);
    pen.setCaps(cap::kRound, cap::kRound, cap::kRound);
    pen.setLineJoin(join::kRound);
    if (look.dashed) pen.setDashPattern({3.0f, 2.0f});
    return pen;
}

void drawPolyline(Canvas& canvas, const OutputGeometry& frame, const std::vector<MapPoint>& points,
                  const CanvasPen& pen, double shift) {
    for (size_t i = 1; i < points.size(); ++i) {
        canvas.drawLine(pen, static_cast<float>(frame.toOutputX(points[i - 1].x + shift)),
                        static_cast<float>(frame.toOutputY(points[i - 1].y)),
                        static_cast<float>(frame.toOutputX(points[i].x + shift)),
                        static_cast<float>(frame.toOutputY(points[i].y)));
    }
}

void drawAid(const AidTrack& aid, const LayerInput& input, Canvas& canvas, LayerLog& log) {
    const Projection map = input.frame.projection();
    const std::vector<MapPoint> points = aidPixels(aid, map);
    const AidLook look = aidLook(aid.aid);
    const float width = aidLineWidth(look.weight);
    const CanvasPen line = aidPen(look, width, look.colour);
    CanvasPen outline;
    if (look.outlined) {
        outline = aidPen(look, width + 2.0f, look.outline);
        outline.setDashStyle(0);
    }
    CanvasBrush tick;
    tick.setSolid(argbOf(look.colour, look.alpha));
    CanvasFont font;
    font.create("Consolas", 9.0f, 0, CanvasUnit::World);
    const bool labelled = look.weight != AidLineWeight::Thin;
    for (const double shift : map.copies()) {
        if (outline.valid) drawPolyline(canvas, input.frame, points, outline, shift);
        drawPolyline(canvas, input.frame, points, line, shift);
        for (size_t i = 0; i < points.size(); ++i) {
            const int hour = aid.points[i].hour;
            // An aid of one position has no line: its dot stands for it.
            const bool alone = points.size() == 1;
            if (!alone && (hour <= 0 || hour % kTickHours != 0)) continue;
            const float x = static_cast<float>(input.frame.toOutputX(points[i].x + shift));
            const float y = static_cast<float>(input.frame.toOutputY(points[i].y));
            const float r = width + 1.5f;
            canvas.fillEllipse(tick, x - r, y - r, 2 * r, 2 * r);
            // Members stay unlabelled: thirty of them would bury the map.
            if (labelled && hour > 0) {
                canvas.drawText(std::to_string(hour), font, tick, RectF{x + r + 1, y - r - 9, 0, 0},
                                nullptr);
            }
        }
    }
    checkDrawStatus("forecast/aid " + aid.aid, canvas, log);
}

void drawLegend(const std::vector<AidLegendEntry>& entries, const LayerInput& input, Canvas& canvas,
                LayerLog& log) {
    if (entries.empty()) return;
    const float size = std::max(11.0f, std::min(canvas.width(), canvas.height()) / 90.0f);
    const float row = size * 1.6f;
    const float swatch = size * 2.2f;
    const float pad = size;
    // Too many aids for one column (a cycle may hold hundreds): more columns,
    // filled top to bottom.
    const float room = std::max(row, static_cast<float>(canvas.height()) - 2 * pad - size);
    const size_t perColumn = std::max<size_t>(1, static_cast<size_t>(room / row));
    const size_t columns = (entries.size() + perColumn - 1) / perColumn;
    const size_t rows = std::min(entries.size(), perColumn);
    size_t longest = 0;
    for (const AidLegendEntry& e : entries) longest = std::max(longest, e.label.size());
    // A monospace font: about 0.6 em a character.
    const float columnWidth = swatch + size * (1.2f + 0.62f * static_cast<float>(longest));
    const float boxWidth = columnWidth * static_cast<float>(columns);
    const float boxHeight = row * static_cast<float>(rows) + size * 0.6f;
    const RectF box = drawSideLegendBox(input, canvas, boxWidth, boxHeight, pad);
    const float left = box.x;
    const float top = box.y;
    CanvasFont font;
    font.create("Consolas", size, 0, CanvasUnit::World);
    CanvasBrush text;
    text.setSolid(0xFFFFFFFF);
    for (size_t i = 0; i < entries.size(); ++i) {
        const AidLook& look = entries[i].look;
        const float x0 = left + columnWidth * static_cast<float>(i / perColumn);
        const float y = top + size * 0.3f + row * static_cast<float>(i % perColumn) + row / 2;
        const float x1 = x0 + size * 0.4f;
        const float x2 = x1 + swatch - size * 0.6f;
        const float width = std::max(2.0f, aidLineWidth(look.weight));
        if (look.outlined) {
            CanvasPen outline = aidPen(look, width + 2.0f, look.outline);
            outline.setDashStyle(0);
            canvas.drawLine(outline, x1, y, x2, y);
        }
        // The swatch opaque: a translucent member colour would be hard to match.
        AidLook shown = look;
        shown.alpha = 255;
        canvas.drawLine(aidPen(shown, width, look.colour), x1, y, x2, y);
        canvas.drawText(entries[i].label, font, text,
                        RectF{x0 + swatch + size * 0.2f, y - size * 0.75f, 0, 0}, nullptr);
    }
    checkDrawStatus("forecast/aid legend", canvas, log);
}

}  // namespace

float aidLineWidth(AidLineWeight weight) {
    switch (weight) {
        case AidLineWeight::Thin:
            return 1.0f;
        case AidLineWeight::Normal:
            return 2.0f;
        case AidLineWeight::Thick:
            return 3.5f;
        case AidLineWeight::Thickest:
            return 5.0f;
    }
    return 2.0f;
}

RectF drawSideLegendBox(const LayerInput& input, Canvas& canvas, float width, float height,
                        float pad) {
    const LegendCorner corner = aidLegendCorner(input.settings.legendCorner);
    const bool right = corner == LegendCorner::UpperRight || corner == LegendCorner::LowerRight;
    const bool lower = corner == LegendCorner::LowerLeft || corner == LegendCorner::LowerRight;
    const RectF box{right ? canvas.width() - pad - width : pad,
                    lower ? canvas.height() - pad - height : pad, width, height};
    CanvasBrush back;
    back.setSolid(0xB0101010);
    canvas.fillRectangle(back, box.x, box.y, box.width, box.height);
    return box;
}

LegendCorner aidLegendCorner(LegendCorner colourLegend) {
    switch (colourLegend) {
        case LegendCorner::UpperRight:
            return LegendCorner::UpperLeft;
        case LegendCorner::LowerRight:
            return LegendCorner::LowerLeft;
        case LegendCorner::LowerLeft:
            return LegendCorner::LowerRight;
        default:
            return LegendCorner::UpperRight;
    }
}

std::vector<AidLegendEntry> aidLegendEntries(const std::vector<AidTrack>& aids) {
    std::vector<AidLegendEntry> entries;
    std::vector<std::string> ensembles;  // the source of each members' entry
    std::vector<std::pair<std::string, std::string>> memberRange;
    for (const AidTrack& aid : aids) {
        const AidInfo info = aidInfo(aid.aid);
        if (info.ensembleMember) {
            const auto it = std::find(ensembles.begin(), ensembles.end(), info.source);
            if (it != ensembles.end()) {
                const size_t i = static_cast<size_t>(it - ensembles.begin());
                memberRange[i].first = std::min(memberRange[i].first, aid.aid);
                memberRange[i].second = std::max(memberRange[i].second, aid.aid);
                continue;
            }
            ensembles.push_back(info.source);
            memberRange.emplace_back(aid.aid, aid.aid);
            entries.push_back({"\x01" + std::to_string(ensembles.size() - 1), aidLook(aid.aid)});
            continue;
        }
        entries.push_back({aid.aid, aidLook(aid.aid)});
    }
    // Members' entries name their range once it is known.
    for (AidLegendEntry& entry : entries) {
        if (entry.label.empty() || entry.label[0] != '\x01') continue;
        const auto& [first, last] = memberRange[std::stoul(entry.label.substr(1))];
        entry.label = first == last ? first : first + "-" + last;
    }
    return entries;
}

void drawSpaghettiLayer(const ForecastScene& scene, const LayerInput& input, Canvas& canvas,
                        LayerLog& log) {
    if (scene.aids.empty()) return;
    for (const AidTrack& aid : scene.aids) drawAid(aid, input, canvas, log);
    drawLegend(aidLegendEntries(scene.aids), input, canvas, log);
}

}  // namespace tcmap
