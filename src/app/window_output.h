// A draw job of the main window: its progress written into the window's view,
// and its end, where the map is stored in the run's scratch file and shown in
// the panel (or said to be too large to show) and Save learns what to save.
#pragma once

#include <string>
#include <vector>

#include "app/main_view.h"
#include "app/save_track_map.h"
#include "render/draw.h"

namespace tcmap {

class LanguagePack;

// Log lines into the panel, the info line into the status bar: the
// statistics in parts 0 to 2, the message in part 3.
class ViewProgress : public DrawProgress {
  public:
    explicit ViewProgress(MainView& view) : view_(view) {}
    void message(const DrawMessage& message) override;
    void infoLine(const StormStatistics& statistics, const std::string* message) override;

  private:
    MainView& view_;
};

// Maps up to this size are shown in the panel; a larger one is only stored.
struct ShowLimit {
    int32_t width = 8000;
    int32_t height = 6000;

    bool exceededBy(int32_t mapWidth, int32_t mapHeight) const {
        return mapWidth > width || mapHeight > height;
    }
};

// The warnings of a job, in order: what the window keeps for the user to
// read after the map has covered the log.
std::vector<std::string> jobWarnings(const DrawResult& result);

// The intensity chart of the drawn storms, encoded as PNG; empty when the
// map holds no best track or more than 40 (DrawRequest::keepTracks gives the
// tracks).
std::vector<uint8_t> windowChart(const DrawResult& result, const DrawRequest& request);

// The end of a job that drew a map: the map encoded in its own format into
// the scratch file `tempFilePath`, then shown, or the map-too-large line when
// it is larger than the limit; `last` then names what Save takes. A shown
// map's status says "Ready", or how many warnings the job had. A scratch
// file that cannot be written is reported like a picture that cannot be made.
void showDrawnMap(DrawResult& result, LastMap& last, const std::string& tempFilePath,
                  MainView& view, const LanguagePack& lang, ShowLimit limit = {});

}  // namespace tcmap
