#include "render/canvas/canvas.h"
#include "render/canvas/picture.h"

namespace tcmap {

bool drawMapCopy(Canvas& canvas, const Picture& map, double x, double y, double width,
                 double height) {
    const double canvasWidth = canvas.width();
    const double canvasHeight = canvas.height();
    // A copy wholly beside, above or below the canvas is skipped, and that is fine.
    if (x - canvasWidth > 1e-7 || x + width < -1e-7) return true;
    if (y - canvasHeight > 1e-7 || y + height < -1e-7) return true;
    return canvas.drawPicture(map, static_cast<float>(x), static_cast<float>(y),
                              static_cast<float>(width), static_cast<float>(height));
}

}  // namespace tcmap
