// One layer while it draws: its input, the canvas and log, and the pen,
// brush, font and text layout that belong to this layer alone.
#pragma once

#include "render/layers/layer.h"
#include "render/layers/time_years.h"

namespace tcmap {

struct LayerContext {
    LayerContext(const LayerInput& input, Canvas& target, LayerLog& layerLog)
        : canvas(target),
          log(layerLog),
          lang(input.lang),
          settings(input.settings),
          tcv(input.tcv),
          fixes(input.fixes),
          frame(input.frame),
          agencies(input.agencies),
          yearInTimes(timesCarryYear(input)) {}

    Canvas& canvas;
    LayerLog& log;
    const LanguagePack& lang;
    const JobSettings& settings;
    bool tcv;
    const FixTable& fixes;
    const OutputGeometry& frame;
    const AgencyScene* agencies;  // null: no agency styles
    bool yearInTimes;             // time labels "2014-10-24 12Z" instead of the format's
    CanvasPen pen;
    CanvasBrush brush;
    CanvasFont font;
    TextLayout layout;
};

}  // namespace tcmap
