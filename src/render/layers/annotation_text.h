// Text the annotation layers set over the map (grid numbers, title, storm
// names): its box, estimated from the text's length since placement happens
// before anything is drawn, and a shadowed drawing that stays readable on
// light and dark map colours alike.
#pragma once

#include <string_view>

#include "render/canvas/canvas.h"

namespace tcmap {

struct TextBox {
    double x = 0, y = 0, width = 0, height = 0;

    double right() const { return x + width; }
    double bottom() const { return y + height; }
    bool intersects(const TextBox& other) const {
        return x < other.right() && other.x < right() && y < other.bottom() && other.y < bottom();
    }
    bool inside(double areaWidth, double areaHeight) const {
        return x >= 0 && y >= 0 && right() <= areaWidth && bottom() <= areaHeight;
    }
};

// Width of one line of `text` at em size `em`: 0.6 em per code-page byte (a
// Chinese character counts two), what a monospace font takes and a
// proportional one stays within.
double estimatedTextWidth(std::string_view text, double em);
// The box of one line drawn from (x, y) at em size `em`.
TextBox textBoxAt(std::string_view text, double em, double x, double y);

// The family the annotations are set in: proportional, with Chinese glyphs.
inline constexpr std::string_view kAnnotationFont = "Microsoft Yahei UI";

// Draws one line at (x, y), its top-left corner, with a dark shadow one
// fifteenth of the em below right.
bool drawShadowedText(Canvas& canvas, std::string_view text, const CanvasFont& font, Argb colour,
                      double x, double y);

}  // namespace tcmap
