// Reads an ATCF track file, best track (b-deck) or forecast (a-deck), into one
// typed track in a single pass over its lines: the fixes, the wind radii and,
// for best tracks, the statistics.
#pragma once

#include <string>
#include <string_view>

#include "track/text_lines.h"
#include "track/track.h"

namespace tcmap {

// A best track keeps the first record of each fix time (date-time and
// minutes); a forecast the first record of each run of one forecast hour.
// `kind` OtherFile reads as a best track. A file that cannot be read (missing,
// a folder, a device, a FIFO) gives a track without fixes.
Track readAtcfFile(const std::string& path, TrackFileKind kind);
// The same from the bytes of a file in memory (read up to the first NUL).
Track readAtcfText(std::string_view bytes, TrackFileKind kind);
Track readAtcf(LineSource& lines, TrackFileKind kind);

}  // namespace tcmap
