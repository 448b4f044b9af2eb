#include "i18n/traditional_chinese.h"

#include <gtest/gtest.h>

#include "base/utf8_text.h"
#include "i18n/gbk_big5_table.h"

using namespace tcmap;

TEST(GbkBig5Table, IndexesEveryCellOnce) {
    EXPECT_EQ(gbkCellIndex(0x81, 0x40), 0);
    EXPECT_EQ(gbkCellIndex(0x81, 0x7E), 62);
    EXPECT_EQ(gbkCellIndex(0x81, 0x80), 63);
    EXPECT_EQ(gbkCellIndex(0x82, 0x40), 190);
    EXPECT_EQ(gbkCellIndex(0xFE, 0xFE), static_cast<int>(kGbkCellCount) - 1);
    EXPECT_EQ(gbkCellIndex(0x81, 0x7F), -1);
    EXPECT_EQ(gbkCellIndex(0x81, 0xFF), -1);
    EXPECT_EQ(gbkCellIndex(0x80, 0x40), -1);
    EXPECT_EQ(gbkCellIndex(0xFF, 0x40), -1);
    // 台 (GBK CC A8) keeps its own BIG5 code A578; 风 (B7 E7) takes 風 (AD B7).
    EXPECT_EQ(kGbkToBig5[gbkCellIndex(0xCC, 0xA8)], 0xA578);
    EXPECT_EQ(kGbkToBig5[gbkCellIndex(0xB7, 0xE7)], 0xADB7);
}

TEST(ToTraditionalChinese, TurnsSimplifiedIntoTraditional) {
    EXPECT_EQ(toTraditionalChinese("台风 路径"), "台風 路徑");
    EXPECT_EQ(toTraditionalChinese("选择语言"), "選擇語言");
    // Unihan lists 办 as its own first variant; the traditional one is used.
    EXPECT_EQ(toTraditionalChinese("办法"), "辦法");
    EXPECT_EQ(toTraditionalChinese("发"), "發");
}

TEST(ToTraditionalChinese, KeepsWhatHasNoOtherForm) {
    // Characters BIG5 already has stay themselves.
    EXPECT_EQ(toTraditionalChinese("后干台"), "后干台");
    // So do simplified forms that BIG5 happens to hold as characters of their own.
    EXPECT_EQ(toTraditionalChinese("气体"), "气体");
    EXPECT_EQ(toTraditionalChinese("MISSING (zh-tw, 72)\r\n"), "MISSING (zh-tw, 72)\r\n");
    // Outside GBK, or in GBK without any BIG5 code: unchanged, still UTF-8.
    EXPECT_EQ(toTraditionalChinese("한국어 ⛵ \xF0\x9F\x8C\x80"), "한국어 ⛵ \xF0\x9F\x8C\x80");
    EXPECT_EQ(toTraditionalChinese("丂"), "丂");
    // Bytes that are not UTF-8 pass through untouched.
    EXPECT_EQ(toTraditionalChinese("风\xFF\xE5"), std::string("風\xFF\xE5"));
    EXPECT_EQ(toTraditionalChinese(""), "");
}

TEST(ToTraditionalChinese, EveryDesignedMenuTextStaysValidUtf8) {
    const std::string text = toTraditionalChinese(
        "&O.打开文件（Ctrl+O）&M.路径图参数设置（F3）0°—180°—0°类型 ● ≥137kt “测试”");
    for (size_t pos = 0; pos < text.size();) {
        const size_t length = utf8SequenceLength(text, pos);
        ASSERT_GT(length, 0u) << "invalid UTF-8 at byte " << pos;
        pos += length;
    }
    EXPECT_NE(text.find("打開文件"), std::string::npos);
    EXPECT_NE(text.find("參數設置"), std::string::npos);
}
