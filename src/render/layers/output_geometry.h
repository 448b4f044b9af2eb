// Where the output picture lies on the map picture: the map's size, the map
// position shown at the output's margin corner, the margins and the output's
// size. Layers place everything through it; the draw job's MapFrame extends it
// with the bounds it gathers while fixes arrive.
#pragma once

#include <cstdint>

#include "render/layers/projection.h"

namespace tcmap {

struct OutputGeometry {
    int32_t mapWidth = 0;   // W
    int32_t mapHeight = 0;  // H
    int32_t minX = 0, minY = 0;
    int32_t marginX = 0, marginY = 0;
    int32_t outputWidth = 0, outputHeight = 0;

    Projection projection() const { return {mapWidth, mapHeight}; }

    // Output-picture position of a map-picture position.
    double toOutputX(double x) const { return x - minX + marginX; }
    double toOutputY(double y) const { return y - minY + marginY; }
};

}  // namespace tcmap
