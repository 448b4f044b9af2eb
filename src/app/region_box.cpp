#include "app/region_box.h"

#include <array>
#include <cmath>

#include "base/text_rules.h"
#include "track/track.h"

namespace tcmap {

namespace {

using T = TextId;

// Generous boxes around each basin's usual tracks, north edge first.
constexpr std::array<BasinPreset, 7> kBasinPresets{{
    {T::RegionNorthAtlantic, {60, -100, 60, 100}},
    {T::RegionNortheastPacific, {40, -180, 40, 100}},
    {T::RegionNorthwestPacific, {60, 100, 60, 80}},
    {T::RegionNorthIndian, {30, 40, 30, 60}},
    {T::RegionSouthIndian, {0, 30, 40, 80}},
    {T::RegionAustralian, {0, 90, 40, 70}},
    {T::RegionSouthPacific, {0, 160, 40, 90}},
}};

}  // namespace

std::span<const BasinPreset> basinPresets() {
    return kBasinPresets;
}

RegionBox regionBoxFromText(const std::string& text) {
    const std::vector<std::string> parts = splitText(text, ",");
    RegionBox box;
    if (parts.size() != 4) return box;
    box.north = readNumber(parts[0]);
    box.west = readNumber(parts[1]);
    box.latExtent = readNumber(parts[2]);
    box.lonExtent = readNumber(parts[3]);
    const double east = westEdgeEast(box.west);
    box.west = east > 180 ? east - 360 : east;
    return box;
}

std::string regionText(const RegionBox& box) {
    return formatG(box.north, 13) + "," + formatG(box.west, 13) + "," + formatG(box.latExtent, 13) +
           "," + formatG(box.lonExtent, 13);
}

double westEdgeEast(double west) {
    double east = std::fmod(west, 360.0);
    if (east < 0) east += 360;
    // + 0.0 turns -0.0 into 0, which a "-0" text would place at 360; a tiny
    // negative rounds up to 360 itself, which is 0 again.
    return east < 360 ? east + 0.0 : 0;
}

bool regionHoldsFix(const std::vector<Track>& tracks, const RegionBox& box) {
    const double south = box.north - box.latExtent;
    const double west = westEdgeEast(box.west);
    for (const Track& track : tracks) {
        for (const Fix& fix : track.fixes) {
            if (fix.latitude > box.north || fix.latitude < south) continue;
            // The fix's longitude east of the west edge, in [0, 360).
            const double east = westEdgeEast(fix.longitude - west);
            if (east <= box.lonExtent) return true;
        }
    }
    return false;
}

bool regionHoldsFix(const std::vector<Track>& tracks, const std::vector<std::string>& parts) {
    return regionHoldsFix(tracks, regionBoxFromText(joinRegionParts(parts)));
}

std::string joinRegionParts(const std::vector<std::string>& parts) {
    std::string text;
    for (const std::string& part : parts) text += (text.empty() ? "" : ",") + part;
    return text;
}

}  // namespace tcmap
