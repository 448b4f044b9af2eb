#include "render/layers/forecast_area_layer.h"

#include "render/layers/draw_status.h"
#include "render/layers/geo_shape_painter.h"

namespace tcmap {

namespace {

// Translucent, so the map and the grid show through; each stronger wind is
// drawn over the weaker one's area, which it lies inside.
constexpr Argb kSwathFills[3] = {0x70FFE97A, 0x80FF9F40, 0x90E0302A};
constexpr Argb kConeNear = 0x80FFFFFF;
constexpr Argb kConeFar = 0x48FFFFFF;
constexpr Argb kConeOutline = 0xD0FFFFFF;

}  // namespace

void drawForecastAreaLayer(const ForecastScene& scene, const LayerInput& input, Canvas& canvas,
                           LayerLog& log) {
    CanvasPen none;
    CanvasBrush brush;
    for (size_t i = 0; i < scene.swath.size(); ++i) {
        brush.setSolid(kSwathFills[i]);
        if (!paintGeoShape(canvas, input.frame, scene.swath[i], brush, none)) {
            checkDrawStatus("forecast/swath", canvas, log);
        }
    }
    CanvasPen outline;
    outline.create(kConeOutline, 1.5f, CanvasUnit::World);
    brush.setSolid(kConeFar);
    if (!paintGeoShape(canvas, input.frame, scene.coneDays4to5, brush, outline)) {
        checkDrawStatus("forecast/cone", canvas, log);
    }
    brush.setSolid(kConeNear);
    if (!paintGeoShape(canvas, input.frame, scene.coneDays1to3, brush, outline)) {
        checkDrawStatus("forecast/cone", canvas, log);
    }
}

}  // namespace tcmap
