#include <fontconfig/fontconfig.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "render/canvas/cairo_canvas.h"
#include "render/canvas/font_aliases.h"

namespace tcmap {
namespace {

constexpr uint32_t kBackground = 0xFF000000;

class CanvasText : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { ASSERT_TRUE(loadFontAliases(TCMAP_SOURCE_DIR "/data")); }

    void SetUp() override {
        ASSERT_EQ(picture.create(400, 200, kBackground, kBmpFormatId), 0);
        ASSERT_EQ(canvas.open(picture), 0);
        font.create("Consolas", 20, 0, CanvasUnit::World);
        brush.setSolid(0xFFFFFFFF);
    }

    void clear() { std::fill(picture.pixels(), picture.pixels() + 400 * 200, kBackground); }

    bool inked(int x, int y) const { return picture.pixelArgb(x, y) != kBackground; }

    // Inked pixels per column between rows top and bottom.
    std::vector<int> columnInk(int top = 0, int bottom = 200) const {
        std::vector<int> ink(400, 0);
        for (int y = top; y < bottom; ++y)
            for (int x = 0; x < 400; ++x) ink[x] += inked(x, y);
        return ink;
    }

    static int lastInked(const std::vector<int>& ink) {
        for (int x = int(ink.size()) - 1; x >= 0; --x)
            if (ink[x]) return x;
        return -1;
    }

    // First and last inked rows; {-1, -1} when nothing is drawn.
    std::pair<int, int> inkedRows() const {
        int first = -1, last = -1;
        for (int y = 0; y < 200; ++y)
            for (int x = 0; x < 400; ++x)
                if (inked(x, y)) {
                    if (first < 0) first = y;
                    last = y;
                    break;
                }
        return {first, last};
    }

    Picture picture;
    CairoCanvas canvas;
    CanvasFont font;
    CanvasBrush brush;
};

std::string matchedFamily(const char* requested) {
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(requested));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    std::string family;
    FcChar8* name = nullptr;
    if (match && FcPatternGetString(match, FC_FAMILY, 0, &name) == FcResultMatch)
        family = reinterpret_cast<const char*>(name);
    if (match) FcPatternDestroy(match);
    FcPatternDestroy(pattern);
    return family;
}

TEST_F(CanvasText, ProgramFontsResolveToInstalledFamilies) {
    EXPECT_EQ(matchedFamily("Microsoft Yahei UI"), "WenQuanYi Micro Hei");
    EXPECT_EQ(matchedFamily("Microsoft YaHei UI"), "WenQuanYi Micro Hei");
    EXPECT_EQ(matchedFamily("Consolas"), "DejaVu Sans Mono");
    EXPECT_TRUE(loadFontAliases("/no/such/folder"));  // loaded once; later calls only report
}

TEST_F(CanvasText, ChineseLabelsHaveEveryGlyph) {
    canvas.setTextLanguage("zh-cn");
    font.create("Microsoft Yahei UI", 16, 0, CanvasUnit::Pixel);
    ASSERT_TRUE(
        canvas.drawText("超强台风 山竹 風暴 090106Z", font, brush, {10, 10, 0, 0}, nullptr));
    EXPECT_EQ(canvas.lastTextUnknownGlyphs(), 0);
    EXPECT_GT(lastInked(columnInk()), 100);
    // The legend font falls back to a CJK face for Chinese rows.
    font.create("Consolas", 16, 0, CanvasUnit::World);
    ASSERT_TRUE(canvas.drawText("● 热带低压 (TD)", font, brush, {10, 50, 0, 0}, nullptr));
    EXPECT_EQ(canvas.lastTextUnknownGlyphs(), 0);
}

