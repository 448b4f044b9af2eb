// The agencies of a storm drawn by several of them: a legend of their line
// styles, and where the settings ask, the largest position difference of
// each storm marked on the map.
#pragma once

#include "render/layers/layer.h"

namespace tcmap {

void drawAgencyLayer(const LayerInput& input, Canvas& canvas, LayerLog& log);

}  // namespace tcmap
