// The kind of an ATCF track file, from its name.
#pragma once

#include <string_view>

#include "track/track_model.h"

namespace tcmap {

// "dat" and "txt" are best tracks, "fst" forecasts, anything else (also a
// path without any folder separator) OtherFile, read as a best track.
TrackFileKind trackFileKind(std::string_view path);

}  // namespace tcmap
