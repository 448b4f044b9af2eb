// A plain sea-blue world picture for runs that need a map file but not its
// land: quick to decode, and every pixel of a drawing on it is the drawing's.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "render/canvas/picture.h"

namespace tcmap::testing {

// Writes a width x height PNG of one colour to `path`; false (with a test
// failure) when it cannot.
inline bool writePlainMap(const std::string& path, int width = 1440, int height = 720) {
    Picture map;
    const bool written = map.create(width, height, 0xFF0A285A, kPngFormatId) == 0 &&
                         map.save(path, kPngFormatId) == 0;
    EXPECT_TRUE(written) << path;
    return written;
}

}  // namespace tcmap::testing
