// The region of `tcmap draw --region`: north latitude, west longitude,
// latitude extent and longitude extent, as the window's region command takes
// them ("60,100,60,80", west longitudes negative), or with hemisphere letters
// ("45N,100E,40,70", "50N,100W,40,60", "10S,170W,30,50").
#pragma once

#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace tcmap {

struct RegionArgument {
    std::vector<std::string> parts;  // the four parts as the draw job reads them
    std::string stored;              // as [Memory] RegionSelect keeps a region
};

// The region, or the message saying what is wrong and what is accepted.
std::variant<RegionArgument, std::string> parseRegionArgument(std::string_view text);

}  // namespace tcmap
