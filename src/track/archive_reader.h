// The storms of an archive, one at a time in archive order, each as a typed
// track. The file is streamed: only the storm being read is held, and the
// rows of a storm the selection leaves out are passed over without being
// converted where the archive allows it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "track/archive_fix.h"
#include "track/archive_kind.h"
#include "track/archive_selection.h"
#include "track/text_lines.h"
#include "track/track.h"

namespace tcmap {

struct ArchiveStorm {
    ArchiveStormKey key;
    bool selected = false;
    Track track;  // only for a selected storm
    // Only for a selected storm of an IBTrACS file read with agency tracks:
    // one track per agency whose columns give the storm a position, in the
    // order of ibtracsAgencies(); empty otherwise.
    std::vector<Track> agencyTracks;
};

// How an archive is read beyond the storm selection.
struct ArchiveOptions {
    // IBTrACS: besides the storm's track (from the USA or WMO columns, as
    // always), a track from each agency's own columns.
    bool agencyTracks = false;
};

// What a reader had to leave out, for one log line each.
struct ArchiveProblems {
    int64_t skippedRows = 0;       // rows that could not be used
    int64_t firstSkippedLine = 0;  // line number of the first of them
    std::string cutShortStorm;     // id of a storm whose row count runs past the end

    void skipRow(int64_t line) {
        if (skippedRows++ == 0) firstSkippedLine = line;
    }
};

class ArchiveReader {
  public:
    virtual ~ArchiveReader() = default;
    // The next storm; false at the end of the archive.
    virtual bool next(ArchiveStorm& storm) = 0;
    const ArchiveProblems& problems() const { return problems_; }

  protected:
    ArchiveReader(const std::string& path, const ArchiveSelection& selection)
        : path_(path), lines_(path), selection_(selection) {}

    // The next line, or the one handed back with `unread`.
    bool nextLine(std::string_view& line);
    void unread() { unread_ = true; }

    // The rows of a storm whose header counts them (the CMA and JMA
    // archives), read into `storm` whose key the header filled.
    struct CountedRows {
        int32_t count = 0;
        std::string stormId;  // the international number
        std::string agency;   // for ArchiveTrackBuilder
        ArchiveFix fix;       // the header's part of every fix (basin, number, name)
        std::function<bool(std::string_view)> isHeader;
        // Sees the first row (if any) before the storm's selection is
        // decided, for what the header leaves out, such as the season.
        std::function<void(std::string_view)> firstRow;
        // Fills the row's part of `fix`; false for a row it cannot read.
        std::function<bool(std::string_view, ArchiveFix&)> readRow;
    };
    // The header's part of a western-Pacific storm's rows: its count, its
    // international number (whose last two digits number the fixes), agency
    // and name. The caller adds isHeader, readRow and, if needed, firstRow.
    static CountedRows westernPacificRows(int32_t count, const std::string& international,
                                          std::string agency, const std::string& name);
    // A header before the count is reached ends the storm there: it is
    // handed back for the next storm and the storm is noted as cut short.
    // Rows of a storm the selection leaves out are passed over unread; rows
    // that cannot be read or hold impossible values are skipped and counted.
    void readCountedRows(ArchiveStorm& storm, CountedRows rows);

    std::string path_;
    FileLines lines_;
    const ArchiveSelection& selection_;
    ArchiveProblems problems_;

  private:
    bool unread_ = false;
    std::string_view last_;
};

// nullptr for ArchiveKind::None. `selection` must outlive the reader.
std::unique_ptr<ArchiveReader> openArchive(const std::string& path, ArchiveKind kind,
                                           const ArchiveSelection& selection,
                                           const ArchiveOptions& options = {});

}  // namespace tcmap
