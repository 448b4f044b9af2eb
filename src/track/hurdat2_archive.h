// HURDAT2, the hurricane centre's best tracks: per storm a header
// "EP202015,           PATRICIA,     19," and that many fix rows. Both the
// current row layout and the older one (a trailing comma, no radius of
// maximum wind) are read.
#pragma once

#include <string>
#include <string_view>

#include "track/archive_fix.h"
#include "track/archive_reader.h"

namespace tcmap {

class Hurdat2Archive : public ArchiveReader {
  public:
    Hurdat2Archive(const std::string& path, const ArchiveSelection& selection)
        : ArchiveReader(path, selection) {}
    bool next(ArchiveStorm& storm) override;
};

// One fix row, with the storm's basin, number and name
// already in `fix`; false when the row is unusable.
bool readHurdat2Row(std::string_view row, ArchiveFix& fix);

}  // namespace tcmap
