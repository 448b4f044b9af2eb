// IBTrACS, the global archive of every agency's best tracks: a CSV file with
// a header row, a units row and one row per fix, the rows of a storm one
// after another under the same SID. Columns are found by their header names.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "track/archive_fix.h"
#include "track/archive_reader.h"
#include "track/ibtracs_agencies.h"

namespace tcmap {

class IbtracsArchive : public ArchiveReader {
  public:
    // With `agencyTracks`, each selected storm also gets a track per agency
    // from its own columns (see ibtracs_agencies.h); the storm's track is
    // the same either way.
    IbtracsArchive(const std::string& path, const ArchiveSelection& selection,
                   bool agencyTracks = false);
    bool next(ArchiveStorm& storm) override;

  private:
    bool readRow(ArchiveFix& fix, std::string& usaId) const;

    std::vector<int> columns_;  // by the Column enumeration of the source
    bool started_ = false;
    std::vector<std::string_view> fields_;        // of the row being read
    std::vector<IbtracsAgencyColumns> agencies_;  // those the file has, when asked for
};

// The ATCF basin code of an IBTrACS basin: NA -> AL, NI -> IO, SI and SP -> SH,
// SA -> SL; EP and WP stay.
std::string atcfBasinOfIbtracs(std::string_view basin);

// The type code IBTrACS's NATURE stands for at this wind.
std::string_view typeFromNature(std::string_view nature, int32_t wind);

}  // namespace tcmap
