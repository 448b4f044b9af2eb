// Whether time labels carry the year: always, never, or when the map's best
// tracks span more than one year (a label "102412Z" alone then cannot say
// which October it means).
#pragma once

#include <string>
#include <string_view>

#include "render/layers/layer.h"

namespace tcmap {

bool timesCarryYear(const LayerInput& input);

// "2014-10-24 12Z" of a time "201410241200"; a time too short for a date is
// given back as it is.
std::string datedTimeLabel(std::string_view time);

}  // namespace tcmap
