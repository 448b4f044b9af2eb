// The areas of the forecaster's map, under the tracks: the wind swath in
// three shades (34, 50, 64 kt), then the cone of uncertainty in two (days
// 1-3 light, days 4-5 fainter) with a white outline.
#pragma once

#include "render/layers/forecast_scene.h"
#include "render/layers/layer.h"

namespace tcmap {

void drawForecastAreaLayer(const ForecastScene& scene, const LayerInput& input, Canvas& canvas,
                           LayerLog& log);

}  // namespace tcmap
