// The geographic window a draw job shows.
#pragma once

#include <cstdint>

namespace tcmap {

enum class DrawMode : int32_t {
    Normal = 0,    // fitted to the fixes, with margins and a minimum size
    Global = 1,    // the whole map picture
    Regional = 2,  // a rectangle given in degrees
};

}  // namespace tcmap
