// Exact comparison of two decoded pictures of the same size, and a picture of
// where they differ, for the reference cases of tests/visual/.
#pragma once

#include <cstdint>

namespace tcmap {
class Picture;
}

namespace tcmap::testing {

struct PixelDiff {
    int64_t differing = 0;  // pixels whose ARGB value differs
    // Smallest rectangle holding them (inclusive); meaningless when none differ.
    int left = 0, top = 0, right = -1, bottom = -1;
};

// Both pictures must have the same size.
PixelDiff comparePixels(const Picture& expected, const Picture& actual);

// The expected picture dimmed to grey, with every differing pixel in pure red,
// so a few wrong pixels stand out in a large map. Returns a drawing status.
int32_t makeDiffPicture(const Picture& expected, const Picture& actual, Picture& diff);

}  // namespace tcmap::testing
