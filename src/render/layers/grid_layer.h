// The latitude/longitude grid: straight segments read from the GridData file,
// each with its own colour, transparency, width and dash.
#pragma once

#include <cstdint>
#include <string>

#include "render/layers/layer.h"
#include "render/layers/projection.h"

namespace tcmap {

class Canvas;
class LayerLog;

// The grid layer, when the settings ask for the grid: the lines of the
// input's grid file.
void drawGridLayer(const LayerInput& input, Canvas& canvas, LayerLog& log);

// Draws every valid line of the grid file at `gridDataPath` (missing file:
// nothing). The frame values place map-picture pixels on the output.
void drawGrid(Canvas& canvas, LayerLog& log, const std::string& gridDataPath, const Projection& map,
              int32_t minX, int32_t marginX, int32_t minY, int32_t marginY);

}  // namespace tcmap
