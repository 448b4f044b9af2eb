// Track fields written back into the track text: numbers with at most six
// significant digits, coordinates in tenths of a degree as signed degrees.
#pragma once

#include <string>
#include <string_view>

namespace tcmap {

// A field read as a single-precision number, written with at most six
// significant digits: 35, 1005, 35.5, 0.
std::string numberText(std::string_view field);

// A coordinate field in tenths of a degree: divided by 10 in single precision,
// negated when the field contains `letter` ('S' or 'W'), written as numberText
// with ".0" appended when the text has no point: 125N -> 12.5, 905W -> -90.5.
std::string coordinateText(std::string_view field, char letter);

}  // namespace tcmap
