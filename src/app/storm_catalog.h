// The storms of a command's input files, each file read once: an archive
// gives each storm its filters select, an ATCF file one track. The commands
// that list storms or draw one map per storm work from this list.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "track/archive_selection.h"
#include "track/track.h"

namespace tcmap {

struct CatalogStorm {
    size_t input = 0;  // position of its file among the inputs
    std::shared_ptr<const Track> track;
};

// What a listing and a per-storm map name show of a storm.
struct StormFacts {
    std::string id;
    std::string name;
    std::string basin;
    std::string number;  // the storm number of its id ("09" of EP092023)
    std::string year;    // of the first fix
    std::string firstTime;
    std::string lastTime;
    size_t fixes = 0;
    std::optional<StormStatistics> statistics;  // none for a forecast
};

struct StormCatalog {
    std::vector<CatalogStorm> storms;   // input order, then the order within each file
    std::vector<std::string> problems;  // one line each: a file that could not be read
};

// Reads every input once. The selection applies to archive storms, as when
// a map is drawn.
StormCatalog readStormCatalog(const std::vector<std::string>& inputs,
                              const ArchiveSelection& selection);

// The same storms, each handed to `visit` as soon as it is read and then let
// go, so a listing of a whole archive holds one storm at a time; returns the
// problems.
std::vector<std::string> visitStormCatalog(
    const std::vector<std::string>& inputs, const ArchiveSelection& selection,
    const std::function<void(size_t input, Track&& track)>& visit);

StormFacts stormFacts(const Track& track);

}  // namespace tcmap
