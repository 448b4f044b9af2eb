// The colour-scale legend: one text row per intensity band in a corner of
// the output picture, the corner fixed by the setting or chosen per job.
#pragma once

#include <cstdint>
#include <optional>

#include "render/layers/annotation_text.h"
#include "render/layers/layer_context.h"

namespace tcmap {

// The legend layer: in the corner the settings name, with the colours of
// the style (the 2023 or the classic scale in the Wendrel style).
void drawLegendLayer(const LayerInput& input, Canvas& canvas, LayerLog& log);

// With a background (the map as painted so far), rows too faint on it get a
// backing.
void drawLegend(LayerContext& ctx, LegendCorner corner, bool newColour,
                const Picture* background = nullptr);

// The first corner (lower left, upper left, upper right, lower right) that
// no fix of the job falls into; lower left when every corner holds one.
LegendCorner placeLegendAutomatically(const LayerContext& ctx);

// The corner the legend of this job takes (the automatic one resolved), and
// the area its rows cover; nothing without a legend.
LegendCorner jobLegendCorner(const LayerInput& input);
std::optional<TextBox> legendArea(const LayerInput& input);

}  // namespace tcmap
