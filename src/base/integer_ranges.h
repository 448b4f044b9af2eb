// Lists of whole numbers and ranges such as "2015", "2004-2006" or
// "1950,2005": the grammar of the archive year filter, kept in one place so
// the filter and the settings check read a list the same way.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tcmap {

struct IntegerRanges {
    // Each part as an inclusive range, the smaller end first ("2006-2004"
    // is 2004..2006).
    std::vector<std::pair<int32_t, int32_t>> ranges;
    // Parts that are neither a whole number nor two joined by "-" ("2015..2016",
    // "20x5", "2015.0"), trimmed.
    std::vector<std::string> badParts;

    // False when the list holds no part at all (empty or only blanks and commas).
    bool hasParts() const { return !ranges.empty() || !badParts.empty(); }
    bool contains(int32_t value) const;
};

// Parts are separated by ","; blank parts are skipped. A part is a whole
// number, or two whole numbers joined by "-" (a leading "-" is the first
// number's sign).
IntegerRanges parseIntegerRanges(std::string_view list);

}  // namespace tcmap
