#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "render/canvas/cairo_canvas.h"

namespace tcmap {
namespace {

constexpr uint32_t kBackground = 0xFF0F0F0F;
constexpr uint32_t kRed = 0xFFFF0000;
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

struct Surface {
    Picture picture;
    CairoCanvas canvas;
    CanvasPen pen;
    CanvasBrush brush;

    explicit Surface(int width = 200, int height = 100) {
        EXPECT_EQ(picture.create(width, height, kBackground, kBmpFormatId), 0);
        EXPECT_EQ(canvas.open(picture), 0);
        pen.create(kRed, 1, CanvasUnit::Pixel);
        brush.setSolid(kRed);
    }
    uint32_t at(int x, int y) const { return picture.pixelArgb(x, y); }
    bool touched(int x, int y) const { return at(x, y) != kBackground; }
};

TEST(CanvasColour, ToArgbSwapsRedAndBlue) {
    EXPECT_EQ(toArgb(0x000080FF), 0xFFFF8000u);
    EXPECT_EQ(toArgb(0x000080FF, 0), 0x00FF8000u);
    EXPECT_EQ(toArgb(rgb(1, 2, 3), 0x80), 0x80010203u);
}

TEST(CairoCanvas, FilledShapesCoverWhatTheyShould) {
    Surface s;
    ASSERT_TRUE(s.canvas.fillEllipse(s.brush, 20, 20, 30, 20));
    EXPECT_EQ(s.at(35, 30), kRed);
    EXPECT_FALSE(s.touched(21, 21));  // the bounding box corner stays outside
    // Pixel centres lie at whole coordinates, so a rectangle whose edges run
    // through pixel centres covers the pixels inside fully and half of the
    // edge pixels (60..70 x 10..15: 61..69 x 11..14 full, columns 60 and 70,
    // rows 10 and 15 half); one from -0.5 to +0.5 around them is exact.
    s.brush.setSolid(0xFF00FF00);
    ASSERT_TRUE(s.canvas.fillRectangle(s.brush, 60, 10, 10, 5));
    EXPECT_EQ(s.at(61, 11), 0xFF00FF00u);
    EXPECT_EQ(s.at(69, 14), 0xFF00FF00u);
    EXPECT_NEAR(int((s.at(70, 12) >> 8) & 0xFF), (255 + 15) / 2, 2);
    EXPECT_NEAR(int((s.at(65, 15) >> 8) & 0xFF), (255 + 15) / 2, 2);
    EXPECT_FALSE(s.touched(71, 14));
    EXPECT_FALSE(s.touched(69, 16));
    ASSERT_TRUE(s.canvas.fillRectangle(s.brush, 99.5f, 9.5f, 10, 5));
    EXPECT_EQ(s.at(100, 10), 0xFF00FF00u);
    EXPECT_EQ(s.at(109, 14), 0xFF00FF00u);
    EXPECT_FALSE(s.touched(110, 14));
    EXPECT_FALSE(s.touched(109, 15));
    EXPECT_FALSE(s.touched(99, 10));
    // A half-transparent brush blends with what is below.
    s.brush.setSolid(0x80FFFFFF);
    ASSERT_TRUE(s.canvas.fillRectangle(s.brush, 0, 90, 10, 10));
    const uint32_t blended = s.at(5, 95);
    EXPECT_EQ(blended >> 24, 0xFFu);
    EXPECT_NEAR(int(blended & 0xFF), (255 + 15) / 2, 2);
}

TEST(CairoCanvas, PolygonsFillEvenOdd) {
    Surface s;
    // A five-pointed star drawn in one stroke: its centre is crossed twice.
    std::vector<PointF> star;
    for (int i = 0; i < 5; ++i) {
        const double a = -M_PI / 2 + i * 4 * M_PI / 5;
        star.push_back({float(100 + 40 * std::cos(a)), float(50 + 40 * std::sin(a))});
    }
    ASSERT_TRUE(s.canvas.fillPolygon(s.brush, star));
    EXPECT_FALSE(s.touched(100, 52));  // the pentagon in the middle stays empty
    EXPECT_TRUE(s.touched(100, 16));   // the top point is filled
    EXPECT_FALSE(s.canvas.fillPolygon(s.brush, {}));
    EXPECT_EQ(s.canvas.lastStatus(), 2);
}

TEST(CairoCanvas, LinesHairlinesAndDashes) {
    Surface s;
    // A one-pixel line through the centres of row 10 (y = 10, pixel centres
    // at whole coordinates) colours that row only.
    ASSERT_TRUE(s.canvas.drawLine(s.pen, 10, 10, 190, 10));
    EXPECT_EQ(s.at(100, 10), kRed);
    EXPECT_FALSE(s.touched(100, 9));
    EXPECT_FALSE(s.touched(100, 11));
    // Width 0 is a one-pixel hairline, not nothing.
    s.pen.setWidth(0);
    ASSERT_TRUE(s.canvas.drawLine(s.pen, 10, 20, 190, 20));
    EXPECT_EQ(s.at(100, 20), kRed);
    EXPECT_FALSE(s.touched(100, 21));
    // Dashes of 4 and gaps of 4 pen widths (2 pixels wide): gaps stay empty.
    // The 13 dashes of 8 pixels (flat ends) ink row 40 over 104 pixels' worth;
    // each starts and ends on a pixel centre, so it touches 9 columns, the
    // two at its ends by half.
    s.pen.setWidth(2);
    s.pen.setDashPattern({4, 4});
    ASSERT_TRUE(s.canvas.drawLine(s.pen, 0, 40, 200, 40));
    int dashed = 0;
    double inked = 0;
    for (int x = 0; x < 200; ++x) {
        dashed += s.touched(x, 40) ? 1 : 0;
        inked += (int((s.at(x, 40) >> 16) & 0xFF) - 15) / 240.0;
    }
    EXPECT_NEAR(inked, 104, 1);
    EXPECT_EQ(dashed, 12 * 9 + 8);  // the last dash ends at the picture's edge
    EXPECT_TRUE(s.touched(1, 40));
    EXPECT_FALSE(s.touched(12, 40));
    // The dash phase survives clipping: a line starting far left keeps its rhythm.
    ASSERT_TRUE(s.canvas.drawLine(s.pen, -800, 60, 200, 60));
    for (int x = 0; x < 200; ++x) EXPECT_EQ(s.touched(x, 60), s.touched(x, 40)) << x;
    // A negative dash length is refused.
    s.pen.setDashPattern({4, -1});
    EXPECT_FALSE(s.canvas.drawLine(s.pen, 0, 80, 200, 80));
    EXPECT_EQ(s.canvas.lastStatus(), 2);
    s.pen.setDashStyle(0);
    EXPECT_TRUE(s.canvas.drawLine(s.pen, 0, 80, 200, 80));
}

// How much a pixel differs from the background, summed over its channels.
int inkOf(uint32_t pixel) {
    int ink = 0;
    for (int shift = 0; shift < 24; shift += 8)
        ink += std::abs(int((pixel >> shift) & 0xFF) - int((kBackground >> shift) & 0xFF));
    return ink;
}

TEST(CairoCanvas, OnePixelLinesAtWholeCoordinatesInkOneColumnOrRow) {
    for (const float width : {1.0f, 0.0f}) {
        Surface s;
        s.pen.setWidth(width);
        ASSERT_TRUE(s.canvas.drawLine(s.pen, 120, 10, 120, 90));
        ASSERT_TRUE(s.canvas.drawLine(s.pen, 10, 95, 100, 95));
        std::vector<int> columns(200, 0), rows(100, 0);
        for (int y = 0; y < 100; ++y) {
            for (int x = 0; x < 200; ++x) {
                const int ink = inkOf(s.at(x, y));
                (y < 93 ? columns[size_t(x)] : rows[size_t(y)]) += ink;
            }
        }
        int columnTotal = 0, rowTotal = 0;
        for (int ink : columns) columnTotal += ink;
        for (int ink : rows) rowTotal += ink;
        ASSERT_GT(columnTotal, 0);
        ASSERT_GT(rowTotal, 0);
        EXPECT_GE(columns[120], 0.9 * columnTotal) << width;
        EXPECT_GE(rows[95], 0.9 * rowTotal) << width;
    }
}

TEST(CairoCanvas, PicturesAtWholePositionsKeepTheirPixels) {
    Surface s;
    Picture tile;
    ASSERT_EQ(tile.create(37, 23, 0xFF000000, kPngFormatId), 0);
    for (int i = 0; i < 37 * 23; ++i)
        tile.pixels()[i] = 0xFF000000u | uint32_t(i * 2654435761u >> 8);
    ASSERT_TRUE(s.canvas.drawPicture(tile, 13, 7, 37, 23));
    ASSERT_TRUE(s.canvas.drawPicture(tile, -20, 70, 37, 23));  // partly outside
    for (int y = 0; y < 23; ++y) {
        for (int x = 0; x < 37; ++x) {
            ASSERT_EQ(s.at(13 + x, 7 + y), tile.pixelArgb(x, y)) << x << "," << y;
            if (x >= 20) {
                ASSERT_EQ(s.at(x - 20, 70 + y), tile.pixelArgb(x, y)) << x << "," << y;
            }
        }
    }
    EXPECT_FALSE(s.touched(12, 7));
    EXPECT_FALSE(s.touched(50, 29));
}

TEST(CairoCanvas, ArcAnglesAreTrueAnglesClockwise) {
    // Ellipse 200 x 100 centred at (150, 100); arc from 0 to 45 degrees.
    Surface s(300, 200);
    s.pen.setWidth(3);
    ASSERT_TRUE(s.canvas.drawArc(s.pen, 50, 50, 200, 100, 0, 45));
    auto onEllipse = [](double degrees, int& x, int& y) {
        const double t = degrees * M_PI / 180, c = std::cos(t), n = std::sin(t);
        const double r = 1 / std::sqrt(c * c / 10000 + n * n / 2500);
        x = int(std::lround(150 + r * c));
        y = int(std::lround(100 + r * n));
    };
    int x, y;
    onEllipse(40, x, y);  // clockwise from east: below the centre on screen
    EXPECT_TRUE(s.touched(x, y)) << x << "," << y;
    onEllipse(55, x, y);
    EXPECT_FALSE(s.touched(x, y)) << x << "," << y;
    onEllipse(-10, x, y);
    EXPECT_FALSE(s.touched(x, y)) << x << "," << y;
    // The quarter starting at 270 degrees is the north-east one.
    Surface q(300, 200);
    q.pen.setWidth(3);
    ASSERT_TRUE(q.canvas.drawArc(q.pen, 100, 50, 100, 100, 270, 90));
    EXPECT_TRUE(q.touched(185, 64));
    EXPECT_FALSE(q.touched(115, 136));
    EXPECT_FALSE(q.touched(115, 64));
}

TEST(CairoCanvas, BadArgumentsDrawNothingAndLeaveTheCanvasWorking) {
    Surface s;
    EXPECT_FALSE(s.canvas.drawLine(s.pen, kNaN, 1, 50, 50));
    EXPECT_EQ(s.canvas.lastStatus(), 2);
    EXPECT_FALSE(s.canvas.fillEllipse(s.brush, 10, 10, std::numeric_limits<float>::infinity(), 5));
    EXPECT_FALSE(s.canvas.drawArc(s.pen, 10, 10, 20, 20, kNaN, 90));
    EXPECT_FALSE(s.canvas.fillPolygon(s.brush, std::vector<PointF>{{0, 0}, {kNaN, 5}, {9, 9}}));
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 200; ++x) ASSERT_FALSE(s.touched(x, y));
    CanvasPen released = s.pen;
    released.release();
    EXPECT_FALSE(s.canvas.drawLine(released, 0, 0, 50, 50));
    EXPECT_EQ(s.canvas.lastStatus(), 2);

