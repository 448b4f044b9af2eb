// Which wind-radii records of a track a radii setting draws.
#pragma once

#include <cstdint>
#include <vector>

#include "track/track.h"

namespace tcmap {

// The radii settings: 0 none, 1 every fix, 2 the last fix with radii, 3 the
// tropical part of the track.
enum RadiiSelection : int32_t {
    kNoRadii = 0,
    kAllFixes = 1,
    kLastFixWithRadii = 2,
    kTropicalFixes = 3,
};

// The records the setting picks, in file order. A forecast gets every point
// for the last-fix setting. `tcvRule` (the TCV render style) decides what the
// tropical part is; any other setting picks none.
std::vector<const RadiiRecord*> selectRadii(const Track& track, int32_t setting, bool tcvRule);

}  // namespace tcmap
