// What a layer may write to its job's log: coloured lines and the latest
// message of the info line, and the failed drawing calls. The draw job's
// JobLog implements it; layer tests record it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "render/canvas/canvas.h"

namespace tcmap {

// Log colours (program colours 0x00BBGGRR).
inline constexpr uint32_t kProgressColour = rgb(0, 136, 255);
inline constexpr uint32_t kWarningColour = rgb(255, 255, 0);  // also skipped files, bad pictures
inline constexpr uint32_t kFailureColour = rgb(255, 0, 0);
inline constexpr uint32_t kFailureLastColour = rgb(255, 128, 0);
inline constexpr uint32_t kTooLargeColour = rgb(0, 128, 0);

// A progress line: the text followed by " ..".
std::string progressLine(std::string_view text);

class LayerLog {
  public:
    virtual ~LayerLog() = default;

    // Write the text (several lines when it holds line breaks) in the given
    // colour.
    virtual void writeProgress(const std::string& text, uint32_t colour) = 0;

    // Refresh the statistics of the info line; set its message to `message`
    // only when `withMessage`.
    virtual void updateInfoLine(const std::string& message, bool withMessage) = 0;

    // Counts a failed drawing call and gives the count so far, which goes on
    // from drawing to drawing as long as the caller keeps it.
    virtual int64_t countDrawingError() = 0;
    // The report of a failed drawing call: a red line and the info line.
    virtual void writeDrawingError(const std::string& message) = 0;
};

}  // namespace tcmap
