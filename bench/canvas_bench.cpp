// Per-call cost of the drawing operations a draw job repeats most: small
// markers, short track segments, three copies of which two lie off-canvas,
// labels, and the map copies.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "render/canvas/cairo_canvas.h"
#include "render/canvas/font_aliases.h"

namespace tcmap {
namespace {

constexpr int kWidth = 3000;
constexpr int kHeight = 2000;

struct Points {
    std::vector<PointF> at;
    Points() {
        std::mt19937 random(7);
        std::uniform_real_distribution<float> x(0, kWidth), y(0, kHeight);
        for (int i = 0; i < 4096; ++i) at.push_back({x(random), y(random)});
    }
};

const Points& points() {
    static const Points p;
    return p;
}

struct Target {
    Picture picture;
    CairoCanvas canvas;
    Target() {
        picture.create(kWidth, kHeight, 0xFF0F0F0F, kBmpFormatId);
        canvas.open(picture);
    }
};

void fillSmallEllipses(benchmark::State& state) {
    Target t;
    CanvasBrush brush;
    size_t i = 0;
    for (auto _ : state) {
        const PointF p = points().at[i++ & 4095];
        brush.setSolid(0xFF000000 | uint32_t(i * 2654435761u));
        t.canvas.fillEllipse(brush, p.x - 3, p.y - 3, 6, 6);
    }
    state.SetItemsProcessed(state.iterations());
}

void drawTrackSegments(benchmark::State& state) {
    Target t;
    CanvasPen pen;
    pen.create(0xFFFFFFFF, 2, CanvasUnit::Pixel);
    pen.setCaps(cap::kRound, cap::kRound, cap::kRound);
    pen.setLineJoin(join::kRound);
    if (state.range(0)) pen.setDashPattern({2, 2});
    size_t i = 0;
    for (auto _ : state) {
        const PointF p = points().at[i++ & 4095];
        t.canvas.drawLine(pen, p.x, p.y, p.x + 12, p.y - 7);
    }
    state.SetItemsProcessed(state.iterations());
}

// The seam rule draws every element at X - W, X and X + W.
void threeCopiesOfAMarker(benchmark::State& state) {
    Target t;
    CanvasBrush brush;
    brush.setSolid(0xFFFF8000);
    size_t i = 0;
    for (auto _ : state) {
        const PointF p = points().at[i++ & 4095];
        for (float shift : {-7200.0f, 0.0f, 7200.0f})
            t.canvas.fillEllipse(brush, p.x + shift - 3, p.y - 3, 6, 6);
    }
    state.SetItemsProcessed(state.iterations());
}

void drawWindRadiiArcs(benchmark::State& state) {
    Target t;
    CanvasPen pen;
    pen.create(0xFFFFFF00, 1.5f, CanvasUnit::Pixel);
    size_t i = 0;
    for (auto _ : state) {
        const PointF p = points().at[i++ & 4095];
        t.canvas.drawArc(pen, p.x - 40, p.y - 30, 80, 60, 270, 90);
    }
    state.SetItemsProcessed(state.iterations());
}

void drawLabels(benchmark::State& state) {
    loadFontAliases(TCMAP_SOURCE_DIR "/data");
    Target t;
    CanvasFont font;
    font.create("Microsoft Yahei UI", 13, 0, CanvasUnit::Pixel);
    CanvasBrush brush;
    brush.setSolid(0xFFFFFFFF);
    size_t i = 0;
    for (auto _ : state) {
        const PointF p = points().at[i++ & 4095];
        t.canvas.drawText("WP262018 090106Z", font, brush, {p.x, p.y, 0, 0}, nullptr);
    }
    state.SetItemsProcessed(state.iterations());
}

void drawMapCopies(benchmark::State& state) {
    Target t;
    Picture map;
    map.create(7200, 3600, 0xFF0B2545, kPngFormatId);
    for (auto _ : state) {
        drawMapCopy(t.canvas, map, -1000, -500, 7200, 3600);
        drawMapCopy(t.canvas, map, -1000.5, -500.25, 7200, 3600);
    }
    state.SetItemsProcessed(state.iterations() * 2);
}

BENCHMARK(fillSmallEllipses);
BENCHMARK(drawTrackSegments)->Arg(0)->Arg(1);
BENCHMARK(threeCopiesOfAMarker);
BENCHMARK(drawWindRadiiArcs);
BENCHMARK(drawLabels);
BENCHMARK(drawMapCopies)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tcmap

BENCHMARK_MAIN();
