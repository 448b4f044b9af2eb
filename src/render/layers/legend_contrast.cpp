#include "render/layers/legend_contrast.h"

#include <algorithm>
#include <cmath>

#include "render/canvas/picture.h"

namespace tcmap {

namespace {

double linearChannel(uint32_t value) {
    const double c = value / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

}  // namespace

double relativeLuminance(uint32_t rgb) {
    return 0.2126 * linearChannel((rgb >> 16) & 0xFF) + 0.7152 * linearChannel((rgb >> 8) & 0xFF) +
           0.0722 * linearChannel(rgb & 0xFF);
}

double contrastRatio(uint32_t rgbA, uint32_t rgbB) {
    const double a = relativeLuminance(rgbA);
    const double b = relativeLuminance(rgbB);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

std::optional<uint32_t> meanColour(const Picture& picture, const TextBox& box) {
    const int x0 = std::max(0, static_cast<int>(std::floor(box.x)));
    const int y0 = std::max(0, static_cast<int>(std::floor(box.y)));
    const int x1 = std::min(picture.width(), static_cast<int>(std::ceil(box.right())));
    const int y1 = std::min(picture.height(), static_cast<int>(std::ceil(box.bottom())));
    if (x0 >= x1 || y0 >= y1) return std::nullopt;
    // About 24 x 6 samples whatever the box's size.
    const int stepX = std::max(1, (x1 - x0) / 24);
    const int stepY = std::max(1, (y1 - y0) / 6);
    double red = 0, green = 0, blue = 0;
    int count = 0;
    for (int y = y0; y < y1; y += stepY) {
        for (int x = x0; x < x1; x += stepX) {
            const uint32_t argb = picture.pixelArgb(x, y);
            red += (argb >> 16) & 0xFF;
            green += (argb >> 8) & 0xFF;
            blue += argb & 0xFF;
            ++count;
        }
    }
    const auto channel = [count](double sum) {
        return static_cast<uint32_t>(std::lround(sum / count)) & 0xFF;
    };
    return (channel(red) << 16) | (channel(green) << 8) | channel(blue);
}

std::optional<Argb> legendBacking(uint32_t rgb, uint32_t under) {
    if (contrastRatio(rgb, under) >= kLegendMinimumContrast) return std::nullopt;
    const bool dark = contrastRatio(rgb, 0x000000) >= contrastRatio(rgb, 0xFFFFFF);
    return dark ? Argb{0xD0000000} : Argb{0xD0FFFFFF};
}

}  // namespace tcmap
