// What a layer may write to its job's log: coloured lines in the drawing panel
// and the message part of the status bar. The draw job's JobLog implements it;
// layer tests record it.
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

    // Write the text (several lines when it holds line breaks) into the panel
    // in the given colour, in batch mode too.
    virtual void writeProgress(const std::string& text, uint32_t colour) = 0;

    // Refresh the statistics parts of the status bar; set the message part to
    // `message` only when `withMessage`.
    virtual void updateInfoLine(const std::string& message, bool withMessage) = 0;
};

}  // namespace tcmap
