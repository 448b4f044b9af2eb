#include "render/layers/draw_status.h"

#include "base/compatibility.h"
#include "render/canvas/canvas.h"
#include "render/layers/layer_log.h"

namespace tcmap {

std::string statusText(int32_t status) {
    return std::string(drawStatusText(status));
}

void checkDrawStatus(std::string_view tag, const Canvas& canvas, LayerLog& log) {
    const std::string text = statusText(canvas.lastStatus());
    if (text.empty()) return;
    const int64_t count = log.countDrawingError();
    std::string message = "An error occurred while using GDI+: Count = ";
    message += std::to_string(count);
    message += " Position = #";
    message += tag;
    message += " Text = ";
    message += text;
    log.writeDrawingError(message);
}

}  // namespace tcmap
