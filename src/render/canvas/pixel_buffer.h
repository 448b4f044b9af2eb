// The pixels a decoder produces and the helpers every codec shares: the size
// limits, premultiplication and a row store that grows with the decoded data.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "render/canvas/picture.h"

namespace tcmap {

struct PixelBuffer {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;  // premultiplied ARGB32, width * height
};

// True when a picture of this size may be created: 1..kMaxPictureSide a side
// and at most kMaxPicturePixels pixels.
constexpr bool pictureSizeAllowed(int64_t width, int64_t height) {
    return width >= 1 && height >= 1 && width <= kMaxPictureSide && height <= kMaxPictureSide &&
           width * height <= kMaxPicturePixels;
}

// (value * alpha) / 255, rounded.
constexpr uint32_t scaleByAlpha(uint32_t value, uint32_t alpha) {
    const uint32_t t = value * alpha + 128;
    return (t + (t >> 8)) >> 8;
}

constexpr uint32_t premultipliedArgb(uint32_t a, uint32_t r, uint32_t g, uint32_t b) {
    if (a == 255) return 0xFF000000u | (r << 16) | (g << 8) | b;
    return (a << 24) | (scaleByAlpha(r, a) << 16) | (scaleByAlpha(g, a) << 8) | scaleByAlpha(b, a);
}

// Premultiplied ARGB32 to plain 0xAARRGGBB.
constexpr uint32_t unpremultipliedArgb(uint32_t pixel) {
    const uint32_t a = pixel >> 24;
    if (a == 255) return pixel;
    if (a == 0) return 0;
    auto plain = [a](uint32_t c) {
        return (c * 255 + a / 2) / a > 255 ? 255 : (c * 255 + a / 2) / a;
    };
    return (a << 24) | (plain((pixel >> 16) & 0xFF) << 16) | (plain((pixel >> 8) & 0xFF) << 8) |
           plain(pixel & 0xFF);
}

// Rows of a picture being decoded top to bottom. Memory is taken as rows
// arrive: the first block is sized by the input length, later blocks double,
// so a small file that claims a huge size fails before it costs much memory.
class GrowingRows {
  public:
    GrowingRows(PixelBuffer& buffer, size_t inputBytes);

    // Pointer to row `y` (rows are filled in order); nullptr when out of memory.
    uint32_t* row(int y);
    // Trims the store to the rows received; call after the last row.
    void finish();

  private:
    PixelBuffer& buffer_;
    size_t inputBytes_;
    int rowsHeld_ = 0;
};

}  // namespace tcmap
