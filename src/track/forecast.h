// Turns the text of a forecast (a-deck) file into track text: one line per
// forecast hour, CR LF line ends.
#pragma once

#include <string>
#include <string_view>

namespace tcmap {

// The forecast track text of a file; empty when no line is usable.
std::string readForecast(std::string_view fileText);

}  // namespace tcmap
