// PNG reading (every colour type, bit depth and interlace) and 24-bit RGB
// writing through libpng.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "render/canvas/pixel_buffer.h"

namespace tcmap {

// Encoder settings. The defaults are the ones `Picture::save` uses, chosen by
// measurement on 7200 x 3600 track maps: zlib level 2 without row filters was
// the fastest setting measured, about five times faster than libpng's default
// (level 6, adaptive filters), and its files were no larger than the
// default's on flat map colours.
struct PngEncodeOptions {
    int compressionLevel = 2;  // zlib 0..9
    int filters = 0x08;        // libpng PNG_FILTER_* mask (PNG_FILTER_NONE)
    int strategy = 0;          // zlib strategy (Z_DEFAULT_STRATEGY)
};

// Decodes a PNG into premultiplied ARGB32. False, with `out` empty, for
// anything that is not a complete, valid PNG within the picture size limits.
bool decodePng(std::span<const uint8_t> bytes, PixelBuffer& out);

// Encodes premultiplied ARGB32 pixels as an 8-bit RGB PNG (colour over black).
// Returns a drawing status: 0 success, 2 bad arguments, 3 out of memory, 1
// any other encoder failure.
int32_t encodePng(const uint32_t* pixels, int width, int height, std::vector<uint8_t>& out,
                  const PngEncodeOptions& options = {});

}  // namespace tcmap
