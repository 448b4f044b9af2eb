// What the layers of one draw job share: the canvas and the job's one pen,
// brush, font and text layout, the fix table, the frame and the settings.
// The job owns all of it; layers borrow it for the duration of a call.
#pragma once

#include <span>

#include "render/canvas/canvas.h"
#include "render/fix_table.h"
#include "render/job_settings.h"
#include "render/map_frame.h"

namespace tcmap {

class JobLog;
class LanguagePack;

struct LayerContext {
    Canvas& canvas;
    JobLog& log;
    const LanguagePack& lang;
    const JobSettings& settings;
    bool tcv;  // TCV render style (else Wendrel)
    FixTable& fixes;
    const MapFrame& frame;
    CanvasPen& pen;
    CanvasBrush& brush;
    CanvasFont& font;
    TextLayout& layout;
    std::span<const float> dashPattern;  // {3, 3}: dashed forecast segments
};

}  // namespace tcmap
