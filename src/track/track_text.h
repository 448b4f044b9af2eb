// The track text of a typed track: the normalized lines the readers once
// handed to the drawing (best-track and forecast forms, tokens separated by
// spaces) and the radii text. Kept to look at a file by hand
// (tools/dump_track_text) and for the golden dumps of real files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "track/track.h"

namespace tcmap {

// One line per fix, without line ends. Best-track form: every token followed
// by one space; forecast form: "P+" before the hour, no space after the type.
std::vector<std::string> trackTextLines(const Track& track);

// The radii records a radii setting picks (wind_radii.h), each "key latitude
// longitude" and its threshold and quadrant pairs, each ended by CR LF.
std::string radiiText(const Track& track, int32_t radiiSetting, bool tcvRule);

}  // namespace tcmap
