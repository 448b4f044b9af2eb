// The colour-scale legend: one text row per intensity band in a corner of
// the output picture, the corner fixed by the setting or chosen per job.
#pragma once

#include <cstdint>

#include "render/layers/layer_context.h"

namespace tcmap {

// The legend layer: in the corner the settings name, with the colours of
// the style (the 2023 or the classic scale in the Wendrel style).
void drawLegendLayer(const LayerInput& input, Canvas& canvas, LayerLog& log);

void drawLegend(LayerContext& ctx, LegendCorner corner, bool newColour);

// The first corner (lower left, upper left, upper right, lower right) that
// no fix of the job falls into; lower left when every corner holds one.
LegendCorner placeLegendAutomatically(const LayerContext& ctx);

}  // namespace tcmap
