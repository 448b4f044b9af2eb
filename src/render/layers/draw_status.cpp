#include "render/layers/draw_status.h"

#include <atomic>

#include "base/compatibility.h"
#include "render/canvas/canvas.h"
#include "render/layers/layer_log.h"

namespace tcmap {

namespace {

std::atomic<int64_t> errorCount{0};

}  // namespace

std::string statusText(int32_t status) {
    return std::string(drawStatusText(status));
}

int64_t drawErrorCount() {
    return errorCount.load(std::memory_order_relaxed);
}

void checkDrawStatus(std::string_view tag, const Canvas& canvas, LayerLog& log) {
    const std::string text = statusText(canvas.lastStatus());
    if (text.empty()) return;
    const int64_t count = errorCount.fetch_add(1, std::memory_order_relaxed) + 1;
    std::string message = "An error occurred while using GDI+: Count = ";
    message += std::to_string(count);
    message += " Position = #";
    message += tag;
    message += " Text = ";
    message += text;
    log.writeProgress(message, kFailureColour);
    log.updateInfoLine(message, true);
}

}  // namespace tcmap
