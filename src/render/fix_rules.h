// Turns the fixes of a job's tracks into rows of its fix table and keeps the
// map frame's bounds up to date (Normal mode), one fix at a time.
#pragma once

#include <cstdint>

#include "config/job_settings.h"
#include "render/draw_mode.h"
#include "render/layers/fix_table.h"
#include "render/map_frame.h"
#include "track/track.h"
#include "track/track_model.h"

namespace tcmap {

class FixCollector {
  public:
    // `frame` must already hold the map size (and, outside Normal mode, its
    // preset). The collector reads the settings it needs once.
    FixCollector(FixTable& fixes, MapFrame& frame, DrawMode mode, bool tcvStyle,
                 const JobSettings& settings);

    // Before the fixes of a track (a file, or a storm of an archive) of this
    // kind; `fixCount` fixes follow (room for them is made at once).
    void beginFile(TrackFileKind kind, size_t fixCount = 0);
    // One fix of the track, in file order: also one too short to be placed,
    // which is passed over.
    void addFix(const Fix& fix);
    // After a track that had at least one fix: the skip-early-disturbance rule
    // ends, and no track line joins the table's last fix to the next one.
    void endFileWithLines();

    bool skipInvestActive() const { return skipInvest_; }

  private:
    FixTable& fixes_;
    MapFrame& frame_;
    bool normal_;
    bool tcv_;
    bool allPoints_;
    FrameReset frameReset_;
    bool skipInvest_;
    TrackFileKind kind_ = TrackFileKind::OtherFile;
    bool fileHasUsableLine_ = false;
};

}  // namespace tcmap
