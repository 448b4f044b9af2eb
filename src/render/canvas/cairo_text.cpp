#include "render/canvas/cairo_text.h"

#include <glib.h>

#include <algorithm>
#include <climits>
#include <cmath>

namespace tcmap {

namespace {

// Larger text is refused: Pango's integer layout units would overflow.
constexpr float kMaxEmSize = 4096.0f;
// Shaped layouts kept for reuse; the cache starts over when it is full. A
// forecast file of a long season has a few thousand distinct labels (every
// hour and wind pair): they must all fit, or each is shaped again and again.
constexpr size_t kMaxCachedLayouts = 8192;
// From this size glyphs are filled as outlines instead of cached bitmaps.
constexpr float kOutlineEmSize = 256.0f;

constexpr int kStyleBold = 1;
constexpr int kStyleItalic = 2;
constexpr int kStyleUnderline = 4;
constexpr int kStyleStrikeout = 8;

bool finite(RectF r) {
    return std::isfinite(r.x) && std::isfinite(r.y) && std::isfinite(r.width) &&
           std::isfinite(r.height);
}

int toPangoUnits(double pixels) {
    const double units = pixels * PANGO_SCALE;
    return units >= INT_MAX ? INT_MAX : static_cast<int>(units);
}

}  // namespace

CairoText::CairoText() {
    fontMap_ = pango_cairo_font_map_new();
    context_ = pango_font_map_create_context(fontMap_);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    pango_cairo_context_set_font_options(context_, options);
    cairo_font_options_destroy(options);
    // Base direction comes from the layout flag, never from the text.
    pango_context_set_base_dir(context_, PANGO_DIRECTION_LTR);
    fontDescription_ = pango_font_description_new();
}

CairoText::~CairoText() {
    clearLayouts();
    pango_font_description_free(fontDescription_);
    g_object_unref(context_);
    g_object_unref(fontMap_);
}

void CairoText::setLanguage(std::string_view tag) {
    const std::string text(tag);
    pango_context_set_language(context_, text.empty() ? pango_language_get_default()
                                                      : pango_language_from_string(text.c_str()));
    clearLayouts();
}

void CairoText::clearLayouts() {
    for (auto& entry : layouts_) g_object_unref(entry.second);
    layouts_.clear();
    layout_ = nullptr;
}

PangoLayout* CairoText::layoutFor(std::string_view text, int width) {
    std::string key = fontFamily_;
    key += '\0';
    key += std::to_string(fontSize_) + '/' + std::to_string(fontStyle_) + '/' +
           std::to_string(width) + '\0';
    key += text;
    if (auto found = layouts_.find(key); found != layouts_.end()) return found->second;
    if (layouts_.size() >= kMaxCachedLayouts) clearLayouts();

    PangoLayout* layout = pango_layout_new(context_);
    pango_layout_set_auto_dir(layout, FALSE);
    pango_layout_set_font_description(layout, fontDescription_);
    if (fontStyle_ & (kStyleUnderline | kStyleStrikeout)) {
        PangoAttrList* attributes = pango_attr_list_new();
        if (fontStyle_ & kStyleUnderline)
            pango_attr_list_insert(attributes, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
        if (fontStyle_ & kStyleStrikeout)
            pango_attr_list_insert(attributes, pango_attr_strikethrough_new(TRUE));
        pango_layout_set_attributes(layout, attributes);
        pango_attr_list_unref(attributes);
    }
    // Broken UTF-8 (and NUL) becomes U+FFFD instead of cutting the text short.
    const char* invalid = nullptr;
    if (g_utf8_validate(text.data(), static_cast<gssize>(text.size()), &invalid)) {
        pango_layout_set_text(layout, text.data(), static_cast<int>(text.size()));
    } else {
        gchar* valid = g_utf8_make_valid(text.data(), static_cast<gssize>(text.size()));
        pango_layout_set_text(layout, valid, -1);
        g_free(valid);
    }
    pango_layout_set_width(layout, width);
    pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
    // Right-to-left rows end at the right edge: x itself when unbounded.
    pango_layout_set_alignment(layout, rightToLeft_ ? PANGO_ALIGN_RIGHT : PANGO_ALIGN_LEFT);
    layouts_.emplace(std::move(key), layout);
    return layout;
}

void CairoText::useFont(const CanvasFont& font) {
    if (font.family == fontFamily_ && font.emSize == fontSize_ && font.style == fontStyle_) return;
    fontFamily_ = font.family;
    fontSize_ = font.emSize;
    fontStyle_ = font.style;
    pango_font_description_set_family(fontDescription_, fontFamily_.c_str());
    pango_font_description_set_absolute_size(fontDescription_,
                                             static_cast<double>(fontSize_) * PANGO_SCALE);
    pango_font_description_set_weight(
        fontDescription_, (fontStyle_ & kStyleBold) ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_font_description_set_style(
        fontDescription_, (fontStyle_ & kStyleItalic) ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
}

void CairoText::useDirection(bool rightToLeft) {
    if (rightToLeft == rightToLeft_) return;
    rightToLeft_ = rightToLeft;
    pango_context_set_base_dir(context_, rightToLeft ? PANGO_DIRECTION_RTL : PANGO_DIRECTION_LTR);
    clearLayouts();
}

int32_t CairoText::draw(cairo_t* cr, std::string_view text, const CanvasFont& font, RectF rect,
                        const TextLayout* layout, int canvasWidth, int canvasHeight) {
    if (!font.valid || (layout && !layout->valid) || !finite(rect) || !std::isfinite(font.emSize) ||
        font.emSize <= 0 || font.emSize > kMaxEmSize)
        return status::kInvalidParameter;
    if (text.empty()) return status::kOk;

    const bool rightToLeft = layout && layout->rightToLeft();
    const bool bounded = rect.width > 0;
    const int alignment = layout ? layout->lineAlignment : TextLayout::kAlignNear;
    // Quick refusal, before any shaping, of text that cannot reach the
    // picture (the copies of a label one map width away): no glyph is wider
    // than two ems per byte of its text.
    const double reach = double(font.emSize) * (2.0 * double(text.size()) + 1.0);
    const double startX = rect.x;
    if ((!rightToLeft || bounded) &&
        (startX - font.emSize > canvasWidth || startX + std::max(reach, double(rect.width)) < 0))
        return status::kOk;
    if (rightToLeft && !bounded && (startX + font.emSize < 0 || startX - reach > canvasWidth))
        return status::kOk;
    if (alignment == TextLayout::kAlignNear && rect.height <= 0 &&
        rect.y - font.emSize > canvasHeight)
        return status::kOk;

    useFont(font);
    useDirection(rightToLeft);
    // The context follows the Cairo context's transform and font options,
    // which only change with a new Cairo context; updating it for every label
    // would make each cached layout shape its text again.
    if (cr != updatedFor_) {
        pango_cairo_update_context(cr, context_);
        updatedFor_ = cr;
    }
    layout_ = layoutFor(text, bounded ? toPangoUnits(rect.width) : -1);

    PangoRectangle logical;
    pango_layout_get_extents(layout_, nullptr, &logical);
    const double textWidth = double(logical.x + logical.width) / PANGO_SCALE;
    const double textHeight = double(logical.height) / PANGO_SCALE;
    const double x = (!bounded && rightToLeft) ? rect.x - textWidth : rect.x;
    double y = rect.y;
    if (alignment == TextLayout::kAlignCentre)
        y = rect.y + (rect.height - textHeight) / 2;
    else if (alignment == 2)
        y = rect.y + rect.height - textHeight;  // far

    // Nothing to paint when the text lies wholly outside the picture.
    const double left = x + std::min(0.0, double(logical.x) / PANGO_SCALE);
    const double margin = font.emSize;  // glyph ink may reach past the logical box
    if (left - margin > canvasWidth || x + textWidth + margin < 0 || y - margin > canvasHeight ||
        y + textHeight + margin < 0)
        return status::kOk;

    const bool clipped = bounded && rect.height > 0;
    if (clipped) {
        cairo_save(cr);
        cairo_rectangle(cr, rect.x, rect.y, rect.width, rect.height);
        cairo_clip(cr);
    }
    cairo_move_to(cr, x, y);
    if (font.emSize >= kOutlineEmSize) {
        pango_cairo_layout_path(cr, layout_);
        cairo_fill(cr);
    } else {
        pango_cairo_show_layout(cr, layout_);
    }
    cairo_new_path(cr);
    if (clipped) cairo_restore(cr);
    return status::kOk;
}

int CairoText::unknownGlyphs() const {
    return layout_ ? pango_layout_get_unknown_glyphs_count(layout_) : 0;
}

}  // namespace tcmap
