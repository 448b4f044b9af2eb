// The colour-scale legend: one text row per intensity band in a corner of
// the output picture, the corner fixed by the setting or chosen per job.
#pragma once

#include <cstdint>

#include "render/layers/layer_context.h"

namespace tcmap {

// position <= 0: nothing; 1..4 a corner; 5 and above: automatic.
void drawLegend(LayerContext& ctx, int32_t position, bool newColour);

// The first corner (2, 1, 3, 4) that no fix of the job falls into; 2 when
// every corner holds one.
int32_t placeLegendAutomatically(const LayerContext& ctx);

}  // namespace tcmap
