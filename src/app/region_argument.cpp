#include "app/region_argument.h"

#include <cmath>
#include <optional>

#include "base/strict_number.h"
#include "base/text_rules.h"

namespace tcmap {

namespace {

constexpr const char* kAccepted =
    "accepted: NORTH,WEST,LATITUDE-EXTENT,LONGITUDE-EXTENT in degrees, such as 45N,100E,40,70 "
    "or 60,100,60,80 (south and west negative)";

// One coordinate, with an optional hemisphere letter that gives its sign.
std::optional<double> coordinate(std::string_view part, char positive, char negative) {
    part = trimView(part);
    double sign = 1;
    if (!part.empty()) {
        const char last = static_cast<char>(std::toupper(static_cast<unsigned char>(part.back())));
        if (last == positive || last == negative) {
            sign = last == negative ? -1 : 1;
            part.remove_suffix(1);
            // A letter takes the place of the sign: "-45N" says two things.
            if (!part.empty() && (part.front() == '-' || part.front() == '+')) return std::nullopt;
        }
    }
    const std::optional<double> value = strictNumber(part);
    if (!value) return std::nullopt;
    return sign * *value;
}

std::optional<double> extent(std::string_view part) {
    return strictNumber(trimView(part));
}

}  // namespace

std::variant<RegionArgument, std::string> parseRegionArgument(std::string_view text) {
    const std::string given = "--region " + std::string(text) + ": ";
    const std::vector<std::string> parts = splitText(text, ",");
    if (parts.size() != 4) return given + "four parts are needed, " + kAccepted;
    const std::optional<double> north = coordinate(parts[0], 'N', 'S');
    if (!north || std::abs(*north) > 90) {
        return given + "the north latitude '" + parts[0] + "' is not a latitude (90S to 90N); " +
               kAccepted;
    }
    const std::optional<double> west = coordinate(parts[1], 'E', 'W');
    if (!west || std::abs(*west) > 360) {
        return given + "the west longitude '" + parts[1] +
               "' is not a longitude (180W to 180E, or -360 to 360); " + kAccepted;
    }
    const std::optional<double> height = extent(parts[2]);
    if (!height || !(*height > 0) || *height > 180) {
        return given + "the latitude extent '" + parts[2] +
               "' must be a number above 0 and at most 180; " + kAccepted;
    }
    const std::optional<double> width = extent(parts[3]);
    if (!width || !(*width > 0) || *width > 360) {
        return given + "the longitude extent '" + parts[3] +
               "' must be a number above 0 and at most 360; " + kAccepted;
    }
    RegionArgument region;
    for (const double value : {*north, *west, *height, *width}) {
        region.parts.push_back(formatG(value, 13));
        if (!region.stored.empty()) region.stored += ",";
        region.stored += region.parts.back();
    }
    return region;
}

}  // namespace tcmap
