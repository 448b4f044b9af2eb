// The JPEG decoder on any bytes: either a picture within the size limits or
// a clean refusal with nothing held.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>

#include "render/canvas/jpeg_codec.h"
#include "render/canvas/pixel_buffer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    tcmap::PixelBuffer out;
    bool ok = false;
    try {
        ok = tcmap::decodeJpeg({data, size}, out);
    } catch (const std::bad_alloc&) {
        return 0;  // the picture loader reports this as a failed load
    }
    if (ok != !out.pixels.empty()) std::abort();
    if (ok && (!tcmap::pictureSizeAllowed(out.width, out.height) ||
               out.pixels.size() != size_t(out.width) * size_t(out.height))) {
        std::abort();
    }
    return 0;
}
