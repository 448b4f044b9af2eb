// Track fields as the track text has always written them, and the values
// that text stands for: numbers with at most six significant digits of their
// single-precision value, coordinates in tenths of a degree as signed degrees.
// The typed fixes hold those values, so the drawing places and colours every
// fix exactly as it did when it read them back from the text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tcmap {

// A field read as a single-precision number, written with at most six
// significant digits: 35, 1005, 35.5, 0.
std::string numberText(std::string_view field);
// numberText of a value, as a fix holds it.
std::string numberTextOf(double value);
// The integer numberText reads as: 35 for "35.5", 1234570 for "1234567".
int32_t numberInteger(std::string_view field);
int32_t numberInteger(int32_t value);

// A coordinate field in tenths of a degree: divided by 10 in single precision,
// negated when the field contains `letter` ('S' or 'W'), written as numberText
// with ".0" appended when the text has no point: 125N -> 12.5, 905W -> -90.5.
std::string coordinateText(std::string_view field, char letter);
// The value coordinateText reads as (-0.0 for "0W").
double coordinateValue(std::string_view field, char letter);
// The value of a coordinate field written from whole tenths ("751W" for -751).
double coordinateValueOfTenths(int32_t tenths);
// coordinateText of a value it gave.
std::string coordinateTextOf(double value);

// A forecast-hour text without every "P+" in it, as it followed "P+" in the
// track text: "12" for "12", "12" for "P+12".
std::string withoutHourPrefix(std::string_view hour);

}  // namespace tcmap