TEST_F(CanvasText, RightToLeftRowsEndAtXWithTheBulletOnTheRight) {
    TextLayout rtl;
    rtl.create(TextLayout::kRightToLeft, 0);
    ASSERT_TRUE(canvas.drawText("● Tropical storm\r\n● TD", font, brush, {300, 20, 0, 0}, &rtl));
    const std::vector<int> first = columnInk(20, 45), second = columnInk(45, 70);
    ASSERT_GE(lastInked(first), 0);
    ASSERT_GE(lastInked(second), 0);
    // Both rows end at x, so their bullets line up.
    EXPECT_LE(lastInked(first), 300);
    EXPECT_GE(lastInked(first), 294);
    EXPECT_NEAR(lastInked(first), lastInked(second), 1);
    // The right end of the first row looks like the end of "Tropical storm ●"
    // drawn left to right, not like the end of "● Tropical storm".
    auto tail = [this](std::string_view text) {
        clear();
        canvas.drawText(text, font, brush, {20, 20, 0, 0}, nullptr);
        std::vector<int> ink = columnInk(20, 45);
        const int end = lastInked(ink);
        return std::vector<int>(ink.begin() + end - 15, ink.begin() + end + 1);
    };
    const std::vector<int> rtlTail(first.begin() + lastInked(first) - 15,
                                   first.begin() + lastInked(first) + 1);
    EXPECT_EQ(rtlTail, tail("Tropical storm ●"));
    EXPECT_NE(rtlTail, tail("● Tropical storm"));
}

TEST_F(CanvasText, LinesAndVerticalAlignment) {
    // Unbounded from (x, y), near alignment: the text hangs below y.
    ASSERT_TRUE(canvas.drawText("P+12h\r\n65kt", font, brush, {20, 100, 0, 0}, nullptr));
    const auto [top, bottom] = inkedRows();
    EXPECT_GE(top, 100);
    EXPECT_GT(bottom - top, 30);  // two lines of a 20-pixel font
    clear();
    // Centred on a zero-height rectangle: the block straddles y.
    TextLayout centred;
    centred.genericDefault();
    centred.setLineAlignment(TextLayout::kAlignCentre);
    ASSERT_TRUE(canvas.drawText("P+12h\r\n65kt", font, brush, {20, 100, 0, 0}, &centred));
    const auto [centredTop, centredBottom] = inkedRows();
    EXPECT_LT(centredTop, 100);
    EXPECT_GT(centredBottom, 100);
    EXPECT_NEAR((centredTop + centredBottom) / 2.0, 100, 6);
    EXPECT_NEAR(centredBottom - centredTop, bottom - top, 1);
    // A bounded rectangle clips and wraps. Its edges at x = 80 and y = 50 run
    // through the centres of column 80 and row 50 (pixel centres lie at whole
    // coordinates), which may keep half of a clipped glyph; nothing beyond.
    clear();
    ASSERT_TRUE(canvas.drawText("wrapped words here", font, brush, {20, 20, 60, 30}, nullptr));
    EXPECT_LE(lastInked(columnInk()), 80);
    EXPECT_LE(inkedRows().second, 50);
}

TEST_F(CanvasText, BadTextArgumentsFailCleanly) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_FALSE(canvas.drawText("x", font, brush, {nan, 0, 0, 0}, nullptr));
    EXPECT_EQ(canvas.lastStatus(), 2);
    CanvasFont tiny;
    tiny.create("Consolas", 0, 0, CanvasUnit::World);
    EXPECT_FALSE(canvas.drawText("x", tiny, brush, {0, 0, 0, 0}, nullptr));
    TextLayout released;
    EXPECT_FALSE(canvas.drawText("x", font, brush, {0, 0, 0, 0}, &released));
    EXPECT_EQ(inkedRows().first, -1);
    // Broken UTF-8 is drawn with replacement characters, not cut short.
    const std::string broken = std::string("A\xFF\xFE") + '\0' + "B";
    EXPECT_TRUE(canvas.drawText(broken, font, brush, {10, 10, 0, 0}, nullptr));
    EXPECT_GT(lastInked(columnInk()), 40);
    EXPECT_EQ(canvas.lastStatus(), 0);
}

}  // namespace
}  // namespace tcmap
