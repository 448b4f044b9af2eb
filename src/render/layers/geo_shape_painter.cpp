#include "render/layers/geo_shape_painter.h"

#include <vector>

namespace tcmap {

LonRange outputLongitudes(const OutputGeometry& frame) {
    const double degreesPerPixel = 360.0 / frame.mapWidth;
    const double west = (frame.minX - frame.marginX) * degreesPerPixel;
    return {west, west + frame.outputWidth * degreesPerPixel};
}

bool paintGeoShape(Canvas& canvas, const OutputGeometry& frame, const GeoShape& shape,
                   const CanvasBrush& fill, const CanvasPen& outline) {
    if (shape.empty() || frame.mapWidth <= 0 || frame.mapHeight <= 0) return true;
    const LonRange view = outputLongitudes(frame);
    const Projection map = frame.projection();
    bool ok = true;
    std::vector<PointF> points;
    for (const double shift : seamShifts(shape, view.west, view.east)) {
        for (const GeoPolygon& polygon : shape) {
            points.clear();
            for (const GeoPoint& p : polygon.outer) {
                const double x = map.longitudeSpan(p.lon + shift);
                points.push_back({static_cast<float>(frame.toOutputX(x)),
                                  static_cast<float>(frame.toOutputY(map.fixY(p.lat)))});
            }
            if (points.size() < 3) continue;
            ok = canvas.fillPolygon(fill, points) && ok;
            if (!outline.valid) continue;
            for (size_t i = 1; i < points.size(); ++i) {
                ok = canvas.drawLine(outline, points[i - 1].x, points[i - 1].y, points[i].x,
                                     points[i].y) &&
                     ok;
            }
        }
    }
    return ok;
}

}  // namespace tcmap
