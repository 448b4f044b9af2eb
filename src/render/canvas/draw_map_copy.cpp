#include "render/canvas/canvas.h"
#include "render/canvas/picture.h"

namespace tcmap {

bool drawMapCopy(Canvas& canvas, const Picture& map, double x, double y, double width,
                 double height) {
    const double canvasWidth = canvas.width();
    // A copy wholly right or left of the canvas is skipped, and that is fine.
    if (x - canvasWidth > 1e-7 || x + width < -1e-7) return true;
    return canvas.drawPicture(map, static_cast<float>(x), static_cast<float>(y),
                              static_cast<float>(width), static_cast<float>(height));
}

}  // namespace tcmap
