#include "track/bdeck_record.h"

#include <algorithm>

namespace tcmap {

namespace {

constexpr std::array<int32_t, 3> kThresholds{34, 50, 64};

void appendNumber(std::string& out, int32_t value) {
    out += std::to_string(value);
    out += ", ";
}

// A comma inside a name would shift every later field of the record.
std::string nameField(std::string_view name) {
    std::string field(name);
    std::replace(field.begin(), field.end(), ',', ' ');
    std::replace(field.begin(), field.end(), '\t', ' ');
    return field;
}

void appendRecord(std::string& out, const BdeckFix& fix, const std::string& position,
                  const std::string& tail, int threshold) {
    out += fix.basin;
    out += ", ";
    out += fix.number;
    out += ", ";
    out += fix.dateTime;
    out += ", ";
    out += fix.minutes;
    out += ", BEST, 0, ";
    out += position;
    appendNumber(out, fix.wind);
    appendNumber(out, fix.pressure);
    out += fix.type;
    out += ", ";
    if (threshold < 0) {
        out += "0, , 0, 0, 0, 0, ";
    } else {
        appendNumber(out, kThresholds[threshold]);
        out += "NEQ, ";
        for (const int32_t radius : fix.radii[threshold]) appendNumber(out, std::max(radius, 0));
    }
    out += tail;
}

}  // namespace

std::string latitudeField(int32_t tenths) {
    return std::to_string(tenths < 0 ? -tenths : tenths) + (tenths < 0 ? "S" : "N");
}

std::string longitudeField(int32_t tenths) {
    return std::to_string(tenths < 0 ? -tenths : tenths) + (tenths < 0 ? "W" : "E");
}

void appendBdeckRecords(std::string& out, const BdeckFix& fix) {
    const std::string position =
        latitudeField(fix.latTenths) + ", " + longitudeField(fix.lonTenths) + ", ";
    // Fields 17 to 26 (gusts, subregion and the rest) are left empty; 27 is
    // the name.
    const std::string tail = ", , , , , , , , , , " + nameField(fix.name) + ",\n";
    bool wrote = false;
    for (int t = 0; t < 3; ++t) {
        const auto& quadrants = fix.radii[t];
        if (std::any_of(quadrants.begin(), quadrants.end(), [](int32_t r) { return r > 0; })) {
            appendRecord(out, fix, position, tail, t);
            wrote = true;
        }
    }
    if (!wrote) appendRecord(out, fix, position, tail, -1);
}

}  // namespace tcmap
