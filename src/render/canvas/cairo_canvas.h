// The Canvas over Cairo: draws anti-aliased on the pixels of a Picture, text
// through Pango. Arguments are checked before they reach Cairo (NaN or
// infinite values give status 2 and draw nothing), and a Cairo error never
// outlives the call that caused it.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "render/canvas/canvas.h"
#include "render/canvas/picture.h"

typedef struct _cairo_surface cairo_surface_t;

namespace tcmap {

class CairoCanvas final : public Canvas {
  public:
    CairoCanvas();
    // Opens the canvas on `picture`; lastStatus() tells whether that worked.
    explicit CairoCanvas(Picture& picture);
    ~CairoCanvas() override;
    CairoCanvas(const CairoCanvas&) = delete;
    CairoCanvas& operator=(const CairoCanvas&) = delete;

    // Binds the canvas to `picture`, which must stay alive and keep its size
    // until close(). Returns a drawing status (0 success; 2 for an empty
    // picture). Drawing on a closed canvas fails with status 2.
    int32_t open(Picture& picture);
    // Binds the canvas to any Cairo surface (a vector file's page) of the
    // given size in pixels; the canvas holds its own reference to it.
    int32_t openSurface(cairo_surface_t* surface, int width, int height);
    void close();
    bool isOpen() const;

    // Language of drawn text, a tag such as "zh-cn", so CJK fonts pick the
    // glyph shapes of that language; empty for the locale's language.
    void setTextLanguage(std::string_view tag);
    // Glyphs of the last drawn text that no installed font could show.
    int lastTextUnknownGlyphs() const;

    int width() const override;
    int height() const override;

    bool drawPicture(const Picture& picture, float x, float y, float width, float height) override;
    bool drawLine(const CanvasPen& pen, float x1, float y1, float x2, float y2) override;
    bool drawArc(const CanvasPen& pen, float x, float y, float width, float height,
                 float startAngle, float sweepAngle) override;
    bool drawEllipse(const CanvasPen& pen, float x, float y, float width, float height) override;
    bool fillEllipse(const CanvasBrush& brush, float x, float y, float width,
                     float height) override;
    bool fillRectangle(const CanvasBrush& brush, float x, float y, float width,
                       float height) override;
    bool fillPolygon(const CanvasBrush& brush, std::span<const PointF> points) override;
    bool drawText(std::string_view text, const CanvasFont& font, const CanvasBrush& brush,
                  RectF layoutRect, const TextLayout* layout) override;

  private:
    int32_t drawPixels(const uint32_t* pixels, const Picture& picture, float x, float y,
                       float width, float height);

    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace tcmap
