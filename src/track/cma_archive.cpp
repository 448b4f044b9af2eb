#include "track/cma_archive.h"

#include <cctype>
#include <cmath>
#include <optional>
#include <vector>

#include "base/text_rules.h"
#include "track/archive_fields.h"

namespace tcmap {

namespace {

constexpr double kKnotsPerMetrePerSecond = 1.943844;

// Header words before the name, and the data date after it.
enum HeaderWord : size_t {
    kInternational = 1,
    kRowCount = 2,
    kChineseNumber = 4,
    kFirstNameWord = 7,
};

bool isHeader(std::string_view line) {
    return trimView(line).starts_with("66666");
}

bool allDigits(std::string_view text) {
    if (text.empty()) return false;
    for (const char c : text) {
        if (std::isdigit(static_cast<unsigned char>(c)) == 0) return false;
    }
    return true;
}

// The name between the interval and the data date; "(nameless)" is none.
std::string headerName(const std::vector<std::string_view>& words) {
    size_t end = words.size();
    if (end > kFirstNameWord && allDigits(words.back()) && words.back().size() == 8) --end;
    std::string name;
    for (size_t i = kFirstNameWord; i < end; ++i) {
        if (!name.empty()) name += ' ';
        name += words[i];
    }
    return equalsIgnoringCase(name, "(nameless)") ? std::string() : name;
}

}  // namespace

std::string_view cmaTypeCode(int32_t category) {
    switch (category) {
        case 0:
            return "LO";
        case 1:
            return "TD";
        case 2:
        case 3:
            return "TS";
        case 4:
        case 5:
        case 6:
            return "TY";
        case 9:
            return "EX";
        default:
            return "XX";
    }
}

int32_t knotsFromMetresPerSecond(int32_t metresPerSecond) {
    return static_cast<int32_t>(std::floor(metresPerSecond * kKnotsPerMetrePerSecond + 0.5));
}

bool readCmaRow(std::string_view row, ArchiveFix& fix) {
    const std::vector<std::string_view> w = whitespaceWords(row);
    if (w.size() < 6 || w[0].size() != 10 || !allDigits(w[0])) return false;
    const auto category = strictInteger(w[1]);
    const auto lat = strictInteger(w[2]);
    const auto lon = strictInteger(w[3]);
    const auto pressure = strictInteger(w[4]);
    const auto wind = strictInteger(w[5]);
    if (!category || !lat || !lon || !pressure || !wind) return false;
    if (std::abs(*lat) > 900 || std::abs(*lon) > 3600 || std::abs(*wind) > 1000) return false;
    fix.dateTime.assign(w[0]);
    fix.minutes = "00";
    fix.type = cmaTypeCode(*category);
    fix.latTenths = *lat;
    // Degrees east from 0 to 360; any longitude is brought within -180 to 180.
    fix.lonTenths = *lon > 1800 ? *lon - 3600 : *lon < -1800 ? *lon + 3600 : *lon;
    fix.pressure = *pressure;
    fix.wind = knotsFromMetresPerSecond(*wind);
    return true;
}

bool CmaArchive::next(ArchiveStorm& storm) {
    std::string_view line;
    std::vector<std::string_view> words;
    std::optional<int32_t> rowCount;
    while (true) {
        if (!nextLine(line)) return false;
        if (trimView(line).empty()) continue;
        if (isHeader(line)) {
            words = whitespaceWords(line);
            if (words.size() > kChineseNumber) rowCount = strictInteger(words[kRowCount]);
            if (rowCount && *rowCount >= 0) break;
        }
        problems_.skipRow(lines_.lineNumber());
    }
    const std::string international(words[kInternational]);
    storm = ArchiveStorm{};
    storm.key.ids = {international, std::string(words[kChineseNumber])};
    storm.key.name = headerName(words);
    storm.key.basin = "WP";

    CountedRows rows = westernPacificRows(*rowCount, international, "CMA", storm.key.name);
    rows.isHeader = isHeader;
    // The header gives no year: the season is the year of the first fix.
    rows.firstRow = [&storm](std::string_view first) {
        const std::string_view date = trimView(first).substr(0, 4);
        storm.key.year = allDigits(date) ? readInteger(date) : 0;
    };
    rows.readRow = readCmaRow;
    readCountedRows(storm, std::move(rows));
    return true;
}

}  // namespace tcmap
