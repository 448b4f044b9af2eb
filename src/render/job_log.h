// The job log and the info line of a draw job: coloured lines in the main
// window's drawing panel and the four status-bar parts (peak wind, lowest
// pressure, ACE, latest message). In batch mode, messages the user must see
// go to the failure log instead of the hidden panel.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "render/layers/layer_log.h"

namespace tcmap {

struct AppState;
class MainView;
struct StormStatistics;

// The status-bar texts of the statistics: "VMAX: 125kts", "MSLP: 950mb",
// "ACE: 12.5"; without a value ("VMAX: ") while there is none yet.
std::string peakWindText(const StormStatistics& stats);
std::string lowestPressureText(const StormStatistics& stats);
std::string aceText(const StormStatistics& stats);

// Holds references only; every call goes straight to the view, which keeps
// calls from the job thread and the interface thread in order.
class JobLog : public LayerLog {
  public:
    JobLog(MainView& view, AppState& app, const StormStatistics& stats)
        : view_(view), app_(app), stats_(stats) {}

    // Write the text (several lines when it holds line breaks) into the panel
    // in the given colour, in batch mode too.
    void writeProgress(const std::string& text, uint32_t colour) override;

    // Batch mode: append the text and CR LF to the failure log, nothing to
    // the panel. Otherwise the same as writeProgress.
    void reportMessage(const std::string& text, uint32_t colour);

    // Refresh status-bar parts 0 to 2 from the statistics; set part 3 to the
    // message only when `withMessage`.
    void updateInfoLine(const std::string& message, bool withMessage) override;

    MainView& view() { return view_; }

  private:
    MainView& view_;
    AppState& app_;
    const StormStatistics& stats_;
};

}  // namespace tcmap
