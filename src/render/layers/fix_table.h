// The fixes of one draw job, as parallel lists in acceptance order over all
// files of the job. Indexes are 0-based here.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tcmap {

struct FixTable {
    // Drawing order of the markers: indexes into the other lists, 0..N-1 in
    // acceptance order until the marker pass sorts it.
    std::vector<int64_t> seq;
    std::vector<double> x, y;          // map-picture pixels
    std::vector<int32_t> cls;          // SystemClass
    std::vector<std::string> type;     // type code, "" for a line of 6 or 7 tokens
    std::vector<std::string> time;     // time token without "P+"
    std::vector<std::string> stormId;  // upper-cased
    std::vector<int32_t> kind;         // TrackFileKind of the fix's file
    std::vector<int32_t> wind;         // knots
    std::vector<int32_t> continues;    // 0 at the last fix of each file
    std::vector<int32_t> synoptic;     // 1, or isSynopticTime with AllPoints (Wendrel)

    size_t size() const { return x.size(); }
    bool empty() const { return x.empty(); }
};

}  // namespace tcmap
