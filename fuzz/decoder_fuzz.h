// What every picture decoder must do with any bytes: give a picture within
// the size limits, or refuse cleanly with nothing held.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <span>

#include "render/canvas/pixel_buffer.h"

namespace tcmap::fuzz {

template <typename Decode>
int checkDecoder(Decode decode, const uint8_t* data, size_t size) {
    PixelBuffer out;
    bool ok = false;
    try {
        ok = decode(std::span<const uint8_t>(data, size), out);
    } catch (const std::bad_alloc&) {
        return 0;  // the picture loader reports this as a failed load
    }
    if (ok != !out.pixels.empty()) std::abort();
    if (ok && (!pictureSizeAllowed(out.width, out.height) ||
               out.pixels.size() != size_t(out.width) * size_t(out.height))) {
        std::abort();
    }
    return 0;
}

}  // namespace tcmap::fuzz
