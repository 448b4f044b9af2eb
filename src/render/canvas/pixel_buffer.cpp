#include "render/canvas/pixel_buffer.h"

#include <algorithm>
#include <new>

namespace tcmap {

namespace {

// Decoded bytes per input byte covered by the first allocation; pictures that
// compress better than this grow their store while they decode.
constexpr size_t kFirstBlockRatio = 256;

}  // namespace

GrowingRows::GrowingRows(PixelBuffer& buffer, size_t inputBytes)
    : buffer_(buffer), inputBytes_(inputBytes) {
    buffer_.pixels.clear();
}

uint32_t* GrowingRows::row(int y) {
    const size_t width = static_cast<size_t>(buffer_.width);
    if (y < 0 || y >= buffer_.height || width == 0) return nullptr;
    if (y >= rowsHeld_) {
        int rows;
        if (rowsHeld_ == 0) {
            const size_t budget = std::max<size_t>(inputBytes_, 4096) * kFirstBlockRatio;
            rows = static_cast<int>(
                std::min<size_t>(budget / (width * 4) + 1, static_cast<size_t>(buffer_.height)));
        } else {
            rows = std::min(buffer_.height, std::max(rowsHeld_ * 2, y + 1));
        }
        rows = std::max(rows, y + 1);
        try {
            buffer_.pixels.resize(static_cast<size_t>(rows) * width);
        } catch (const std::bad_alloc&) {
            return nullptr;
        }
        rowsHeld_ = rows;
    }
    return buffer_.pixels.data() + static_cast<size_t>(y) * width;
}

void GrowingRows::finish() {
    buffer_.pixels.resize(static_cast<size_t>(rowsHeld_) * static_cast<size_t>(buffer_.width));
}

}  // namespace tcmap
