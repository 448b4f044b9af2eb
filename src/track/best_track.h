// Turns the text of a best-track (b-deck) file into track text: one line per
// fix time, tokens followed by one space each, lines ended by CR LF.
#pragma once

#include <string>
#include <string_view>

namespace tcmap {

// The track text of a best-track file; empty when no line is usable.
std::string readBestTrack(std::string_view fileText);

}  // namespace tcmap
