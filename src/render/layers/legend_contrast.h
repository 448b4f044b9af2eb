// Whether a legend row can be read where it lies: the contrast ratio of its
// colour against the map under it, by the relative luminance of the web's
// accessibility rules, and the backing that makes a faint row readable.
#pragma once

#include <cstdint>
#include <optional>

#include "render/canvas/canvas.h"
#include "render/layers/annotation_text.h"

namespace tcmap {

// Relative luminance (0 black .. 1 white) of 0x..RRGGBB.
double relativeLuminance(uint32_t rgb);
// (lighter + 0.05) / (darker + 0.05): 1 for equal colours, 21 for black on white.
double contrastRatio(uint32_t rgbA, uint32_t rgbB);

// Below this the row gets a backing: the ratio asked of large text.
inline constexpr double kLegendMinimumContrast = 3.0;

// The mean colour (0x00RRGGBB) of the picture inside `box`, sampled on a
// grid; nothing when the box misses the picture.
std::optional<uint32_t> meanColour(const Picture& picture, const TextBox& box);

// The backing (0xAARRGGBB) a row of colour `rgb` needs on a map of colour
// `under`: black or white, whichever sets the row off more; nothing when the
// row is readable as it is.
std::optional<Argb> legendBacking(uint32_t rgb, uint32_t under);

}  // namespace tcmap
