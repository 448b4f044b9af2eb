// The track layer: line segments between consecutive fixes of a file, and the
// fix points of both render styles (Wendrel markers in their drawing order,
// TCV circles, dots, crosses and labels).
#pragma once

#include <cstdint>
#include <vector>

#include "render/layers/layer_context.h"

namespace tcmap {

// The job's one pen before the fix loop: white, width T x W / 360 pixels,
// round caps.
void prepareTrackPen(CanvasPen& pen, double trackWidth, int32_t mapWidth);

// The Wendrel marker size in pixels: Point x W / 360.
double pointSizeInPixels(double pointSetting, int32_t mapWidth);

// The per-fix loop: segment, then the fix's marker (Wendrel, Priority 0) or
// the TCV points and labels.
void drawFixLoop(LayerContext& ctx, double pointSize);

// Wendrel style with Priority 1 or 2: every marker after all lines; Priority 2
// sorts ctx.fixes.seq by wind first (the many-fixes warning from 10000 fixes on).
void drawMarkerPass(LayerContext& ctx, double pointSize);

// Permutes `seq` as a selection sort of `wind` (ascending, first of equal
// values wins, not stable) would, in O(n log n). `wind` is the wind list in
// table order; `seq` starts parallel to it.
void sortByWind(std::vector<int32_t> wind, std::vector<int64_t>& seq);

// The plain quadratic selection sort, kept as the reference the fast one must
// match exactly.
void sortByWindSelection(std::vector<int32_t> wind, std::vector<int64_t>& seq);

}  // namespace tcmap
