#include "track/hurdat2_archive.h"

#include <cctype>
#include <cmath>
#include <optional>
#include <vector>

#include "base/text_rules.h"
#include "track/archive_fields.h"

namespace tcmap {

namespace {

// No storm has come near this many six-hourly rows (a year of them).
constexpr int32_t kMaxRowsPerStorm = 1500;

// Columns of a fix row.
enum Column : size_t {
    kDate = 0,
    kTime = 1,
    kStatus = 3,
    kLat = 4,
    kLon = 5,
    kWind = 6,
    kPressure = 7,
    kFirstRadius = 8,  // 34 kt NE, SE, SW, NW, then 50 kt and 64 kt
    kColumnsNeeded = 8,
};

constexpr int32_t kMissing = -99;  // -99 and -999 mark a missing value

bool digitsOnly(std::string_view text, size_t length) {
    if (text.size() != length) return false;
    for (const char c : text) {
        if (std::isdigit(static_cast<unsigned char>(c)) == 0) return false;
    }
    return true;
}

// "23.1N" -> 231, "75.1W" -> -751; false beyond `limit` degrees.
bool readCoordinate(std::string_view field, char positive, char negative, double limit,
                    int32_t& tenths) {
    field = trimView(field);
    if (field.size() < 2) return false;
    const char hemisphere =
        static_cast<char>(std::toupper(static_cast<unsigned char>(field.back())));
    if (hemisphere != positive && hemisphere != negative) return false;
    const auto value = strictNumber(field.substr(0, field.size() - 1));
    if (!value || std::abs(*value) > limit) return false;
    tenths = static_cast<int32_t>(std::lround(*value * 10));
    if (hemisphere == negative) tenths = -tenths;
    return true;
}

// A latitude beyond the poles places the fix nowhere; a longitude written the
// long way round ("190.0W") is the same meridian within -180 to 180 degrees.
bool readPosition(std::string_view lat, std::string_view lon, ArchiveFix& fix) {
    if (!readCoordinate(lat, 'N', 'S', 90, fix.latTenths) ||
        !readCoordinate(lon, 'E', 'W', 360, fix.lonTenths)) {
        return false;
    }
    if (fix.lonTenths > 1800) fix.lonTenths -= 3600;
    if (fix.lonTenths < -1800) fix.lonTenths += 3600;
    return true;
}

int32_t orZero(int32_t value) {
    return value <= kMissing ? 0 : value;
}

// A line that starts with a letter is a storm header; rows start with a date.
bool looksLikeHeader(std::string_view line) {
    const std::string_view text = trimView(line);
    return !text.empty() && std::isalpha(static_cast<unsigned char>(text.front())) != 0;
}

}  // namespace

bool readHurdat2Row(std::string_view row, ArchiveFix& fix) {
    std::vector<std::string_view> f;
    splitCsv(row, f);
    if (f.size() < kColumnsNeeded) return false;
    const std::string_view date = trimView(f[kDate]);
    const std::string_view time = trimView(f[kTime]);
    if (!digitsOnly(date, 8) || !digitsOnly(time, 4)) return false;
    const auto wind = strictInteger(f[kWind]);
    const auto pressure = strictInteger(f[kPressure]);
    if (!wind || !pressure) return false;
    if (!readPosition(f[kLat], f[kLon], fix)) return false;
    fix.dateTime.assign(date);
    fix.dateTime.append(time.substr(0, 2));
    fix.minutes.assign(time.substr(2, 2));
    fix.type.assign(trimView(f[kStatus]));
    fix.wind = orZero(*wind);
    fix.pressure = orZero(*pressure);
    for (size_t t = 0; t < 3; ++t) {
        for (size_t q = 0; q < 4; ++q) {
            const size_t column = kFirstRadius + t * 4 + q;
            const auto radius = column < f.size() ? strictInteger(f[column]) : std::nullopt;
            fix.radii[t][q] = radius ? orZero(*radius) : 0;
        }
    }
    return true;
}

bool Hurdat2Archive::next(ArchiveStorm& storm) {
    std::string_view line;
    // Find the next header; anything else between storms is a stray row.
    std::vector<std::string_view> header;
    std::optional<int32_t> rowCount;
    while (true) {
        if (!nextLine(line)) return false;
        if (trimView(line).empty()) continue;
        splitCsv(line, header);
        if (header.size() >= 3 && looksLikeHeader(line)) {
            rowCount = strictInteger(header[2]);
            // A negative or absurd count is a damaged header: counted with
            // the skipped rows, and its rows are stray rows.
            if (rowCount && *rowCount >= 0 && *rowCount <= kMaxRowsPerStorm) break;
        }
        problems_.skipRow(lines_.lineNumber());
    }
    const std::string id(trimView(header[0]));
    storm = ArchiveStorm{};
    storm.key.ids = {id};
    storm.key.name.assign(trimView(header[1]));
    storm.key.basin = toUpperAscii(std::string_view(id).substr(0, 2));
    storm.key.year = id.size() >= 8 ? readInteger(std::string_view(id).substr(4, 4)) : 0;

    ArchiveFix fix;
    fix.basin = storm.key.basin;
    fix.number = id.size() >= 4 ? id.substr(2, 2) : std::string();
    fix.name = storm.key.name;
    ArchiveTrackBuilder builder(path_, "HURDAT2");
    const auto keepTrack = [&] {
        if (storm.selected) storm.track = builder.finish(id, storm.key.name, storm.key.basin);
    };
    for (int32_t row = 0; row < *rowCount; ++row) {
        const bool got = nextLine(line);
        if (!got || looksLikeHeader(line)) {
            problems_.cutShortStorm = id;
            if (got) unread();
            if (row == 0) storm.selected = selection_.matches(storm.key);
            keepTrack();
            return true;
        }
        if (row == 0) {
            // The year of the first fix decides, when the row gives one.
            const std::string_view date = trimView(line.substr(0, line.find(',')));
            if (digitsOnly(date, 8)) storm.key.year = readInteger(date.substr(0, 4));
            storm.selected = selection_.matches(storm.key);
        }
        if (!storm.selected) continue;  // passed over, not converted
        if (readHurdat2Row(line, fix)) {
            if (!builder.add(fix, lines_.lineNumber())) problems_.skipRow(lines_.lineNumber());
        } else {
            problems_.skipRow(lines_.lineNumber());
        }
    }
    if (*rowCount == 0) storm.selected = selection_.matches(storm.key);
    keepTrack();
    return true;
}

}  // namespace tcmap
