// Storms as a listing, a statistics report or an index of maps: an aligned
// table, JSON or CSV. Peak wind, lowest pressure and ACE are the numbers the
// info line of a map of the storm shows; an unknown one is empty (null).
#pragma once

#include <string>
#include <vector>

#include "app/storm_catalog.h"

namespace tcmap {

enum class ReportFormat { Table, Json, Csv };

struct ReportRow {
    StormFacts storm;
    std::string file;    // the map of the storm (an index), else ""
    std::string status;  // "ok" or why the map failed (an index), else ""
};

struct ReportShape {
    bool withMap = false;    // the file and status columns
    bool withTotal = false;  // the statistics of all storms together
};

// JSON: an array of storms, or {"storms": [...], "total": {...}} with the
// total. CSV: a header line, a line per storm, and a "total" line with the
// total. Each ends with a line break.
std::string formatReport(const std::vector<ReportRow>& rows, ReportFormat format,
                         ReportShape shape);

// The statistics of all storms together, as one map of them reports.
StormStatistics totalOf(const std::vector<ReportRow>& rows);

}  // namespace tcmap
