#include "render/job_log.h"

#include "base/text_rules.h"
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

std::string infoLineText(const StormStatistics& stats) {
    return peakWindText(stats) + "  " + lowestPressureText(stats) + "  " + aceText(stats);
}

void JobLog::send(MessageKind kind, const std::string& text, uint32_t colour) {
    const DrawMessage message{kind, text, colour};
    messages_.push_back(message);
    progress_.message(message);
}

void JobLog::writeProgress(const std::string& text, uint32_t colour) {
    send(MessageKind::Progress, text, colour);
}

void JobLog::reportMessage(const std::string& text, uint32_t colour) {
    send(MessageKind::Warning, text, colour);
}

void JobLog::updateInfoLine(const std::string& message, bool withMessage) {
    progress_.infoLine(stats_, withMessage ? &message : nullptr);
}

void JobLog::writeDrawingError(const std::string& message) {
    send(MessageKind::DrawingError, message, kFailureColour);
    updateInfoLine(message, true);
}

}  // namespace tcmap
