// Behaviours kept so that maps, messages and settings stay exactly as this
// program has always made them, though a new design would not choose them.
// They live here and nowhere else; each says why it is kept.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tcmap {

// --- Colours ---------------------------------------------------------------

// Settings, colour tables and the window store colours as 0x00BBGGRR
// (R + 256 G + 65536 B), the byte order of the drawing library the stored
// values were written for.
constexpr uint32_t rgb(int r, int g, int b) {
    return static_cast<uint32_t>(r & 0xFF) | (static_cast<uint32_t>(g & 0xFF) << 8) |
           (static_cast<uint32_t>(b & 0xFF) << 16);
}

// A stored colour as the canvas takes it, 0xAARRGGBB: red and blue bytes
// exchanged, alpha on top.
constexpr uint32_t toArgb(uint32_t colour, uint32_t alpha = 255) {
    return ((alpha & 0xFF) << 24) | ((colour & 0xFF) << 16) | (colour & 0xFF00) |
           ((colour >> 16) & 0xFF);
}

// --- Drawing status --------------------------------------------------------

// Failed drawing calls are reported with the status codes 1 to 21 of that
// drawing library and their Chinese texts, whatever the language: users and
// their scripts read these reports. 0 (success) gives "", any other code
// "未知错误" (unknown).
std::string_view drawStatusText(int32_t status);

// --- Markers sorted by intensity -------------------------------------------

// Permutes `seq` as a step-by-step selection sort of `wind` (ascending, the
// first of equal winds wins, not stable) would: which of two equal markers
// lies on top has always followed that sort. Runs in O(n log n).
void sortByWind(std::vector<int32_t> wind, std::vector<int64_t>& seq);
// The plain quadratic selection sort, the reference sortByWind must match.
void sortByWindSelection(std::vector<int32_t> wind, std::vector<int64_t>& seq);

// --- Track values ------------------------------------------------------------
// The track readers once handed fixes to the drawing as text; the values the
// drawing computed from that text decide where and how fixes are drawn, so
// the typed fixes keep exactly those values.

// A number field read as single precision and written with six significant
// digits: 35, 1005, 35.5, 1.23457e+06 for 1234567.
std::string sixDigitText(std::string_view field);
std::string sixDigitTextOf(double value);
// The integer that text reads as: 35 for "35.5", 1234570 for "1234567".
int32_t sixDigitInteger(std::string_view field);
int32_t sixDigitInteger(int32_t value);

// A coordinate field in tenths of a degree: divided by 10 in single
// precision, negated when the field holds `letter` (the capital 'S' or 'W')
// anywhere, written with six significant digits and ".0" appended when the
// text has no point: 125N -> 12.5, 905W -> -90.5, 0W -> -0.0.
std::string tenthsText(std::string_view field, char letter);
// The value tenthsText reads as (-0.0 for "0W").
double tenthsValue(std::string_view field, char letter);
// tenthsText of a value it gave.
std::string degreesText(double value);

// A forecast hour followed "P+" in the track text, and the drawing read the
// hour with every "P+" taken out: "12" for "P+12".
std::string withoutHourPrefix(std::string_view hour);

// A fix whose storm id (basin and number) is "@" has always been passed over.
inline bool isPassedOverStormId(std::string_view stormId) {
    return stormId == "@";
}

// A grid longitude is western when its text starts with "-" ("-0" too): the
// text, not its value, has always decided.
inline bool isWesternByText(std::string_view longitude) {
    return !longitude.empty() && longitude.front() == '-';
}

}  // namespace tcmap
