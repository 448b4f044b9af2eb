#include "track/archive_kind.h"

#include <algorithm>
#include <cctype>

#include "base/text_rules.h"
#include "track/archive_fields.h"
#include "track/text_lines.h"

namespace tcmap {

namespace {

bool allLetters(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
        return std::isalpha(static_cast<unsigned char>(c)) != 0;
    });
}

bool allDigits(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
        return std::isdigit(static_cast<unsigned char>(c)) != 0;
    });
}

// Basin letters, two digits of number, four of year, then the name and the
// row count: "AL122005,            KATRINA,     34,". A negative count is a
// damaged archive, still an archive (its reader says what is wrong), never
// an ATCF file.
bool isHurdat2Header(std::string_view line) {
    const auto fields = splitText(line, ",");
    if (fields.size() < 3) return false;
    const std::string_view id = trimView(fields[0]);
    std::string_view count = trimView(fields[2]);
    if (count.starts_with('-')) count.remove_prefix(1);
    return id.size() == 8 && allLetters(id.substr(0, 2)) && allDigits(id.substr(2)) &&
           allDigits(count);
}

bool isIbtracsHeader(std::string_view line) {
    const CsvColumns columns(line);
    return columns.find("SID") >= 0 && columns.find("ISO_TIME") >= 0 && columns.find("LAT") >= 0 &&
           columns.find("LON") >= 0;
}

// "66666" and then at least the numbers up to the interval.
bool isCmaHeader(std::string_view line) {
    const auto words = whitespaceWords(line);
    if (words.size() < 7 || words[0] != "66666") return false;
    for (size_t i = 1; i < 7; ++i) {
        if (!allDigits(words[i])) return false;
    }
    return true;
}

// JMA's fixed columns: "66666", the international number in columns 7-10
// and the row count in 13-15. Early storms have neither a tropical-cyclone
// number nor a name, so the header has fewer words than CMA's.
bool isJmaHeader(std::string_view line) {
    if (!line.starts_with("66666 ") || line.size() < 15) return false;
    return allDigits(line.substr(6, 4)) && allDigits(trimView(line.substr(12, 3)));
}

bool isJmaRow(std::string_view line) {
    const auto words = whitespaceWords(line);
    return words.size() >= 2 && words[0].size() == 8 && allDigits(words[0]) && words[1] == "002";
}

// How many lines after the first to look through for the first row.
constexpr int kLinesToFirstRow = 8;

}  // namespace

ArchiveKind archiveKindOfFirstLine(std::string_view firstLine) {
    if (isCmaHeader(firstLine)) return ArchiveKind::Cma;
    if (isHurdat2Header(firstLine)) return ArchiveKind::Hurdat2;
    if (isIbtracsHeader(firstLine)) return ArchiveKind::Ibtracs;
    return ArchiveKind::None;
}

ArchiveKind archiveKindOfLines(std::string_view firstLine, std::string_view firstRow) {
    if ((isCmaHeader(firstLine) || isJmaHeader(firstLine)) && isJmaRow(firstRow)) {
        return ArchiveKind::Jma;
    }
    return archiveKindOfFirstLine(firstLine);
}

ArchiveKind archiveKind(const std::string& path) {
    const std::string first = firstLineOf(path);
    if (!first.starts_with("66666")) return archiveKindOfFirstLine(first);
    FileLines lines(path);
    std::string_view line;
    lines.next(line);
    for (int i = 0; i < kLinesToFirstRow && lines.next(line); ++i) {
        if (!trimView(line).empty() && !line.starts_with("66666")) {
            return archiveKindOfLines(first, line);
        }
    }
    return archiveKindOfFirstLine(first);
}

}  // namespace tcmap
