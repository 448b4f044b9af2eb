// Gathers the wind-radii lines of a file into the radii records the radii
// layer draws: consecutive lines with the same key make one record, placed
// where its first line with radii places it.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "track/track.h"

namespace tcmap {

// One record line as the grouping sees it.
struct RadiiLine {
    std::string_view key;     // date-time, minutes or aid number, "+", forecast hour
    bool givesRadii = false;  // a threshold of 1 kt or more and a radius code
    // Read only from a line that gives radii:
    double latitude = 0;
    double longitude = 0;
    int32_t wind = 0;
    std::string_view type;
    int32_t thresholdKt = 0;
    // "NEQ" gives four quadrants, "AAA" one radius for all four; any other
    // code keeps the quadrants of the line before it in the same record.
    enum class Quadrants { Four, One, Kept } rule = Quadrants::Kept;
    std::array<int32_t, 4> quadrantsNm{};
    bool lastQuadrantGiven = false;  // the last (NEQ) or only (AAA) radius field is not empty
};

class RadiiGrouping {
  public:
    // The line's radii (none when it gives none) as the fix it belongs to
    // holds them.
    std::optional<WindRadii> add(const RadiiLine& line);
    // The records, once the last line is in.
    std::vector<RadiiRecord> finish();

  private:
    void close();

    std::vector<RadiiRecord> records_;
    RadiiRecord open_;
    bool isOpen_ = false;
    std::string previousKey_;
    std::array<int32_t, 4> quadrants_{};
    bool quadrantsComplete_ = false;  // the record's quadrant text had all four parts
    // Places in the record's row list the layer reads in pairs; an empty row
    // takes one place, a row with radii two.
    size_t places_ = 0;
};

}  // namespace tcmap
