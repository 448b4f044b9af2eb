// The latitude/longitude grid: straight segments read from the GridData file,
// each with its own colour, transparency, width and dash.
#pragma once

#include <cstdint>
#include <string>

#include "render/layers/projection.h"

namespace tcmap {

class Canvas;
class LayerLog;

// Draws every valid line of the grid file at `gridDataPath` (missing file:
// nothing). The frame values place map-picture pixels on the output.
void drawGrid(Canvas& canvas, LayerLog& log, const std::string& gridDataPath, const Projection& map,
              int32_t minX, int32_t marginX, int32_t minY, int32_t marginY);

}  // namespace tcmap
