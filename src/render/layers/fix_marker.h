// Wendrel-style fix markers: a filled circle (tropical), square (subtropical)
// or triangle (other systems), coloured by intensity.
#pragma once

#include <cstdint>

#include "render/layers/layer_context.h"

namespace tcmap {

// The marker of fix `index` of the table, `pointSize` pixels across, drawn at
// X, X - W and X + W. An index outside the table draws nothing.
void drawFixMarker(LayerContext& ctx, int64_t index, double pointSize);

}  // namespace tcmap