    // Zero-size ellipses and arcs are fine and do not break the context.
    EXPECT_TRUE(s.canvas.fillEllipse(s.brush, 10, 10, 0, 20));
    EXPECT_TRUE(s.canvas.drawEllipse(s.pen, 30, 10, 0, 20));
    EXPECT_EQ(s.at(30, 20), kRed);  // a flat ellipse strokes as a segment
    EXPECT_TRUE(s.canvas.drawArc(s.pen, 40, 10, 20, 0, 0, 180));

    // Shapes far beyond any picture (wind radii at a pole) are refused, not
    // flattened for seconds or overflowed.
    EXPECT_FALSE(s.canvas.drawArc(s.pen, -1e9f, -1e9f, 2e9f, 2e9f, 270, 90));
    EXPECT_FALSE(s.canvas.drawEllipse(s.pen, -1e8f, 10, 2e8f, 20));
    EXPECT_FALSE(s.canvas.fillRectangle(s.brush, -1e9f, -1e9f, 2e9f, 2e9f));
    EXPECT_EQ(s.canvas.lastStatus(), 2);

    ASSERT_TRUE(s.canvas.fillEllipse(s.brush, 100, 40, 20, 20));
    EXPECT_EQ(s.canvas.lastStatus(), 0);
    EXPECT_EQ(s.at(110, 50), kRed);
}

TEST(CairoCanvas, PicturesScaleIntoTheirRectangle) {
    Surface s;
    Picture tile;
    ASSERT_EQ(tile.create(2, 2, 0xFF0000FF, kPngFormatId), 0);
    tile.pixels()[3] = 0xFFFFFF00;  // bottom-right yellow
    ASSERT_TRUE(s.canvas.drawPicture(tile, 10, 10, 40, 40));
    EXPECT_EQ(s.at(15, 15), 0xFF0000FFu);
    EXPECT_EQ(s.at(45, 45), 0xFFFFFF00u);
    EXPECT_FALSE(s.touched(51, 51));
    Picture none;
    EXPECT_FALSE(s.canvas.drawPicture(none, 0, 0, 10, 10));
    EXPECT_EQ(s.canvas.lastStatus(), 2);
}

TEST(CairoCanvas, MapCopiesOutsideTheCanvasAreSkipped) {
    Surface s;
    Picture map;
    ASSERT_EQ(map.create(4, 2, 0xFF00FF00, kPngFormatId), 0);
    // Copies wholly right, left, below or above: success, nothing drawn,
    // status untouched.
    s.canvas.drawLine(s.pen, kNaN, 0, 0, 0);
    EXPECT_TRUE(drawMapCopy(s.canvas, map, 201, 0, 100, 100));
    EXPECT_TRUE(drawMapCopy(s.canvas, map, -100.001, 0, 100, 100));
    EXPECT_TRUE(drawMapCopy(s.canvas, map, 0, 100.001, 100, 100));
    EXPECT_TRUE(drawMapCopy(s.canvas, map, 0, -100.001, 100, 100));
    EXPECT_EQ(s.canvas.lastStatus(), 2);
    // A copy starting exactly on the right border is drawn (and is invisible).
    EXPECT_TRUE(drawMapCopy(s.canvas, map, 200, 0, 100, 100));
    EXPECT_EQ(s.canvas.lastStatus(), 0);
    EXPECT_TRUE(drawMapCopy(s.canvas, map, -50, 0, 100, 100));
    EXPECT_EQ(s.at(49, 50), 0xFF00FF00u);
    EXPECT_FALSE(s.touched(51, 50));
    Picture none;
    EXPECT_FALSE(drawMapCopy(s.canvas, none, 0, 0, 100, 100));
}

TEST(CairoCanvas, OpeningNeedsAPicture) {
    Picture empty;
    CairoCanvas canvas(empty);
    EXPECT_EQ(canvas.lastStatus(), 2);
    EXPECT_FALSE(canvas.isOpen());
    CanvasBrush brush;
    brush.setSolid(kRed);
    EXPECT_FALSE(canvas.fillRectangle(brush, 0, 0, 1, 1));
    Picture picture;
    ASSERT_EQ(picture.create(3, 3, kBackground, kBmpFormatId), 0);
    EXPECT_EQ(canvas.open(picture), 0);
    EXPECT_EQ(canvas.width(), 3);
    // Pixel (0, 0) spans -0.5..0.5 around its centre.
    EXPECT_TRUE(canvas.fillRectangle(brush, -0.5f, -0.5f, 1, 1));
    EXPECT_EQ(picture.pixelArgb(0, 0), kRed);
    EXPECT_EQ(picture.pixelArgb(1, 1), kBackground);
    canvas.close();
    EXPECT_FALSE(canvas.fillRectangle(brush, 0, 0, 1, 1));
}

}  // namespace
}  // namespace tcmap
