// One map per storm: the storms of a catalog drawn each on its own, on
// several threads, each drawing an independent request. The outcome of every
// storm is kept; one failed map does not stop the others.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "app/storm_catalog.h"
#include "app/storm_report.h"
#include "render/draw.h"

namespace tcmap {

struct StormMapJob {
    CatalogStorm storm;
    std::string path;  // where its map goes
};

// The part of the storm list a shard draws: storm k (from 0, in input order,
// then in each file's order) belongs to shard (k mod count) + 1.
std::vector<CatalogStorm> shardOf(const std::vector<CatalogStorm>& storms, size_t index,
                                  size_t count);

// Called after each map, on the thread that drew it, one call at a time:
// the number done so far and the row of the map.
using MapDone = std::function<void(size_t done, const ReportRow& row)>;

// Draws each job from `base` (its tracks replaced by the storm) on `threads`
// threads and writes it; the rows in job order.
std::vector<ReportRow> drawStormMaps(const std::vector<StormMapJob>& jobs, const DrawRequest& base,
                                     size_t threads, const MapDone& done);

}  // namespace tcmap
