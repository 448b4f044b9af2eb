// IBTrACS's per-agency columns: each agency that tracked a storm has its own
// position, wind, pressure and class columns (USA_*, TOKYO_*, CMA_*, ...),
// beside the combined ones the storm's usual track is read from. Read here
// into one fix per agency and row, with the agency's wind as it gives it (in
// its own averaging period).
#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <string_view>
#include <vector>

#include "track/archive_fields.h"
#include "track/archive_fix.h"

namespace tcmap {

// The column prefixes of the agencies, in IBTrACS's column order: USA,
// TOKYO, CMA, HKO, NEWDELHI, REUNION, BOM, NADI, WELLINGTON, DS824, TD9636,
// TD9635, NEUMANN, MLC. A track of an agency names it in Track::agency.
std::span<const std::string_view> ibtracsAgencies();

// Where one agency's columns are in a file.
class IbtracsAgencyColumns {
  public:
    IbtracsAgencyColumns(const CsvColumns& header, std::string_view agency);

    std::string_view agency() const { return agency_; }
    // The file has the agency's latitude and longitude columns.
    bool present() const { return latitude_ >= 0 && longitude_ >= 0; }

    // The agency's fix of a row whose time, basin, number and name are
    // already in `fix` (those of the storm's usual track): its position,
    // wind and pressure (0 where blank), the type code of its class (USA's
    // status, JMA's grade, CMA's category; for the others, and where the
    // class is blank, the row's NATURE at the agency's wind), and its radii
    // (USA, REUNION and BOM in quadrants; JMA's 30 and 50 kt from the
    // direction, longest and shortest radius). False when the agency gives
    // the row no usable position.
    bool read(const std::vector<std::string_view>& fields, std::string_view nature,
              ArchiveFix& fix) const;

  private:
    std::string_view field(const std::vector<std::string_view>& fields, int column) const;

    std::string_view agency_;
    int latitude_ = -1;
    int longitude_ = -1;
    int wind_ = -1;
    int pressure_ = -1;
    int status_ = -1;
    std::array<int, 12> quadrantRadii_{};  // R34, R50, R64 by NE, SE, SW, NW
    std::array<int, 6> jmaRadii_{};        // R30 and R50: direction, longest, shortest
};

}  // namespace tcmap
