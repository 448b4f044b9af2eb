#include "render/layers/annotation_text.h"

#include <algorithm>

#include "base/text_rules.h"
#include "i18n/charset_conversion.h"

namespace tcmap {

double estimatedTextWidth(std::string_view text, double em) {
    return 0.6 * em * static_cast<double>(codePageLength(text));
}

TextBox textBoxAt(std::string_view text, double em, double x, double y) {
    // Pango's line box of a Latin or CJK font is about 1.25 em high.
    return {x, y, estimatedTextWidth(text, em), 1.25 * em};
}

bool drawShadowedText(Canvas& canvas, std::string_view text, const CanvasFont& font, Argb colour,
                      double x, double y) {
    const double offset = std::max(1.0, font.emSize / 15.0);
    CanvasBrush brush;
    brush.setSolid(0xC0000000);
    canvas.drawText(text, font, brush, RectF{toSingle(x + offset), toSingle(y + offset), 0, 0},
                    nullptr);
    brush.setSolid(colour);
    return canvas.drawText(text, font, brush, RectF{toSingle(x), toSingle(y), 0, 0}, nullptr);
}

}  // namespace tcmap
