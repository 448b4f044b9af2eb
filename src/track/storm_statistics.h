// The statistics of a storm: peak wind, lowest pressure and accumulated
// cyclone energy under the basin rules, gathered record by record while a
// reader reads a best track, and added up over the storms of a job.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "track/track_model.h"

namespace tcmap {

// The basin rule a fix falls under, from its hemispheres and longitude.
enum class BasinGroup : int32_t {
    NorthwestPacific = 0,
    AtlanticEastPacific = 1,
    IndianSouthern = 2
};

// `longitude` in degrees without sign (the hemisphere says the side).
BasinGroup basinGroupOf(bool southern, bool western, double longitude);
// Both fields are trimmed raw record fields, for example 125N and 1305E: the
// last letter gives the hemisphere (any case), the integer part of the field
// the tenths of the longitude.
BasinGroup basinGroup(std::string_view latField, std::string_view lonField);

// One record as the statistics see it.
struct StatisticsRecord {
    bool namesStorm = false;  // the record has a basin or a storm number
    std::string_view time;    // date-time and the minutes padded to two digits
    BasinGroup group = BasinGroup::NorthwestPacific;
    std::string_view type;  // upper-cased
    int32_t wind = 0;
    std::optional<int32_t> pressure;  // when the record has the field
};

// The statistics of one file or archive storm, record by record. Records of
// the same time as the record before add nothing: they carry further radii.
class StatisticsPass {
  public:
    void add(const StatisticsRecord& record);
    // nullopt when the last record named no storm: such a file adds nothing.
    std::optional<StormStatistics> result() const;

  private:
    double ace_ = 0.0;
    int32_t peakWind_ = 0;
    int32_t lowestPressure_ = 0;
    bool namesStorm_ = false;
    std::string previousTime_;
};

// Adds a storm's statistics to a job's: ACE adds up, the peak wind and the
// lowest pressure are the extremes.
void addToRun(StormStatistics& run, const StormStatistics& storm);

// Reads the raw bytes of one best-track file (up to the first NUL) and adds the
// file to `run`. A file without a usable record leaves `run` untouched.
void accumulateStatistics(std::string_view fileBytes, StormStatistics& run);

}  // namespace tcmap
