// Decoding and encoding a world-map-sized picture (7200 x 3600), and the PNG
// encoder settings behind Picture::save: time and size for each setting.
#include <benchmark/benchmark.h>
#include <png.h>
#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <random>
#include <vector>

#include "render/canvas/cairo_canvas.h"
#include "render/canvas/jpeg_codec.h"
#include "render/canvas/picture.h"
#include "render/canvas/png_codec.h"

namespace tcmap {
namespace {

constexpr int kWidth = 7200;
constexpr int kHeight = 3600;

// A map-like picture: dark flat sea, land masses with ragged coasts and
// gently shaded interiors, a grid, and a few hundred storm tracks. With
// `relief` the land also gets smooth shading and fine grain, as on a
// relief-shaded map a user might pick.
Picture makeMapPicture(bool relief) {
    Picture p;
    p.create(kWidth, kHeight, 0xFF0B2545, kBmpFormatId);
    CairoCanvas canvas(p);
    CanvasBrush brush;
    std::mt19937 random(20180916);
    std::uniform_real_distribution<double> unit(0, 1);
    for (int island = 0; island < 60; ++island) {
        const double cx = unit(random) * kWidth, cy = unit(random) * kHeight;
        const double radius = 40 + std::pow(unit(random), 3) * 900;
        double phase[40];
        for (double& ph : phase) ph = unit(random) * 2 * M_PI;
        std::vector<PointF> coast;
        for (int i = 0; i < 3000; ++i) {
            const double a = 2 * M_PI * i / 3000;
            double r = 1;
            for (int k = 1; k < 40; ++k) r += 0.35 / k * std::sin(k * a + phase[k]);
            r *= radius * (1 + 0.03 * (unit(random) - 0.5));
            coast.push_back({float(cx + r * std::cos(a)), float(cy + r * std::sin(a))});
        }
        brush.setSolid(0xFF5B6B4E);
        canvas.fillPolygon(brush, coast);
        // Shaded interior: a few nested, shrunken copies in lighter tones.
        for (int level = 1; level < 4; ++level) {
            std::vector<PointF> inner = coast;
            const float s = 1.0f - 0.2f * level;
            for (PointF& q : inner) {
                q.x = float(cx + (q.x - cx) * s);
                q.y = float(cy + (q.y - cy) * s);
            }
            brush.setSolid(0xFF5B6B4E + 0x00070605 * level);
            canvas.fillPolygon(brush, inner);
        }
    }
    if (relief) {
        uint32_t grain = 1;
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                uint32_t& px = p.pixels()[size_t(y) * kWidth + x];
                grain = grain * 1664525u + 1013904223u;
                if (px == 0xFF0B2545) continue;
                const int shade = int(14 * std::sin(x / 37.0) * std::cos(y / 53.0) +
                                      9 * std::sin((x + y) / 91.0)) +
                                  int(grain >> 30);
                auto channel = [&](int shift) {
                    const int v = int(px >> shift & 0xFF) + shade;
                    return uint32_t(std::clamp(v, 0, 255)) << shift;
                };
                px = 0xFF000000u | channel(16) | channel(8) | channel(0);
            }
        }
    }
    CanvasPen pen;
    pen.create(0xFF8090A0, 1, CanvasUnit::Pixel);
    for (int x = 0; x < kWidth; x += 200) canvas.drawLine(pen, x + 0.5f, 0, x + 0.5f, kHeight);
    for (int y = 0; y < kHeight; y += 200) canvas.drawLine(pen, 0, y + 0.5f, kWidth, y + 0.5f);
    pen.setWidth(2);
    for (int track = 0; track < 300; ++track) {
        double x = unit(random) * kWidth, y = kHeight * (0.2 + 0.6 * unit(random));
        pen.setColour(0xFFFFFFFF);
        for (int fix = 0; fix < 40; ++fix) {
            const double nx = x - 20 + 10 * unit(random), ny = y - 15 + 5 * unit(random);
            canvas.drawLine(pen, float(x), float(y), float(nx), float(ny));
            brush.setSolid(0xFF000000 | (uint32_t(random()) & 0xFFFFFF));
            canvas.fillEllipse(brush, float(nx - 4), float(ny - 4), 8, 8);
            x = nx;
            y = ny;
        }
    }
    return p;
}

const Picture& mapPicture(bool relief = false) {
    static Picture flat = makeMapPicture(false);
    static Picture shaded;
    if (relief && shaded.empty()) shaded = makeMapPicture(true);
    return relief ? shaded : flat;
}

