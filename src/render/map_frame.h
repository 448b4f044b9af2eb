// Where fixes land on the map picture, which part of it the output picture
// shows, how large the output is, and how the map is painted across the 0°
// seam. The map picture is equirectangular with 0° at both edges and 180° in
// the middle, 90°N at the top.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "config/job_settings.h"
#include "render/draw_mode.h"
#include "render/layers/output_geometry.h"
#include "render/layers/projection.h"
#include "track/track_model.h"

namespace tcmap {

class Canvas;
class Picture;

// The geometry the layers see (map size, minX/minY, margins, output size),
// and the bounds and previous fix that the job gathers to reach it.
struct MapFrame : OutputGeometry {
    int32_t maxX = 0, maxY = 0;  // Normal: right/bottom bounds; else width/height
    int32_t minWidth = 0, minHeight = 0;
    MapPoint previousFix;  // position of the previous usable track line
    bool realFixSeen = false;

    bool boundsAllZero() const { return minX == 0 && minY == 0 && maxX == 0 && maxY == 0; }

    // Bounds, previous fix and the real-fix flag back to zero.
    void resetBounds();
    // Every usable line, before the acceptance test (Normal mode).
    void noteLine(MapPoint p, FrameReset reset);
    // Every accepted fix (Normal mode).
    void extendBounds(MapPoint p);
    // After the fix's class is known (Normal mode).
    void applyBoundResets(MapPoint p, SystemClass cls, TrackFileKind kind, bool skipInvestActive,
                          FrameReset reset);
    // Normal mode: output size from bounds, margins and minimum size.
    void computeOutputSize();
};

// Global and Regional frames (margins 0); Normal has no preset.
void presetFrame(MapFrame& frame, DrawMode mode, const std::vector<std::string>& regionParts);

// The blank output picture (Normal, Regional: RGB(15,15,15), BMP format id)
// or a copy of the map (Global). Returns a drawing status (0 success, 3 when
// the picture cannot be created).
int32_t createOutputPicture(Picture& output, const Picture& map, DrawMode mode,
                            const MapFrame& frame);

// Paints the map copies (Normal, Regional). Returns 0, or the status of the
// failed drawing operation.
int32_t paintMap(Canvas& canvas, const Picture& map, const MapFrame& frame);

}  // namespace tcmap
