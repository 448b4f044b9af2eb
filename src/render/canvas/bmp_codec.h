// Windows bitmap reading and writing of our own: uncompressed 1, 4 and 8-bit
// palette pictures, 16, 24 and 32-bit pictures (bit fields too), bottom-up or
// top-down, with any of the usual header versions. Every read is bounds
// checked against the input.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "render/canvas/pixel_buffer.h"

namespace tcmap {

// Decodes a BMP into opaque ARGB32 (an alpha channel in the file is not
// used). False, with `out` empty, when the file is broken, truncated, uses a
// compression we do not read or exceeds the picture size limits.
bool decodeBmp(std::span<const uint8_t> bytes, PixelBuffer& out);

// Encodes premultiplied ARGB32 pixels (colour over black) as a 24-bit
// bottom-up BMP. Returns a drawing status (0 success).
int32_t encodeBmp(const uint32_t* pixels, int width, int height, std::vector<uint8_t>& out);

}  // namespace tcmap
