#include "i18n/traditional_chinese.h"

#include <gtest/gtest.h>

#include "base/utf8_text.h"
#include "i18n/gbk_big5_table.h"

#include <string>
#include <vector>

using namespace tcmap;

TEST(GbkBig5Table, IndexesEveryCellOnce) {
    const struct {
        int lead, trail;
        int index;
    } rows[] = {
        {0x81, 0x40, 0},
        {0x81, 0x7E, 62},
        {0x81, 0x80, 63},
        {0x82, 0x40, 190},
        {0xFE, 0xFE, static_cast<int>(kGbkCellCount) - 1},
        {0x81, 0x7F, -1},
        {0x81, 0xFF, -1},
        {0x80, 0x40, -1},
        {0xFF, 0x40, -1},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(gbkCellIndex(row.lead, row.trail), row.index)
            << std::hex << row.lead << " " << row.trail;
    }
    // 台 (GBK CC A8) keeps its own BIG5 code A578; 风 (B7 E7) takes 風 (AD B7).
    EXPECT_EQ(kGbkToBig5[gbkCellIndex(0xCC, 0xA8)], 0xA578);
    EXPECT_EQ(kGbkToBig5[gbkCellIndex(0xB7, 0xE7)], 0xADB7);
}

namespace {

struct TraditionalRow {
    std::string simplified;
    std::string traditional;
};

void expectTraditional(const std::vector<TraditionalRow>& rows) {
    for (const auto& row : rows) {
        EXPECT_EQ(toTraditionalChinese(row.simplified), row.traditional) << row.simplified;
    }
}

}  // namespace

TEST(ToTraditionalChinese, TurnsSimplifiedIntoTraditional) {
    expectTraditional({
        {"台风 路径", "台風 路徑"},
        {"选择语言", "選擇語言"},
        // Unihan lists 办 as its own first variant; the traditional one is used.
        {"办法", "辦法"},
        {"发", "發"},
    });
}

TEST(ToTraditionalChinese, KeepsWhatHasNoOtherForm) {
    expectTraditional({
        // Characters BIG5 already has stay themselves.
        {"后干台", "后干台"},
        // So do simplified forms that BIG5 happens to hold as characters of their own.
        {"气体", "气体"},
        {"MISSING (zh-tw, 72)\r\n", "MISSING (zh-tw, 72)\r\n"},
        // Outside GBK, or in GBK without any BIG5 code: unchanged, still UTF-8.
        {"한국어 ⛵ \xF0\x9F\x8C\x80", "한국어 ⛵ \xF0\x9F\x8C\x80"},
        {"丂", "丂"},
        // Bytes that are not UTF-8 pass through untouched.
        {"风\xFF\xE5", "風\xFF\xE5"},
        {"", ""},
    });
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
