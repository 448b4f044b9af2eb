// The track layer: line segments between consecutive fixes of a file, and the
// fix points of both render styles (Wendrel markers in their drawing order,
// TCV circles, dots, crosses and labels).
#pragma once

#include <cstdint>

#include "render/layers/layer_context.h"

namespace tcmap {

// The track layer: the progress line, then the fix loop with the layer's own
// pen, brush, font and layout.
void drawTrackLayer(const LayerInput& input, Canvas& canvas, LayerLog& log);

// The deferred Wendrel markers (MarkerOrder OnTop or ByIntensity): every
// marker after all lines, by intensity when asked; nothing otherwise.
void drawMarkerLayer(const LayerInput& input, Canvas& canvas, LayerLog& log);

// The track pen before the fix loop: white, width T x W / 360 pixels, round
// caps.
void prepareTrackPen(CanvasPen& pen, double trackWidth, int32_t mapWidth);

// The Wendrel marker size in pixels: Point x W / 360.
double pointSizeInPixels(double pointSetting, int32_t mapWidth);

// The per-fix loop: segment, then the fix's marker (Wendrel, Priority 0) or
// the TCV points and labels.
void drawFixLoop(LayerContext& ctx, double pointSize);

// Wendrel style with markers on top: every marker after all lines, sorted by
// wind first when asked (the many-fixes warning from 10000 fixes on). The
// table's own order is left as it is.
void drawMarkerPass(LayerContext& ctx, double pointSize);

}  // namespace tcmap
