// Text on a Cairo context through Pango: the font, the layout rectangle, line
// breaks, right-to-left rows and vertical line alignment of drawText.
#pragma once

#include <cairo.h>
#include <pango/pangocairo.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

#include "render/canvas/canvas.h"

namespace tcmap {

class CairoText {
  public:
    CairoText();
    ~CairoText();
    CairoText(const CairoText&) = delete;
    CairoText& operator=(const CairoText&) = delete;

    // Language tag such as "zh-cn" (CJK fonts then pick Chinese glyph shapes);
    // empty for the locale's language.
    void setLanguage(std::string_view tag);

    // Lays out and paints `text` with the context's current source colour.
    // Returns a drawing status; Cairo errors are left on the context for the
    // caller to read.
    int32_t draw(cairo_t* cr, std::string_view text, const CanvasFont& font, RectF rect,
                 const TextLayout* layout, int canvasWidth, int canvasHeight);

    // Glyphs of the last drawn text that no installed font has.
    int unknownGlyphs() const;

  private:
    void useFont(const CanvasFont& font);
    void useDirection(bool rightToLeft);
    // A layout holding `text` in the current font, shaped once and reused:
    // labels repeat the same few texts thousands of times per map.
    PangoLayout* layoutFor(std::string_view text, int width);
    void clearLayouts();

    PangoFontMap* fontMap_ = nullptr;
    PangoContext* context_ = nullptr;
    PangoLayout* layout_ = nullptr;  // the last layout drawn
    std::unordered_map<std::string, PangoLayout*> layouts_;
    cairo_t* updatedFor_ = nullptr;  // the Cairo context the Pango context follows
    PangoFontDescription* fontDescription_ = nullptr;
    std::string fontFamily_;
    float fontSize_ = -1;
    int fontStyle_ = -1;
    bool rightToLeft_ = false;
};

}  // namespace tcmap
