// Wendrel-style fix markers: a filled circle (tropical), square (subtropical)
// or triangle (other systems), coloured by intensity.
#pragma once

#include <cstddef>

#include "render/layers/layer_context.h"

namespace tcmap {

// The marker of the fix ctx.fixes.seq[k] (k is a position in the drawing
// order), `pointSize` pixels across, drawn at X, X - W and X + W.
void drawFixMarker(LayerContext& ctx, size_t k, double pointSize);

}  // namespace tcmap
