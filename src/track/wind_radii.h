// Collects the 34, 50 and 64 kt wind radii of the fixes of one track file as
// radii text: one line per fix, "key latitude longitude" followed by a
// threshold and its four quadrant radii for each radii record of the fix.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tcmap {

// Which fixes readWindRadii returns.
enum RadiiSelection : int32_t {
    kAllFixes = 1,
    kLastFixWithRadii = 2,
    kTropicalFixes = 3,
};

// The radii text of a best-track or forecast file for a selection (1 all
// fixes, 2 the last fix that has radii, 3 the tropical part of the track);
// any other selection gives the empty text. `tcvRule` is true in the TCV
// render style and decides what selection 3 takes as tropical.
std::string readWindRadii(std::string_view fileText, int32_t selection, bool tcvRule);

}  // namespace tcmap
