// Writes the intensity chart of a command's or batch run's storms beside its
// map: a PNG, or an SVG or PDF by its name, written as maps are.
#pragma once

#include <string>
#include <vector>

#include "render/draw.h"

namespace tcmap {

// The chart of the best tracks among `inputs` (archive storms as the
// request's settings select them), drawn in the request's language and
// colour scale, to `path`. "" when written; else why not, in one line.
std::string writeChartFile(const std::string& path, const std::vector<std::string>& inputs,
                           const DrawRequest& request);

}  // namespace tcmap
