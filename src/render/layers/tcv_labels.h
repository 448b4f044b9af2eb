// Text labels of the TCV style: the storm id and time where a track becomes
// tropical, the storm id at the end of a track that never did, the time at
// the end of a best track, and the forecast hour with the wind at forecast
// points. Every label is drawn at its origin and again one map width to the
// left and to the right.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "render/layers/layer_context.h"

namespace tcmap {

inline constexpr std::string_view kLabelFontFamily = "Microsoft Yahei UI";

// The time-label format filled with the month, day and hour of a twelve-digit
// time (characters 5-6, 7-8 and 9-10, year first). A shorter time reads 0 for
// the parts it lacks.
std::string timeLabelText(std::string_view format, std::string_view time);

// The forecast-label format filled with the forecast hour (`time` read as an
// integer) and the wind; empty below hour 12.
std::string forecastLabelText(std::string_view format, std::string_view time, int32_t wind);

// Fix `i` at output position (x, y) is where its track becomes tropical (a
// best-track fix): the storm id above, the time label beside it.
void drawStartLabels(LayerContext& ctx, size_t i, double x, double y);

// The last fix of a best track without any tropical fix: its storm id.
void drawEndLabel(LayerContext& ctx, size_t i, double x, double y);

// A fix that ends its track or is a forecast fix and has no time label yet:
// the time label (best track) or the forecast label, coloured like the fix
// and centred on it.
void drawLastFixLabel(LayerContext& ctx, size_t i, double x, double y);

}  // namespace tcmap
