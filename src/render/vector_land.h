// The bundled map's land, coasts and country borders put on a drawing tape as
// paths, where the tape would otherwise hold the map as a picture: SVG and PDF
// maps then stay sharp however far they are enlarged.
#pragma once

#include <cstddef>
#include <cstdint>

#include "render/canvas/vector_world.h"
#include "render/map_frame.h"

namespace tcmap {

class DrawingTape;

// The colours of the bundled map picture (data/maps/world.png), and of the
// borders it does not have: a line a little lighter than the land.
inline constexpr uint32_t kVectorSeaColour = rgb(22, 42, 72);
inline constexpr uint32_t kVectorLandColour = rgb(92, 98, 84);
inline constexpr uint32_t kVectorBorderColour = rgb(130, 136, 120);
inline constexpr float kVectorBorderWidth = 0.75f;

// Where the frame shows the world: degrees to output pixels, and the part of
// the output the map copies cover (the rest stays the blank output colour).
struct VectorLandView {
    double originX = 0;  // output x of the map's 0° edge
    double originY = 0;  // output y of 90°N
    double pixelsPerDegreeX = 1;
    double pixelsPerDegreeY = 1;
    // The covered part of the output, in pixels: [left, right) x [top, bottom).
    double left = 0, top = 0, right = 0, bottom = 0;

    bool empty() const { return right <= left || bottom <= top; }
    // The degrees the covered part shows.
    GeoBox box() const;
    // Where a point is drawn: the map picture measures degrees from pixel
    // edges while the canvas centres pixels on whole coordinates, so the
    // land goes half a pixel up and left, where the picture has it.
    PointF toPixel(const WorldPoint& p) const;
};

// The view of a frame whose map copies were painted by paintMap (Normal,
// Regional) or whose output is the map itself (Global).
VectorLandView vectorLandView(const MapFrame& frame, DrawMode mode, int outputWidth,
                              int outputHeight);

struct VectorLandCount {
    size_t shapes = 0;
    size_t borders = 0;
};

// Records on `tape` the sea over the covered part, the land filled in the
// map's colours and the borders over it, in that order.
VectorLandCount recordVectorLand(DrawingTape& tape, const VectorWorld& world,
                                 const VectorLandView& view);

}  // namespace tcmap
