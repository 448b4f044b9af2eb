// Loading one track file for a draw job: its kind from the extension, its
// track lines (with the statistics pass for best tracks) and its wind radii.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "track/track_model.h"

namespace tcmap {

// "dat" and "txt" are best tracks, "fst" forecasts, anything else (also a
// path without any folder separator) OtherFile, read as a best track.
TrackFileKind trackFileKind(std::string_view path);

// The lines of the file's track text (without their CR LF). For kinds other
// than ForecastFile the file is also added to `run`. A file that cannot be
// read (missing, a folder, a device, a FIFO) gives no lines.
std::vector<std::string> loadTrackLines(const std::string& path, TrackFileKind kind,
                                        StormStatistics& run);

// An archive storm, given as the b-deck records of its fixes, goes through
// the same statistics pass, best-track reader and radii reader as a
// best-track file.
std::vector<std::string> archiveStormLines(std::string_view records, StormStatistics& run);
std::string archiveStormRadii(std::string_view records, int32_t radiiSetting, bool tcvRule);

// The file's radii text for the draw job's radii setting (0 none, 1 all fixes,
// 2 the last fix with radii, 3 the tropical part). A forecast file with
// setting 2 gets the radii of all its forecast points.
std::string loadRadiiText(const std::string& path, TrackFileKind kind, int32_t radiiSetting,
                          bool tcvRule);

}  // namespace tcmap
