// One archive fix written as the ATCF best-track (b-deck) records it stands
// for, so that the best-track reader, the statistics pass and the wind-radii
// reader take archive storms exactly as they take b-deck files.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace tcmap {

struct BdeckFix {
    std::string basin;     // ATCF basin code, "EP"
    std::string number;    // two digits, "20"
    std::string dateTime;  // YYYYMMDDHH
    std::string minutes = "00";
    int32_t latTenths = 0;  // north positive
    int32_t lonTenths = 0;  // east positive, -1800 to 1800
    int32_t wind = 0;       // knots
    int32_t pressure = 0;   // hPa
    std::string type;       // system type code
    std::string name;
    // Radii in nautical miles of the 34, 50 and 64 kt winds, quadrants from
    // the northeast clockwise; 0 where there is none.
    std::array<std::array<int32_t, 4>, 3> radii{};
};

// Latitude and longitude fields of a b-deck record: 231N, 751W, 1525E.
std::string latitudeField(int32_t tenths);
std::string longitudeField(int32_t tenths);

// Appends one record per wind threshold that has a radius above 0, or a
// single record with threshold 0; each ends in "\n".
void appendBdeckRecords(std::string& out, const BdeckFix& fix);

}  // namespace tcmap
