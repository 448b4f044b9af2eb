// What a map of one storm from several agencies adds to the tracks: each
// agency's line style, the rows of the fix table each style draws, where the
// largest position difference between two agencies was, and whether winds
// were converted to another averaging period before they were coloured.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tcmap {

struct AgencyStyle {
    std::string agency;         // as the legend names it
    uint32_t colour = 0;        // program colour 0x00BBGGRR
    std::vector<float> dashes;  // empty: solid; else lengths in pen widths
};

// The largest position difference of a storm: the two fixes (rows of the
// fix table) and its text, "312 km".
struct DifferenceMark {
    size_t firstRow = 0;
    size_t secondRow = 0;
    std::string text;
};

struct AgencyScene {
    // The averaging period winds were converted to ("1-minute"); empty when
    // no wind was changed.
    std::string windsConvertedTo;
    std::vector<AgencyStyle> styles;  // in legend order
    // Per row of the fix table: the index of its style, or -1. Empty when no
    // storm came from several agencies.
    std::vector<int16_t> rowStyle;
    std::vector<DifferenceMark> marks;  // when the settings ask for them
    // Per storm of the map (MapStorm index): true for a track that is another
    // agency's view of a storm already counted, so the title counts and sums
    // each storm once. Empty when no storm came from several agencies.
    std::vector<bool> repeatsStorm;

    int styleOfRow(size_t row) const { return row < rowStyle.size() ? rowStyle[row] : -1; }
};

}  // namespace tcmap
