#include "render/layers/draw_status.h"

#include <array>
#include <atomic>

#include "render/canvas/canvas.h"
#include "render/layers/layer_log.h"

namespace tcmap {

namespace {

// Index = status code.
constexpr std::array<std::string_view, 22> kStatusTexts = {
    "",
    "通用错误",
    "无效的参数",
    "内存溢出",
    "对象繁忙",
    "缓冲区不足",
    "未实现",
    "Win32错误",
    "错误状态",
    "失败",
    "未找到文件",
    "值溢出",
    "访问被拒绝",
    "未知图像格式",
    "未找到字体族",
    "未找到字体风格",
    "不是TrueType字体",
    "不支持Gdiplus版本",
    "Gdiplus未装载",
    "资源未找到",
    "资源不支持",
    "未找到配置文件",
};

constexpr std::string_view kUnknownStatusText = "未知错误";

std::atomic<int64_t> errorCount{0};

}  // namespace

std::string statusText(int32_t status) {
    if (status < 0 || static_cast<size_t>(status) >= kStatusTexts.size()) {
        return std::string(kUnknownStatusText);
    }
    return std::string(kStatusTexts[static_cast<size_t>(status)]);
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
