// Cutting rings and lines in degrees to an axis-aligned box, for drawing only
// the part of the world a frame shows. These are drawing cuts against one
// rectangle, not polygon operations: no validity is needed and nothing is
// merged, so the cost stays one pass per side.
#pragma once

#include <span>
#include <vector>

#include "render/canvas/vector_world.h"

namespace tcmap {

// Cuts the closed ring, moved `shift` degrees east, to `box`, one side at a
// time. Inside the box the result winds round every point as often as the
// ring does, so rings filled together with the even-odd rule paint the same
// there; what lay outside becomes runs along the box's sides. `out` gets the
// closed result, or nothing when the ring encloses no area of the box.
// `scratch` is working space a caller may reuse between calls.
void clipRingToBox(std::span<const WorldPoint> ring, double shift, const GeoBox& box,
                   std::vector<WorldPoint>& out, std::vector<WorldPoint>& scratch);

// Appends to `out` the pieces of the line, moved `shift` degrees east, that
// lie inside `box`; a line that leaves the box and comes back gives two.
void clipLineToBox(std::span<const WorldPoint> line, double shift, const GeoBox& box,
                   std::vector<BorderLine>& out);

}  // namespace tcmap
