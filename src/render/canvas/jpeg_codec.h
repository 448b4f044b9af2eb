// JPEG reading (grey, RGB/YCbCr, CMYK/YCCK; baseline, progressive and
// arithmetic) and writing through libjpeg.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "render/canvas/pixel_buffer.h"

namespace tcmap {

// Decodes a JPEG into opaque ARGB32. False, with `out` empty, for anything
// that is not a complete JPEG within the picture size limits; a file that ends
// before its image data does counts as broken.
bool decodeJpeg(std::span<const uint8_t> bytes, PixelBuffer& out);

// Encodes premultiplied ARGB32 pixels (colour over black) as a JPEG of the
// given quality. Returns a drawing status (0 success).
int32_t encodeJpeg(const uint32_t* pixels, int width, int height, std::vector<uint8_t>& out,
                   int quality = 95);

}  // namespace tcmap