void encodeWith(benchmark::State& state, PngEncodeOptions options, bool relief) {
    const Picture& picture = mapPicture(relief);
    std::vector<uint8_t> out;
    for (auto _ : state) {
        encodePng(picture.pixels(), kWidth, kHeight, out, options);
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["MB"] = double(out.size()) / 1e6;
}

void registerEncoders() {
    struct Setting {
        const char* name;
        PngEncodeOptions options;
    };
    const Setting settings[] = {
        {"level1/none", {1, PNG_FILTER_NONE, Z_DEFAULT_STRATEGY}},
        {"level1/up", {1, PNG_FILTER_UP, Z_DEFAULT_STRATEGY}},
        {"level1/up/rle", {1, PNG_FILTER_UP, Z_RLE}},
        {"level1/all", {1, PNG_ALL_FILTERS, Z_DEFAULT_STRATEGY}},
        {"level2/none", {2, PNG_FILTER_NONE, Z_DEFAULT_STRATEGY}},
        {"level2/up", {2, PNG_FILTER_UP, Z_DEFAULT_STRATEGY}},
        {"level3/none", {3, PNG_FILTER_NONE, Z_DEFAULT_STRATEGY}},
        {"level3/up", {3, PNG_FILTER_UP, Z_DEFAULT_STRATEGY}},
        {"level3/sub", {3, PNG_FILTER_SUB, Z_DEFAULT_STRATEGY}},
        {"level3/paeth", {3, PNG_FILTER_PAETH, Z_DEFAULT_STRATEGY}},
        {"level6/none", {6, PNG_FILTER_NONE, Z_DEFAULT_STRATEGY}},
        {"level6/all (libpng default)", {6, PNG_ALL_FILTERS, Z_DEFAULT_STRATEGY}},
        {"level9/all", {9, PNG_ALL_FILTERS, Z_DEFAULT_STRATEGY}},
        {"save default", PngEncodeOptions{}},
    };
    for (bool relief : {false, true}) {
        for (const Setting& s : settings) {
            if (relief && s.options.compressionLevel == 9) continue;  // minutes per run
            const std::string name =
                std::string(relief ? "EncodePng/relief/" : "EncodePng/flat/") + s.name;
            benchmark::RegisterBenchmark(name.c_str(), encodeWith, s.options, relief)
                ->Unit(benchmark::kMillisecond)
                ->Iterations(2);
        }
    }
}

void decodePngMap(benchmark::State& state) {
    std::vector<uint8_t> png;
    encodePng(mapPicture().pixels(), kWidth, kHeight, png);
    for (auto _ : state) {
        Picture p;
        if (!p.loadBytes(png)) state.SkipWithError("PNG did not decode");
        benchmark::DoNotOptimize(p.pixels());
    }
    state.counters["MB"] = double(png.size()) / 1e6;
}

void decodeJpegMap(benchmark::State& state) {
    std::vector<uint8_t> jpeg;
    encodeJpeg(mapPicture().pixels(), kWidth, kHeight, jpeg, 90);
    for (auto _ : state) {
        Picture p;
        if (!p.loadBytes(jpeg)) state.SkipWithError("JPEG did not decode");
        benchmark::DoNotOptimize(p.pixels());
    }
    state.counters["MB"] = double(jpeg.size()) / 1e6;
}

void encodeBmpMap(benchmark::State& state) {
    std::vector<uint8_t> bmp;
    for (auto _ : state) {
        mapPicture().encode(kBmpFormatId, bmp);
        benchmark::DoNotOptimize(bmp.data());
    }
    state.counters["MB"] = double(bmp.size()) / 1e6;
}

}  // namespace
}  // namespace tcmap

int main(int argc, char** argv) {
    // TCMAP_BENCH_PICTURE=path writes the test picture, to look at it.
    if (const char* path = std::getenv("TCMAP_BENCH_PICTURE"))
        tcmap::mapPicture().save(path, tcmap::kPngFormatId);
    tcmap::registerEncoders();
    benchmark::RegisterBenchmark("DecodePng", tcmap::decodePngMap)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(3);
    benchmark::RegisterBenchmark("DecodeJpeg", tcmap::decodeJpegMap)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(3);
    benchmark::RegisterBenchmark("EncodeBmp", tcmap::encodeBmpMap)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(3);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
