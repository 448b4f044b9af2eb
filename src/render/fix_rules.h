// Turns the track lines of a job's files into rows of its fix table and keeps
// the map frame's bounds up to date (Normal mode), one line at a time.
#pragma once

#include <cstdint>
#include <string_view>

#include "config/job_settings.h"
#include "render/draw_mode.h"
#include "render/layers/fix_table.h"
#include "render/map_frame.h"
#include "track/track_model.h"

namespace tcmap {

class FixCollector {
  public:
    // `frame` must already hold the map size (and, outside Normal mode, its
    // preset). The collector reads the settings it needs once.
    FixCollector(FixTable& fixes, MapFrame& frame, DrawMode mode, bool tcvStyle,
                 const JobSettings& settings);

    // Before the lines of a file of this kind; `lineCount` lines follow (room
    // for them is made at once).
    void beginFile(TrackFileKind kind, size_t lineCount = 0);
    // One line of the file's track text (without its line break).
    void addLine(std::string_view line);
    // After a file that gave at least one line: the skip-early-disturbance
    // rule ends, and no track line joins the table's last fix to the next one.
    void endFileWithLines();

    bool skipInvestActive() const { return skipInvest_; }

  private:
    FixTable& fixes_;
    MapFrame& frame_;
    bool normal_;
    bool tcv_;
    bool allPoints_;
    int32_t multipleFile_;
    bool skipInvest_;
    TrackFileKind kind_ = TrackFileKind::OtherFile;
    bool fileHasUsableLine_ = false;
};

}  // namespace tcmap
