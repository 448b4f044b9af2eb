// The forecast areas of a drawing as GIS polygon layers: "cone" (a feature
// for days 1-3 and one for days 4-5) and "swath" (a feature per wind
// threshold, 34, 50 and 64 kt), each present only when the map drew it.
#pragma once

#include <vector>

#include "app/gis_layers.h"
#include "render/layers/forecast_scene.h"

namespace tcmap {

// Longitudes stay as the drawing made them; gisLayersOf moves them into
// -180 .. 180 and cuts them at the antimeridian.
std::vector<GisLayer> forecastGisLayers(const ForecastScene& areas, const GisStyle& style = {});

}  // namespace tcmap
