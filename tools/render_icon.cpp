// Draws the program's icon: a recurving storm track on a night-blue tile,
// its fixes coloured from depression to super typhoon. Writes the scalable
// SVG and the PNG sizes desktops ask for; the outputs are committed under
// packaging/icons/, so builds need not run this.
//   render_icon <output folder>
#include <cairo-svg.h>
#include <cairo.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <string>

namespace {

constexpr double kSize = 256.0;
constexpr std::array<int, 6> kPngSizes{16, 32, 48, 64, 128, 256};

struct Fix {
    double x, y, radius;
    double r, g, b;
};

// Along the track: a depression in the south-east, peak intensity at the
// turn, weakening as it heads north-east.
constexpr std::array<Fix, 7> kFixes{{
    {206, 196, 13, 0.33, 0.80, 0.95},
    {160, 184, 15, 0.36, 0.85, 0.45},
    {118, 160, 17, 0.98, 0.86, 0.25},
    {96, 120, 20, 0.96, 0.50, 0.18},
    {104, 80, 22, 0.89, 0.16, 0.22},
    {138, 54, 17, 0.78, 0.30, 0.85},
    {184, 42, 13, 0.55, 0.60, 0.95},
}};

void roundedTile(cairo_t* cr) {
    constexpr double kInset = 8, kRadius = 44, kEnd = kSize - kInset;
    cairo_new_sub_path(cr);
    cairo_arc(cr, kEnd - kRadius, kInset + kRadius, kRadius, -M_PI / 2, 0);
    cairo_arc(cr, kEnd - kRadius, kEnd - kRadius, kRadius, 0, M_PI / 2);
    cairo_arc(cr, kInset + kRadius, kEnd - kRadius, kRadius, M_PI / 2, M_PI);
    cairo_arc(cr, kInset + kRadius, kInset + kRadius, kRadius, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

void drawIcon(cairo_t* cr) {
    roundedTile(cr);
    cairo_pattern_t* sea = cairo_pattern_create_linear(0, 0, 0, kSize);
    cairo_pattern_add_color_stop_rgb(sea, 0, 0.13, 0.22, 0.33);
    cairo_pattern_add_color_stop_rgb(sea, 1, 0.06, 0.09, 0.12);
    cairo_set_source(cr, sea);
    cairo_fill(cr);
    cairo_pattern_destroy(sea);

    // Faint grid lines, as on the maps.
    cairo_set_source_rgba(cr, 1, 1, 1, 0.12);
    cairo_set_line_width(cr, 3);
    for (double at = 64; at < kSize; at += 64) {
        cairo_move_to(cr, at, 20);
        cairo_line_to(cr, at, kSize - 20);
        cairo_move_to(cr, 20, at);
        cairo_line_to(cr, kSize - 20, at);
    }
    cairo_stroke(cr);

    // The track through the fixes.
    cairo_set_source_rgb(cr, 0.92, 0.94, 0.96);
    cairo_set_line_width(cr, 7);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_move_to(cr, kFixes[0].x, kFixes[0].y);
    for (size_t i = 1; i < kFixes.size(); ++i) cairo_line_to(cr, kFixes[i].x, kFixes[i].y);
    cairo_stroke(cr);

    for (const Fix& fix : kFixes) {
        cairo_arc(cr, fix.x, fix.y, fix.radius, 0, 2 * M_PI);
        cairo_set_source_rgb(cr, fix.r, fix.g, fix.b);
        cairo_fill_preserve(cr);
        cairo_set_source_rgb(cr, 0.06, 0.09, 0.12);
        cairo_set_line_width(cr, 4);
        cairo_stroke(cr);
    }
}

bool writePng(const std::string& path, int size) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
    cairo_t* cr = cairo_create(surface);
    cairo_scale(cr, size / kSize, size / kSize);
    drawIcon(cr);
    cairo_destroy(cr);
    const bool written = cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    return written;
}

bool writeSvg(const std::string& path) {
    cairo_surface_t* surface = cairo_svg_surface_create(path.c_str(), kSize, kSize);
    cairo_svg_surface_set_document_unit(surface, CAIRO_SVG_UNIT_PX);
    cairo_t* cr = cairo_create(surface);
    drawIcon(cr);
    cairo_destroy(cr);
    cairo_surface_finish(surface);
    const bool written = cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    return written;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: render_icon <output folder>\n");
        return 2;
    }
    const std::string folder = argv[1];
    bool ok = writeSvg(folder + "/tcmap.svg");
    for (const int size : kPngSizes) {
        ok = writePng(folder + "/tcmap-" + std::to_string(size) + ".png", size) && ok;
    }
    if (!ok) std::fprintf(stderr, "render_icon: cannot write into %s\n", folder.c_str());
    return ok ? 0 : 1;
}
