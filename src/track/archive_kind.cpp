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

}  // namespace

ArchiveKind archiveKindOfFirstLine(std::string_view firstLine) {
    if (isCmaHeader(firstLine)) return ArchiveKind::Cma;
    if (isHurdat2Header(firstLine)) return ArchiveKind::Hurdat2;
    if (isIbtracsHeader(firstLine)) return ArchiveKind::Ibtracs;
    return ArchiveKind::None;
}

ArchiveKind archiveKind(const std::string& path) {
    return archiveKindOfFirstLine(firstLineOf(path));
}

}  // namespace tcmap
