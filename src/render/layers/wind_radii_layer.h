// Wind radii: for every radii record, the 34/50/64 kt radii of the four
// quadrants as quarter ellipses joined where neighbouring quadrants differ.
#pragma once

#include <cstdint>
#include <span>

#include "render/layers/layer.h"
#include "render/layers/projection.h"
#include "track/track.h"

namespace tcmap {

class Canvas;

// `penWidth` is T x 0.75 (TCV) or T x 30 (Wendrel); offX/offY are
// margin - min of the frame, truncated.
// The wind-radii layer: the input's radii records with a pen of T x 0.75
// (TCV) or T x 30 (Wendrel) around their centres moved by the frame.
void drawWindRadiiLayer(const LayerInput& input, Canvas& canvas, LayerLog& log);

// Only the rows a record draws (RadiiRow::drawn); a record on the equator
// (within 1e-7) draws nothing.
void drawWindRadii(Canvas& canvas, std::span<const RadiiRecord> records, const Projection& map,
                   double penWidth, int32_t offX, int32_t offY);

}  // namespace tcmap
