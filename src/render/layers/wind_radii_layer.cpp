#include "render/layers/wind_radii_layer.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "base/text_rules.h"
#include "render/canvas/canvas.h"
#include "render/canvas/stroke_bounds.h"

namespace tcmap {

namespace {

// Pen colour of a wind threshold (kt); odd thresholds such as 49 or 63 are grey.
uint32_t thresholdColour(int32_t threshold) {
    if (threshold >= 24 && threshold <= 29) return rgb(255, 255, 255);
    if (threshold >= 30 && threshold <= 48) return rgb(255, 255, 0);
    if (threshold >= 50 && threshold <= 62) return rgb(255, 128, 0);
    if (threshold >= 64) return rgb(255, 0, 0);
    return rgb(128, 128, 128);
}

struct Quadrants {
    std::array<double, 4> rx{};  // northeast, southeast, southwest, northwest
    std::array<double, 4> ry{};
};

// Start angles of the quarter arcs, clockwise from east: NE starts at north.
constexpr std::array<float, 4> kStartAngles = {270.0f, 0.0f, 90.0f, 180.0f};

// The largest |radius|, or NaN when one is not finite (so that the copy is
// handed to the canvas, which reports it).
double largestMagnitude(const std::array<double, 4>& radii) {
    double largest = 0;
    for (const double r : radii) {
        if (!std::isfinite(r)) return std::nan("");
        largest = std::max(largest, std::fabs(r));
    }
    return largest;
}

// One copy: the four quarter ellipses around (x, y), then the lines that join
// their ends on the axes where neighbouring quadrants differ.
void drawQuadrants(Canvas& canvas, const CanvasPen& pen, double x, double y, const Quadrants& q) {
    for (size_t i = 0; i < 4; ++i) {
        canvas.drawArc(pen, toSingle(x - q.rx[i]), toSingle(y - q.ry[i]), toSingle(2 * q.rx[i]),
                       toSingle(2 * q.ry[i]), kStartAngles[i], 90.0f);
    }
    const float cx = toSingle(x);
    const float cy = toSingle(y);
    canvas.drawLine(pen, cx, toSingle(y - q.ry[3]), cx, toSingle(y - q.ry[0]));  // north
    canvas.drawLine(pen, toSingle(x + q.rx[0]), cy, toSingle(x + q.rx[1]), cy);  // east
    canvas.drawLine(pen, cx, toSingle(y + q.ry[1]), cx, toSingle(y + q.ry[2]));  // south
    canvas.drawLine(pen, toSingle(x - q.rx[2]), cy, toSingle(x - q.rx[3]), cy);  // west
}

// Wind-radii pen width per track-width unit.
constexpr double kRadiiPenTcv = 0.75;
constexpr double kRadiiPenWendrel = 30;

}  // namespace

void drawWindRadiiLayer(const LayerInput& input, Canvas& canvas, LayerLog&) {
    const OutputGeometry& frame = input.frame;
    const double penWidth =
        input.settings.trackWidth * (input.tcv ? kRadiiPenTcv : kRadiiPenWendrel);
    // The centre moves by margin − min, truncated, added after the projection.
    const int32_t offX = truncToInt32(static_cast<double>(frame.marginX) - frame.minX);
    const int32_t offY = truncToInt32(static_cast<double>(frame.marginY) - frame.minY);
    drawWindRadii(canvas, input.radii, frame.projection(), penWidth, offX, offY);
}

void drawWindRadii(Canvas& canvas, std::span<const RadiiRecord> records, const Projection& map,
                   double penWidth, int32_t offX, int32_t offY) {
    CanvasPen pen;
    pen.create(toArgb(rgb(128, 128, 128), 191), toSingle(penWidth), CanvasUnit::World);
    pen.setLineJoin(join::kRound);
    pen.setCaps(cap::kRound, cap::kRound, cap::kRound);

    for (const RadiiRecord& record : records) {
        const double lat = record.latitude;
        if (std::fabs(lat) <= kEpsilon) continue;
        const double centreX = map.radiiX(record.longitude) + offX;
        const double centreY = map.radiiY(lat) + offY;
        if (!std::isfinite(centreX) || !std::isfinite(centreY)) continue;

        // Kilometres per degree of longitude shrink with the cosine of the latitude.
        const double cosLat = Projection::radiiCosine(lat);
        for (const RadiiRow& row : record.rows) {
            if (!row.drawn) continue;
            Quadrants q;
            for (size_t i = 0; i < 4; ++i) {
                const double r = row.quadrantsNm[i];
                q.rx[i] = map.nauticalMilesX(r, cosLat);
                q.ry[i] = map.nauticalMilesY(r);
            }
            pen.setColour(toArgb(thresholdColour(row.thresholdKt), 191));
            // Copies one map width to either side, for radii across the 0° seam;
            // a copy wholly outside the picture is left out.
            const double reachX = largestMagnitude(q.rx);
            const double reachY = largestMagnitude(q.ry);
            for (const double shift : map.radiiCopies()) {
                const double x = centreX + shift;
                if (strokeOutside(canvas, pen, x - reachX, centreY - reachY, x + reachX,
                                  centreY + reachY)) {
                    continue;
                }
                drawQuadrants(canvas, pen, x, centreY, q);
            }
        }
    }
    pen.release();
}

}  // namespace tcmap
