#include "track/cone_radii.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <optional>

#include "base/file_io.h"
#include "base/text_rules.h"

namespace tcmap {

namespace {

// Generous bounds that still catch a unit mix-up (km, metres) or a typo.
constexpr double kLargestRadiusNm = 1000.0;
constexpr int kLastHour = 240;

// Without spaces, tabs and the CR of CR LF files around it.
std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r\v\f");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r\v\f") - first + 1);
}

std::optional<double> strictDouble(std::string_view text) {
    text = trimmed(text);
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
        !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::optional<int> strictInt(std::string_view text) {
    text = trimmed(text);
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

bool isBasinCode(std::string_view code) {
    return code.size() == 2 && std::isalpha(static_cast<unsigned char>(code[0])) &&
           std::isalpha(static_cast<unsigned char>(code[1]));
}

// The forecast hours of the header line, or an error text.
std::string readHeader(const std::vector<std::string>& cells, std::vector<int>& hours) {
    if (cells.size() < 3 || toLowerAscii(trimmed(cells[0])) != "basin" ||
        toLowerAscii(trimmed(cells[1])) != "year") {
        return "the first line must be the header \"basin,year,<hour>,<hour>,...\"";
    }
    for (size_t i = 2; i < cells.size(); ++i) {
        const auto hour = strictInt(cells[i]);
        if (!hour || *hour <= 0 || *hour > kLastHour) {
            return "header column " + std::to_string(i + 1) + " \"" +
                   std::string(trimmed(cells[i])) + "\" is not a forecast hour (1 to " +
                   std::to_string(kLastHour) + ")";
        }
        if (!hours.empty() && *hour <= hours.back()) {
            return "the header's forecast hours must increase (" + std::to_string(*hour) +
                   " after " + std::to_string(hours.back()) + ")";
        }
        hours.push_back(*hour);
    }
    return {};
}

// One data row, or an error text.
std::string readRow(const std::vector<std::string>& cells, const std::vector<int>& hours,
                    ConeRadiiRow& row) {
    if (cells.size() != hours.size() + 2) {
        return std::to_string(cells.size()) + " fields, the header has " +
               std::to_string(hours.size() + 2);
    }
    const std::string basin = toUpperAscii(trimmed(cells[0]));
    if (!isBasinCode(basin))
        return "\"" + std::string(trimmed(cells[0])) + "\" is not a two-letter basin";
    const auto year = strictInt(cells[1]);
    if (!year || *year < 1900 || *year > 2999) {
        return "\"" + std::string(trimmed(cells[1])) + "\" is not a year";
    }
    row.basin = basin;
    row.year = *year;
    for (size_t i = 0; i < hours.size(); ++i) {
        const auto nm = strictDouble(cells[i + 2]);
        if (!nm || *nm < 0.0 || *nm > kLargestRadiusNm) {
            return "the radius at " + std::to_string(hours[i]) + " h, \"" +
                   std::string(trimmed(cells[i + 2])) +
                   "\", is not a number of nautical miles (0 to " +
                   std::to_string(static_cast<int>(kLargestRadiusNm)) + ")";
        }
        row.radii.push_back({hours[i], *nm});
    }
    return {};
}

}  // namespace

ConeRadiiTable parseConeRadii(std::string_view text, std::string_view sourceName) {
    ConeRadiiTable table;
    std::vector<int> hours;
    bool haveHeader = false;
    const auto lines = splitText(text, "\n");
    for (size_t index = 0; index < lines.size(); ++index) {
        const std::string_view line = trimmed(lines[index]);  // also drops a CR
        if (line.empty() || line.front() == '#') continue;
        const auto cells = splitText(line, ",");
        const std::string where =
            std::string(sourceName) + " line " + std::to_string(index + 1) + ": ";
        if (!haveHeader) {
            haveHeader = true;
            const std::string error = readHeader(cells, hours);
            if (!error.empty()) {
                table.errors.push_back(where + error);
                return table;  // without hours no row can be read
            }
            continue;
        }
        ConeRadiiRow row;
        std::string error = readRow(cells, hours, row);
        if (error.empty() && coneRadiiFor(table, row.basin, row.year) != nullptr &&
            coneRadiiFor(table, row.basin, row.year)->year == row.year) {
            error = row.basin + " " + std::to_string(row.year) + " is already given";
        }
        if (error.empty()) {
            table.rows.push_back(std::move(row));
        } else {
            table.errors.push_back(where + error);
        }
    }
    if (!haveHeader) table.errors.push_back(std::string(sourceName) + ": no header line");
    return table;
}

ConeRadiiTable loadConeRadii(const std::string& path) {
    const auto bytes = readFileBytes(path);
    if (!bytes) {
        ConeRadiiTable table;
        table.errors.push_back(path + ": cannot be read");
        return table;
    }
    return parseConeRadii(*bytes, nameOf(path));
}

const ConeRadiiRow* coneRadiiFor(const ConeRadiiTable& table, std::string_view basin, int year) {
    const std::string code = toUpperAscii(basin);
    const ConeRadiiRow* latestNotAfter = nullptr;
    const ConeRadiiRow* earliest = nullptr;
    for (const auto& row : table.rows) {
        if (row.basin != code) continue;
        if (row.year <= year && (!latestNotAfter || row.year > latestNotAfter->year)) {
            latestNotAfter = &row;
        }
        if (!earliest || row.year < earliest->year) earliest = &row;
    }
    return latestNotAfter ? latestNotAfter : earliest;
}

}  // namespace tcmap
