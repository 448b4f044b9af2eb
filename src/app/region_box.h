// The rectangle of a Regional job as numbers: the region window edits it,
// its basin presets fill it, and the job asks whether any fix lies in it.
// The job itself reads the four texts of the session's regionParts; this is
// only their numeric view.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "i18n/text_id.h"

namespace tcmap {

struct Track;

struct RegionBox {
    double north = 60;      // latitude of the north edge, south negative
    double west = 100;      // longitude of the west edge, west negative
    double latExtent = 60;  // degrees of latitude
    double lonExtent = 80;  // degrees of longitude
};

// The widest longitude extent a map can show: every meridian once.
inline constexpr double kMaxLongitudeExtent = 360;

struct BasinPreset {
    TextId nameId;
    RegionBox box;
};

// The ocean basins the region window offers, in its list's order.
std::span<const BasinPreset> basinPresets();

// The box of four region texts ("60,100,60,80", the stored form); nothing
// when there are not four parts. A west edge east of 180°E is given as the
// same meridian west of Greenwich, so the window's 0–180 E/W fields hold it.
RegionBox regionBoxFromText(const std::string& text);

// "north,west,latExtent,lonExtent" with up to 13 significant digits: the
// text the region prompt took, which the Regional job reads.
std::string regionText(const RegionBox& box);

// The west edge as a longitude east of Greenwich in [0, 360), as the map
// frame places it (a west edge written with "-" counts from 360).
double westEdgeEast(double west);

// Whether any fix of the tracks lies inside the box (edges included),
// across the 0° and 180° meridians alike.
bool regionHoldsFix(const std::vector<Track>& tracks, const RegionBox& box);
// The same for the four region texts a Regional job reads.
bool regionHoldsFix(const std::vector<Track>& tracks, const std::vector<std::string>& parts);
// Those four texts as one, comma-separated, as the region is stored and shown.
std::string joinRegionParts(const std::vector<std::string>& parts);

}  // namespace tcmap
