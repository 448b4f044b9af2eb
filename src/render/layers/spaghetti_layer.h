// The model spaghetti of one forecast cycle: each aid in its own colour
// (render/layers/aid_palette.h), a tick and the forecast hour every 24 h, and
// a legend of the aids drawn.
#pragma once

#include <string>
#include <vector>

#include "render/layers/aid_palette.h"
#include "render/layers/forecast_scene.h"
#include "render/layers/layer.h"

namespace tcmap {

struct AidLegendEntry {
    std::string label;  // the aid, or "AP01-AP30" for an ensemble's members
    AidLook look;
};

// One entry per aid drawn, in drawing order; the members of one ensemble
// share one entry, as they share one colour.
std::vector<AidLegendEntry> aidLegendEntries(const std::vector<AidTrack>& aids);

// The pixel width of an aid line of this weight.
float aidLineWidth(AidLineWeight weight);

// The corner of the aid legend: the colour-scale legend's corner mirrored
// left to right, so the two never overlap; the upper right without one.
LegendCorner aidLegendCorner(LegendCorner colourLegend);

// The box of a legend beside the colour scale's (the aids', the agencies'):
// `width` × `height` in the corner aidLegendCorner gives, `pad` from the
// edges, filled with the legends' dark backing. Returns where it is.
RectF drawSideLegendBox(const LayerInput& input, Canvas& canvas, float width, float height,
                        float pad);

void drawSpaghettiLayer(const ForecastScene& scene, const LayerInput& input, Canvas& canvas,
                        LayerLog& log);

}  // namespace tcmap
