// A PDF's page as pixels (poppler's pdftoppm at 72 dpi, a point a pixel), and
// how much of it differs clearly from a picture of the same map.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/file_io.h"
#include "render/canvas/picture.h"
#include "support/external_tool.h"

namespace tcmap::testing {

// The pixels pdftoppm makes of the PDF. A PDF it rejects, or a picture it
// writes that is not a binary PPM, fails the test.
inline void renderPdf(const std::string& pdf, const std::string& prefix, Picture& picture) {
    const ToolRun run =
        runTool("pdftoppm -r 72 -singlefile " + shellQuoted(pdf) + " " + shellQuoted(prefix));
    ASSERT_EQ(run.exitCode, 0) << "pdftoppm rejects the PDF: " << run.output;
    const std::string ppm = readFileOrEmpty(prefix + ".ppm");
    int width = 0, height = 0, maxValue = 0, used = 0;
    ASSERT_EQ(std::sscanf(ppm.c_str(), "P6 %d %d %d%n", &width, &height, &maxValue, &used), 3);
    ASSERT_EQ(maxValue, 255);
    ASSERT_GE(ppm.size(), size_t(used + 1) + size_t(width) * height * 3);
    std::vector<uint32_t> pixels(size_t(width) * height);
    const auto* rgb = reinterpret_cast<const unsigned char*>(ppm.data()) + used + 1;
    for (size_t i = 0; i < pixels.size(); ++i) {
        pixels[i] = 0xFF000000u | (uint32_t(rgb[3 * i]) << 16) | (uint32_t(rgb[3 * i + 1]) << 8) |
                    rgb[3 * i + 2];
    }
    picture.assign(width, height, std::move(pixels), kPngFormatId);
}

// Anti-aliasing differs between surfaces: only a channel more than this
// apart counts as a difference.
inline constexpr int kVectorPixelTolerance = 48;

// How many pixels of two pictures of one size differ clearly.
inline size_t clearlyDifferingPixels(const Picture& a, const Picture& b) {
    size_t differing = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const uint32_t p = a.pixelArgb(x, y), q = b.pixelArgb(x, y);
            for (int shift : {0, 8, 16}) {
                if (std::abs(int((p >> shift) & 0xFF) - int((q >> shift) & 0xFF)) >
                    kVectorPixelTolerance) {
                    ++differing;
                    break;
                }
            }
        }
    }
    return differing;
}

}  // namespace tcmap::testing
