// A finished drawing's storms written as a GIS file: the GIS branch of batch
// mode and of `draw`.
#pragma once

#include <string>
#include <vector>

#include "app/gis_layers.h"

namespace tcmap {

struct DrawResult;

// Writes the tracks the drawing kept (DrawRequest::keepTracks), and after
// them `extraLayers` (the polygon layers of the drawing's forecast products,
// such as a cone or a swath), to `path` in the format its name gives.
// Returns "" when written, else why not, in one line. What was left out and
// why goes to `notes` when given.
std::string saveGisMap(const DrawResult& result, const std::string& path,
                       std::vector<GisLayer> extraLayers = {},
                       std::vector<std::string>* notes = nullptr);

}  // namespace tcmap
