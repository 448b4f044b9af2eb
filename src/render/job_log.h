// The log of one drawing: every message goes to the caller's progress as it is
// written and into the result's list; the info line shows the statistics so
// far. Drawing errors are counted on from the caller's count.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "render/draw.h"
#include "render/layers/layer_log.h"

namespace tcmap {

struct StormStatistics;

// The info line's texts of the statistics: "VMAX: 125kts", "MSLP: 950mb",
// "ACE: 12.5"; without a value ("VMAX: ") while there is none yet.
std::string peakWindText(const StormStatistics& stats);
std::string lowestPressureText(const StormStatistics& stats);
std::string aceText(const StormStatistics& stats);
// The three, as a batch run prints them: "VMAX: 125kts  MSLP: 950mb  ACE: 12.5".
std::string infoLineText(const StormStatistics& stats);

class JobLog : public LayerLog {
  public:
    JobLog(DrawProgress& progress, const StormStatistics& stats, std::vector<DrawMessage>& messages,
           int64_t drawingErrorsBefore)
        : progress_(progress),
          stats_(stats),
          messages_(messages),
          drawingErrors_(drawingErrorsBefore) {}

    // A line of the job log.
    void writeProgress(const std::string& text, uint32_t colour) override;
    // A warning the user must see: a batch run's failure report collects it.
    void reportMessage(const std::string& text, uint32_t colour);
    void updateInfoLine(const std::string& message, bool withMessage) override;
    int64_t countDrawingError() override { return ++drawingErrors_; }
    void writeDrawingError(const std::string& message) override;

    int64_t drawingErrors() const { return drawingErrors_; }

  private:
    void send(MessageKind kind, const std::string& text, uint32_t colour);

    DrawProgress& progress_;
    const StormStatistics& stats_;
    std::vector<DrawMessage>& messages_;
    int64_t drawingErrors_;
};

}  // namespace tcmap
