// Which storms of an archive a job draws: the Years, Basins and Storms
// settings. Each is a comma-separated list; an empty one lets every storm
// through.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/integer_ranges.h"

namespace tcmap {

// What the selection looks at, known before a storm's rows are converted.
struct ArchiveStormKey {
    int32_t year = 0;              // of the storm's first fix (IBTrACS: SEASON)
    std::string basin;             // ATCF basin code of the first fix
    std::string name;              // as the archive writes it
    std::vector<std::string> ids;  // the archive's own ids of the storm
};

class ArchiveSelection {
  public:
    ArchiveSelection() = default;
    // years: "2005", "2004-2006", "1950,2005" (base/integer_ranges.h);
    // basins: "EP,CP"; storms: names or ids. A year part that is not a year
    // or a range of years matches no storm.
    ArchiveSelection(std::string_view years, std::string_view basins, std::string_view storms);

    bool selectsAll() const { return !years_.hasParts() && basins_.empty() && storms_.empty(); }
    bool yearMatches(int32_t year) const;
    bool basinMatches(std::string_view basin) const;
    // ASCII case ignored; the name or any of the ids.
    bool stormMatches(std::string_view name, const std::vector<std::string>& ids) const;
    bool matches(const ArchiveStormKey& key) const;

  private:
    IntegerRanges years_;
    std::vector<std::string> basins_;  // upper-cased
    std::vector<std::string> storms_;  // upper-cased
};

}  // namespace tcmap
