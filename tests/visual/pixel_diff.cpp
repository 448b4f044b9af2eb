#include "visual/pixel_diff.h"

#include <algorithm>

#include "render/canvas/picture.h"

namespace tcmap::testing {

PixelDiff comparePixels(const Picture& expected, const Picture& actual) {
    PixelDiff diff;
    diff.left = expected.width();
    diff.top = expected.height();
    for (int y = 0; y < expected.height(); ++y) {
        const uint32_t* want = expected.pixels() + static_cast<size_t>(y) * expected.width();
        const uint32_t* got = actual.pixels() + static_cast<size_t>(y) * actual.width();
        for (int x = 0; x < expected.width(); ++x) {
            if (want[x] == got[x]) continue;
            ++diff.differing;
            diff.left = std::min(diff.left, x);
            diff.right = std::max(diff.right, x);
            diff.top = std::min(diff.top, y);
            diff.bottom = std::max(diff.bottom, y);
        }
    }
    return diff;
}

int32_t makeDiffPicture(const Picture& expected, const Picture& actual, Picture& diff) {
    const int32_t status =
        diff.create(expected.width(), expected.height(), 0xFF000000, kPngFormatId);
    if (status != 0) return status;
    uint32_t* out = diff.pixels();
    const size_t count = static_cast<size_t>(expected.width()) * expected.height();
    for (size_t i = 0; i < count; ++i) {
        const uint32_t want = expected.pixels()[i];
        if (want != actual.pixels()[i]) {
            out[i] = 0xFFFF0000;
            continue;
        }
        // A quarter of the brightness, as grey: the map stays readable behind the red.
        const uint32_t grey = (((want >> 16) & 0xFF) + ((want >> 8) & 0xFF) + (want & 0xFF)) / 12;
        out[i] = 0xFF000000 | (grey << 16) | (grey << 8) | grey;
    }
    return 0;
}

}  // namespace tcmap::testing
