// One storm seen by several agencies, as a drawing job handles it: which
// tracks the settings let through, their winds converted to the averaging the
// settings ask for, and after the files are read, the tracks that are one
// storm grouped, their largest differences written to the job log and the
// agencies' line styles and difference marks handed to the layers.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "config/agency_settings.h"
#include "render/layers/agency_scene.h"
#include "render/layers/fix_table.h"
#include "render/layers/map_storms.h"
#include "track/track.h"
#include "track/wind_averaging.h"

namespace tcmap {

class LanguagePack;

class AgencyComparison {
  public:
    explicit AgencyComparison(const AgencySettings& settings);

    // Whether the settings draw a track of this agency.
    bool draws(const Track& track) const { return settings_.draws(track.agency); }

    // Whether winds are converted at all.
    bool convertsWinds() const { return target_ != WindAveraging::AsGiven; }

    // The wind of a fix of that track as the map classifies it: converted
    // from the agency's averaging to the chosen one. Notes when it changed.
    int32_t mapWind(const Track& track, int32_t wind);

    // A best track the map drew, as storm `storm` of the job's list.
    void keep(const Track& track, size_t storm);

    // Groups the kept tracks into storms; for each storm with several
    // agencies writes its differences through `writeLine` and gives its
    // tracks their agencies' line styles.
    AgencyScene finish(const std::vector<MapStorm>& storms, const FixTable& fixes,
                       const LanguagePack& lang,
                       const std::function<void(const std::string&)>& writeLine);

  private:
    struct Kept {
        Track track;
        size_t storm = 0;
    };

    AgencySettings settings_;
    WindAveraging target_ = WindAveraging::AsGiven;
    WindAveragingFactors factors_;
    bool converted_ = false;
    std::vector<Kept> kept_;
    std::vector<std::string> agencies_;  // of the kept tracks, in the order first seen
};

// "201810241200" as "2018-10-24 12:00Z"; another text as it is.
std::string readableTime(const std::string& time);

}  // namespace tcmap
