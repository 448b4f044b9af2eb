#include "track/jma_archive.h"

#include <cctype>
#include <cmath>
#include <optional>

#include "base/text_rules.h"
#include "track/archive_fields.h"

namespace tcmap {

namespace {

// Columns (from 0) and widths of the fixed layout.
struct Field {
    size_t at;
    size_t width;
};

constexpr Field kInternational{6, 4};
constexpr Field kRowCount{12, 3};
constexpr Field kName{30, 20};

constexpr Field kTime{0, 8};
constexpr Field kGrade{13, 1};
constexpr Field kLatitude{15, 3};
constexpr Field kLongitude{19, 4};
constexpr Field kPressure{24, 4};
constexpr Field kWind{33, 3};
// Direction, longest and shortest radius of the 50-kt and the 30-kt winds.
constexpr std::array<Field, 3> kRadius50{{{41, 1}, {42, 4}, {47, 4}}};
constexpr std::array<Field, 3> kRadius30{{{52, 1}, {53, 4}, {58, 4}}};

// The field's text, shorter or empty where the line ends early.
std::string_view column(std::string_view line, Field field) {
    if (field.at >= line.size()) return {};
    return line.substr(field.at, field.width);
}

bool allDigits(std::string_view text) {
    if (text.empty()) return false;
    for (const char c : text) {
        if (std::isdigit(static_cast<unsigned char>(c)) == 0) return false;
    }
    return true;
}

bool isHeader(std::string_view line) {
    return line.starts_with("66666");
}

// A blank field is missing (nullopt with `present` false); anything else must
// be a number.
std::optional<int32_t> optionalInteger(std::string_view field, bool& readable) {
    field = trimView(field);
    if (field.empty()) return std::nullopt;
    const auto value = strictInteger(field);
    if (!value) readable = false;
    return value;
}

// The quadrants of one threshold's three fields; none when any is blank or
// not a number, so a damaged radius costs only itself.
std::array<int32_t, 4> radiiOf(std::string_view row, const std::array<Field, 3>& fields) {
    const std::string_view direction = column(row, fields[0]);
    const auto longest = strictInteger(column(row, fields[1]));
    const auto shortest = strictInteger(column(row, fields[2]));
    if (!allDigits(direction) || !longest || !shortest) return {};
    return jmaQuadrantRadii(direction[0] - '0', *longest, *shortest);
}

}  // namespace

int32_t jmaFullYear(int32_t twoDigitYear) {
    return twoDigitYear >= 51 ? 1900 + twoDigitYear : 2000 + twoDigitYear;
}

std::string_view jmaTypeCode(int32_t grade, int32_t wind) {
    switch (grade) {
        case 2:
            return "TD";
        case 3:
        case 4:
            return "TS";
        case 5:
            return "TY";
        case 6:
            return "EX";
        case 7:
            if (wind <= 0) return "XX";
            return wind < 34 ? "TD" : wind < 64 ? "TS" : "TY";
        case 9:
            return wind < 64 ? "TS" : "TY";
        default:
            return "XX";
    }
}

std::array<int32_t, 4> jmaQuadrantRadii(int32_t direction, int32_t longestNm, int32_t shortestNm) {
    const int32_t longest = std::max(longestNm, 0);
    const int32_t shortest = std::max(std::min(shortestNm, longest), 0);
    // Quadrants NE, SE, SW, NW that the longest radius reaches, by direction
    // 1 NE, 2 E, 3 SE, 4 S, 5 SW, 6 W, 7 NW, 8 N.
    constexpr std::array<std::array<bool, 4>, 8> kTowards{{
        {true, false, false, false},
        {true, true, false, false},
        {false, true, false, false},
        {false, true, true, false},
        {false, false, true, false},
        {false, false, true, true},
        {false, false, false, true},
        {true, false, false, true},
    }};
    if (direction == 9) return {longest, longest, longest, longest};
    if (direction < 1 || direction > 8) return {};
    std::array<int32_t, 4> quadrants{};
    for (size_t q = 0; q < 4; ++q) {
        quadrants[q] = kTowards[static_cast<size_t>(direction - 1)][q] ? longest : shortest;
    }
    return quadrants;
}

bool readJmaRow(std::string_view row, ArchiveFix& fix) {
    const std::string_view time = column(row, kTime);
    const std::string_view grade = column(row, kGrade);
    if (time.size() != kTime.width || !allDigits(time) || !allDigits(grade)) return false;
    const auto lat = strictInteger(column(row, kLatitude));
    const auto lon = strictInteger(column(row, kLongitude));
    if (!lat || !lon || *lat < 0 || *lat > 900 || *lon < 0 || *lon > 3600) return false;
    bool readable = true;
    const auto pressure = optionalInteger(column(row, kPressure), readable);
    const auto wind = optionalInteger(column(row, kWind), readable);
    if (!readable || (wind && (*wind < 0 || *wind > 1000))) return false;

    fix.dateTime = std::to_string(jmaFullYear(readInteger(time.substr(0, 2))));
    fix.dateTime.append(time.substr(2));
    fix.minutes = "00";
    fix.latTenths = *lat;
    fix.lonTenths = *lon > 1800 ? *lon - 3600 : *lon;
    fix.pressure = pressure.value_or(0);
    fix.wind = wind.value_or(0);
    fix.type = jmaTypeCode(grade[0] - '0', fix.wind);
    fix.radiiThresholdsKt = {30, 50, 0};
    fix.radii = {radiiOf(row, kRadius30), radiiOf(row, kRadius50), std::array<int32_t, 4>{}};
    return true;
}

bool JmaArchive::next(ArchiveStorm& storm) {
    std::string_view line;
    std::optional<int32_t> rowCount;
    std::string international;
    while (true) {
        if (!nextLine(line)) return false;
        if (trimView(line).empty()) continue;
        if (isHeader(line)) {
            international.assign(trimView(column(line, kInternational)));
            rowCount = strictInteger(column(line, kRowCount));
            if (allDigits(international) && rowCount && *rowCount >= 0) break;
        }
        problems_.skipRow(lines_.lineNumber());
    }
    storm = ArchiveStorm{};
    storm.key.ids = {international};
    storm.key.name.assign(trimView(column(line, kName)));
    storm.key.basin = "WP";
    // The season is the year of the international number: 1801 is a storm
    // of 2018 even where its first fix is in December 2017.
    storm.key.year =
        international.size() == 4 ? jmaFullYear(readInteger(international.substr(0, 2))) : 0;

    CountedRows rows = westernPacificRows(*rowCount, international, "JMA", storm.key.name);
    rows.isHeader = isHeader;
    rows.readRow = readJmaRow;
    readCountedRows(storm, std::move(rows));
    return true;
}

}  // namespace tcmap
