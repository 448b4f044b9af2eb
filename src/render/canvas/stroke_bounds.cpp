#include <cmath>

#include "render/canvas/stroke_bounds.h"

namespace tcmap {

bool strokeOutside(const Canvas& canvas, const CanvasPen& pen, double left, double top,
                   double right, double bottom) {
    if (canvas.lastStatus() != status::kOk || !pen.valid || !std::isfinite(pen.width)) return false;
    if (!std::isfinite(left) || !std::isfinite(top) || !std::isfinite(right) ||
        !std::isfinite(bottom)) {
        return false;
    }
    const double reach = strokeReach(pen);
    return right + reach < 0 || bottom + reach < 0 || left - reach > canvas.width() ||
           top - reach > canvas.height();
}

}  // namespace tcmap
