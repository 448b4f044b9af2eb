// A finished drawing's storms written as a GIS file: the GIS branch of batch
// mode and of `draw`.
#pragma once

#include <string>
#include <vector>

#include "app/gis_layers.h"
#include "render/layers/forecast_scene.h"
#include "track/track.h"

namespace tcmap {

struct DrawResult;

// What a drawing kept for a GIS file: the storms it drew and its forecast
// areas (the window keeps it for Save).
struct GisSource {
    std::vector<Track> tracks;
    ForecastScene forecastAreas;
};

// Writes the tracks the drawing kept (DrawRequest::keepTracks), the cone and
// swath it drew (as "cone" and "swath") and after them `extraLayers`, to
// `path` in the format its name gives.
// Returns "" when written, else why not, in one line. What was left out and
// why goes to `notes` when given.
std::string saveGisMap(const DrawResult& result, const std::string& path,
                       std::vector<GisLayer> extraLayers = {},
                       std::vector<std::string>* notes = nullptr);

// The same from what a drawing kept: its tracks and forecast areas.
std::string saveGisMap(const std::vector<Track>& tracks, const ForecastScene& forecastAreas,
                       const std::string& path, std::vector<GisLayer> extraLayers = {},
                       std::vector<std::string>* notes = nullptr);

}  // namespace tcmap
