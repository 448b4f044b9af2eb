#include "render/vector_land.h"

#include <algorithm>
#include <vector>

#include "base/text_rules.h"
#include "render/canvas/drawing_tape.h"

namespace tcmap {

namespace {

// Land is cut this many pixels beyond what the output shows, so cut edges
// and the strokes along them fall outside it.
constexpr double kCutMarginPixels = 2.0;

// Half a pixel: from map-picture pixel edges to canvas pixel centres.
constexpr double kEdgeToCentre = -0.5;

}  // namespace

GeoBox VectorLandView::box() const {
    const double marginX = kCutMarginPixels / pixelsPerDegreeX;
    const double marginY = kCutMarginPixels / pixelsPerDegreeY;
    GeoBox box;
    box.west = (left - originX) / pixelsPerDegreeX - marginX;
    box.east = (right - originX) / pixelsPerDegreeX + marginX;
    box.north = std::min(90.0, 90.0 - (top - originY) / pixelsPerDegreeY + marginY);
    box.south = std::max(-90.0, 90.0 - (bottom - originY) / pixelsPerDegreeY - marginY);
    return box;
}

PointF VectorLandView::toPixel(const WorldPoint& p) const {
    return {static_cast<float>(originX + p.lon * pixelsPerDegreeX + kEdgeToCentre),
            static_cast<float>(originY + (90.0 - p.lat) * pixelsPerDegreeY + kEdgeToCentre)};
}

VectorLandView vectorLandView(const MapFrame& frame, DrawMode mode, int outputWidth,
                              int outputHeight) {
    VectorLandView view;
    const double w = frame.mapWidth;
    const double h = frame.mapHeight;
    if (w <= 0 || h <= 0 || outputWidth <= 0 || outputHeight <= 0) return view;
    view.pixelsPerDegreeX = w / 360.0;
    view.pixelsPerDegreeY = h / 180.0;
    if (mode == DrawMode::Global) {  // the output is the map itself
        view.right = outputWidth;
        view.bottom = outputHeight;
        return view;
    }
    // The copies paintMap lays side by side: the main one, the one east of
    // it and, when the frame reaches west of the 0° seam, the one west of it.
    view.originX = static_cast<double>(frame.marginX) - frame.minX;
    view.originY = static_cast<double>(frame.marginY) - frame.minY;
    const bool westCopy = static_cast<double>(frame.minX) - frame.marginX <= kEpsilon;
    view.left = std::max(0.0, westCopy ? view.originX - w : view.originX);
    view.right = std::min<double>(outputWidth, view.originX + 2 * w);
    view.top = std::max(0.0, view.originY);
    view.bottom = std::min<double>(outputHeight, view.originY + h);
    return view;
}

VectorLandCount recordVectorLand(DrawingTape& tape, const VectorWorld& world,
                                 const VectorLandView& view) {
    VectorLandCount count;
    if (view.empty()) return count;
    // The sea reaches a pixel past an output edge it touches, so the edge
    // pixels are covered whole.
    const double left = view.left <= 0 ? -1.0 : view.left + kEdgeToCentre;
    const double top = view.top <= 0 ? -1.0 : view.top + kEdgeToCentre;
    const double right =
        view.right >= tape.width() ? tape.width() + 1.0 : view.right + kEdgeToCentre;
    const double bottom =
        view.bottom >= tape.height() ? tape.height() + 1.0 : view.bottom + kEdgeToCentre;
    CanvasBrush sea;
    sea.setSolid(toArgb(kVectorSeaColour));
    tape.recordFillRectangle(sea, static_cast<float>(left), static_cast<float>(top),
                             static_cast<float>(right - left), static_cast<float>(bottom - top));

    const GeoBox box = view.box();
    CanvasBrush land;
    land.setSolid(toArgb(kVectorLandColour));
    std::vector<PointF> points;
    const auto toPixel = [&view](const WorldPoint& p) { return view.toPixel(p); };
    for (const LandShape& shape : world.landIn(box)) {
        points.clear();
        appendShapeOutline(shape, toPixel, points);
        if (points.size() < 3) continue;
        tape.recordPolygon(land, points);
        ++count.shapes;
    }

    CanvasPen border;
    border.create(toArgb(kVectorBorderColour), kVectorBorderWidth, CanvasUnit::Pixel);
    border.setCaps(cap::kRound, cap::kRound, cap::kRound);
    border.setLineJoin(join::kRound);
    for (const BorderLine& line : world.bordersIn(box)) {
        for (size_t i = 1; i < line.size(); ++i) {
            const PointF a = view.toPixel(line[i - 1]);
            const PointF b = view.toPixel(line[i]);
            tape.recordLine(border, a.x, a.y, b.x, b.y);
        }
        ++count.borders;
    }
    return count;
}

}  // namespace tcmap
