#include "render/job_log.h"

#include "base/text_rules.h"
#include "config/app_state.h"
#include "render/main_view.h"
#include "track/track_model.h"

namespace tcmap {

std::string peakWindText(const StormStatistics& stats) {
    std::string text = "VMAX: ";
    if (stats.peakWind > 0) text += std::to_string(stats.peakWind) + "kts";
    return text;
}

std::string lowestPressureText(const StormStatistics& stats) {
    std::string text = "MSLP: ";
    if (stats.lowestPressure > 0) text += std::to_string(stats.lowestPressure) + "mb";
    return text;
}

std::string aceText(const StormStatistics& stats) {
    std::string text = "ACE: ";
    // ACE values this close below zero still count as a value (0).
    if (stats.ace >= -kEpsilon) text += formatG(stats.ace, 13);
    return text;
}

void JobLog::writeProgress(const std::string& text, uint32_t colour) {
    view_.writeLine(text, colour);
}

void JobLog::reportMessage(const std::string& text, uint32_t colour) {
    if (app_.isBatch()) {
        app_.appendFailure(text + "\r\n");
    } else {
        writeProgress(text, colour);
    }
}

void JobLog::updateInfoLine(const std::string& message, bool withMessage) {
    view_.setStatusPart(0, peakWindText(stats_));
    view_.setStatusPart(1, lowestPressureText(stats_));
    view_.setStatusPart(2, aceText(stats_));
    if (withMessage) view_.setStatusPart(3, message);
}

}  // namespace tcmap
