// The statistics pass: adds the peak wind, lowest pressure and accumulated
// cyclone energy of one best-track file to the run-wide StormStatistics.
#pragma once

#include <cstdint>
#include <string_view>

#include "track/track_model.h"

namespace tcmap {

// The basin rule a fix falls under, from its hemispheres and longitude.
enum class BasinGroup : int32_t {
    NorthwestPacific = 0,
    AtlanticEastPacific = 1,
    IndianSouthern = 2
};

// Both fields are trimmed raw record fields, for example 125N and 1305E.
BasinGroup basinGroup(std::string_view latField, std::string_view lonField);

// Reads the raw bytes of one best-track file (up to the first NUL) and adds the
// file to `run`. A file without a usable record leaves `run` untouched.
void accumulateStatistics(std::string_view fileBytes, StormStatistics& run);

}  // namespace tcmap
