#include "track/archive_selection.h"

#include <algorithm>

#include "base/text_rules.h"

namespace tcmap {

namespace {

std::vector<std::string> upperParts(std::string_view list) {
    std::vector<std::string> parts;
    for (const std::string& part : splitText(list, ",")) {
        const std::string_view word = trimView(part);
        if (!word.empty()) parts.push_back(toUpperAscii(word));
    }
    return parts;
}

bool contains(const std::vector<std::string>& list, std::string_view upper) {
    return std::find(list.begin(), list.end(), upper) != list.end();
}

}  // namespace

ArchiveSelection::ArchiveSelection(std::string_view years, std::string_view basins,
                                   std::string_view storms)
    : years_(parseIntegerRanges(years)), basins_(upperParts(basins)), storms_(upperParts(storms)) {}

bool ArchiveSelection::yearMatches(int32_t year) const {
    // A part that is not a year or a range of years matches no storm.
    return !years_.hasParts() || years_.contains(year);
}

bool ArchiveSelection::basinMatches(std::string_view basin) const {
    return basins_.empty() || contains(basins_, toUpperAscii(trimView(basin)));
}

bool ArchiveSelection::stormMatches(std::string_view name,
                                    const std::vector<std::string>& ids) const {
    if (storms_.empty()) return true;
    if (!trimView(name).empty() && contains(storms_, toUpperAscii(trimView(name)))) return true;
    return std::any_of(ids.begin(), ids.end(), [this](const std::string& id) {
        return !trimView(id).empty() && contains(storms_, toUpperAscii(trimView(id)));
    });
}

bool ArchiveSelection::matches(const ArchiveStormKey& key) const {
    return yearMatches(key.year) && basinMatches(key.basin) && stormMatches(key.name, key.ids);
}

}  // namespace tcmap
