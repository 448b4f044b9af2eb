// Wind radii: for every fix of a radii text, the 34/50/64 kt radii of the four
// quadrants as quarter ellipses joined where neighbouring quadrants differ.
#pragma once

#include <cstdint>
#include <string_view>

#include "render/layers/projection.h"

namespace tcmap {

class Canvas;

// `penWidth` is T x 0.75 (TCV) or T x 30 (Wendrel); offX/offY are
// margin - min of the frame, truncated.
void drawWindRadii(Canvas& canvas, std::string_view radiiText, const Projection& map,
                   double penWidth, int32_t offX, int32_t offY);

}  // namespace tcmap
