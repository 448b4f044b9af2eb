// How far a stroke reaches beyond its path, and whether a stroke can touch a
// canvas at all, so that layers can leave out pieces that cannot reach the
// picture before handing them to the canvas.
#pragma once

#include <algorithm>

#include "render/canvas/canvas.h"

namespace tcmap {

// Widest pen a canvas strokes; wider pens draw as this width.
inline constexpr double kMaxStrokeWidth = 65536.0;

// How far beyond its path a stroke of this pen may reach (caps and miter
// joins included). Canvases leave out what lies further from their picture.
inline double strokeReach(const CanvasPen& pen) {
    const double width = pen.width > 0 ? std::min<double>(pen.width, kMaxStrokeWidth) : 1.0;
    return width * 5 + 2;
}

// True when no stroke of `pen` along a path within the box [left, right] x
// [top, bottom] can touch the canvas, and the canvas's last status is success,
// so that leaving the stroke out changes neither the picture nor the status a
// layer reads afterwards. A box that is not finite is never outside: the
// canvas reports it.
bool strokeOutside(const Canvas& canvas, const CanvasPen& pen, double left, double top,
                   double right, double bottom);

}  // namespace tcmap
