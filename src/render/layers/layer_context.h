// What the layers of one draw job share: the canvas and the job's one pen,
// brush, font and text layout, the fix table, the frame and the settings.
// The job owns all of it; layers borrow it for the duration of a call.
#pragma once

#include <span>

#include "config/job_settings.h"
#include "render/canvas/canvas.h"
#include "render/layers/fix_table.h"
#include "render/layers/output_geometry.h"

namespace tcmap {

class LayerLog;
class LanguagePack;

struct LayerContext {
    Canvas& canvas;
    LayerLog& log;
    const LanguagePack& lang;
    const JobSettings& settings;
    bool tcv;  // TCV render style (else Wendrel)
    FixTable& fixes;
    const OutputGeometry& frame;
    CanvasPen& pen;
    CanvasBrush& brush;
    CanvasFont& font;
    TextLayout& layout;
    std::span<const float> dashPattern;  // {3, 3}: dashed forecast segments
};

}  // namespace tcmap
