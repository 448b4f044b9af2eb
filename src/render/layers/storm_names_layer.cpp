#include "render/layers/storm_names_layer.h"

#include <algorithm>
#include <array>
#include <optional>

#include "base/text_rules.h"
#include "render/layers/draw_status.h"
#include "render/layers/legend_layer.h"
#include "render/layers/title_block.h"

namespace tcmap {

namespace {

bool isAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// The fix a name stands by: the first one inside the picture of the storm's
// first and strongest fixes, on whichever copy of the map shows it.
std::optional<std::pair<double, double>> anchorOf(const LayerInput& input, const MapStorm& storm) {
    const FixTable& fixes = input.fixes;
    const size_t end = std::min(storm.firstFix + storm.fixCount, fixes.size());
    if (storm.firstFix >= end) return std::nullopt;
    size_t peak = storm.firstFix;
    for (size_t i = storm.firstFix; i < end; ++i) {
        if (fixes.wind[i] > fixes.wind[peak]) peak = i;
    }
    const OutputGeometry& frame = input.frame;
    for (const size_t i : {storm.firstFix, peak}) {
        for (const double shift : frame.projection().copies()) {
            const double x = frame.toOutputX(fixes.x[i]) + shift;
            const double y = frame.toOutputY(fixes.y[i]);
            if (x >= 0 && y >= 0 && x <= frame.outputWidth && y <= frame.outputHeight) {
                return std::make_pair(x, y);
            }
        }
    }
    return std::nullopt;
}

bool isFree(const TextBox& box, std::span<const TextBox> obstacles,
            const std::vector<PlacedName>& placed) {
    for (const TextBox& other : obstacles) {
        if (box.intersects(other)) return false;
    }
    for (const PlacedName& name : placed) {
        if (box.intersects(name.box)) return false;
    }
    return true;
}

}  // namespace

std::string stormNameText(const MapStorm& storm) {
    if (storm.name.empty()) return storm.stormId;
    const bool ascii = std::all_of(storm.name.begin(), storm.name.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (!ascii) return storm.name;
    std::string text = toLowerAscii(storm.name);
    bool wordStart = true;
    for (char& c : text) {
        if (wordStart && isAsciiLetter(c)) c = static_cast<char>(c - 'a' + 'A');
        wordStart = !isAsciiLetter(c);
    }
    return text;
}

std::vector<PlacedName> placeStormNames(const LayerInput& input, std::span<const TextBox> obstacles,
                                        double em) {
    std::vector<PlacedName> placed;
    const double width = input.frame.outputWidth;
    const double height = input.frame.outputHeight;
    const bool tcvLabels = input.tcv && input.settings.showText;
    for (const MapStorm& storm : input.storms) {
        if (storm.forecast) continue;
        const auto anchor = anchorOf(input, storm);
        if (!anchor) continue;
        const auto [x, y] = *anchor;
        std::string text = stormNameText(storm);
        if (text.empty()) continue;
        const TextBox size = textBoxAt(text, em, 0, 0);
        const double w = size.width;
        const double h = size.height;
        // Up right, down right, up left, down left, above, below; then the
        // same twice as far from the fix.
        for (const double d : {0.5 * em, 1.5 * em}) {
            std::array<std::pair<double, double>, 6> corners = {{
                {x + d, y - h - d / 2},
                {x + d, y + d / 2},
                {x - d - w, y - h - d / 2},
                {x - d - w, y + d / 2},
                {x - w / 2, y - h - d},
                {x - w / 2, y + d},
            }};
            // The TCV labels (id and time) stand right of a track's start:
            // the name tries the left first.
            if (tcvLabels) std::rotate(corners.begin(), corners.begin() + 2, corners.end());
            bool done = false;
            for (const auto& [bx, by] : corners) {
                const TextBox box{bx, by, w, h};
                if (!box.inside(width, height) || !isFree(box, obstacles, placed)) continue;
                placed.push_back({text, box});
                done = true;
                break;
            }
            if (done) break;
        }
    }
    return placed;
}

void drawStormNamesLayer(const LayerInput& input, Canvas& canvas, LayerLog& log) {
    if (!input.settings.annotations.stormNames) return;
    std::vector<TextBox> obstacles;
    if (const auto legend = legendArea(input)) obstacles.push_back(*legend);
    if (const auto title = jobTitle(input); title && !title->lines.empty()) {
        obstacles.push_back(title->area);
    }
    const double em = std::min(input.frame.outputWidth, input.frame.outputHeight) / 55.0;
    CanvasFont font;
    font.create(kAnnotationFont, toSingle(em), 0, CanvasUnit::World);
    for (const PlacedName& name : placeStormNames(input, obstacles, em)) {
        drawShadowedText(canvas, name.text, font, 0xFFFFFFFF, name.box.x, name.box.y);
    }
    checkDrawStatus("4.2.0/StormNames", canvas, log);
}

}  // namespace tcmap
