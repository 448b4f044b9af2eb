// Intensity colours of fixes: the maximum wind in knots picks one of seven
// bands; winds below 1 kt are grey. Results are program colours (0x00BBGGRR);
// convert them with toArgb before drawing.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace tcmap {

// Lower wind limits (kt) of the seven bands, weakest first.
inline constexpr std::array<int32_t, 7> kWindBandLimits = {1, 34, 64, 83, 96, 113, 137};

// Band 1..7 of a wind, or 0 for a wind below 1 kt.
int windBand(int32_t wind);

// Wendrel-style marker colour: the 2023 scale when `newColour`, else the
// classic scale.
uint32_t wendrelColour(int32_t wind, bool newColour);

// TCV-style colour. The two weakest bands have their own colours for the
// system types "EX", "SD" and "SS" (exact, case-sensitive codes).
uint32_t tcvColour(int32_t wind, std::string_view typeCode);

}  // namespace tcmap
