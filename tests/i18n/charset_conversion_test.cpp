#include "i18n/charset_conversion.h"

#include <gtest/gtest.h>

#include "base/utf8_text.h"

using namespace tcmap;

namespace {
// 台风 in the two Chinese code pages.
constexpr std::string_view kTyphoonGb18030 = "\xCC\xA8\xB7\xE7";
constexpr std::string_view kTyphoonBig5 = "\xA5\x78\xAD\xB7";  // 台風
}  // namespace

TEST(ConvertCharset, ConvertsChineseCodePagesToUtf8) {
    EXPECT_EQ(toUtf8(kTyphoonGb18030, "GB18030"), "台风");
    EXPECT_EQ(toUtf8(kTyphoonBig5, "BIG5"), "台風");
    EXPECT_EQ(toUtf8("plain ASCII", "GB18030"), "plain ASCII");
    EXPECT_EQ(convertCharset("台风", "UTF-8", "GB18030"), std::string(kTyphoonGb18030));
    EXPECT_EQ(convertCharset("", "UTF-8", "BIG5"), std::string());
    // Long texts grow the output buffer as needed.
    std::string many;
    for (int i = 0; i < 3000; ++i) many += kTyphoonGb18030;
    EXPECT_EQ(toUtf8(many, "GB18030").size(), 3000u * 6);
}

TEST(ConvertCharset, FailsWholeOnUnknownNamesAndInvalidBytes) {
    EXPECT_EQ(convertCharset("abc", "NO-SUCH-CHARSET", "UTF-8"), std::nullopt);
    EXPECT_EQ(convertCharset("abc", "", "UTF-8"), std::nullopt);
    // Options appended to a name are not part of a character-set name.
    EXPECT_EQ(convertCharset("a\xFF", "UTF-8//IGNORE", "UTF-8"), std::nullopt);
    EXPECT_EQ(toUtf8("ok \xFF", "UTF-8"), "");
    EXPECT_EQ(toUtf8("\xED\xA0\x80", "UTF-8"), "");  // an encoded surrogate
    EXPECT_EQ(toUtf8("\xE5\x8F", "UTF-8"), "");      // a character cut short
    EXPECT_EQ(toUtf8("abc\xCC", "GB18030"), "");     // a lead byte at the very end
    EXPECT_EQ(convertCharset("風", "UTF-8", "GB2312"), std::nullopt);  // no such character there
}

TEST(CodePageLength, CountsChineseCharactersAsTwoBytes) {
    EXPECT_EQ(codePageLength("Category 5"), 10u);
    EXPECT_EQ(codePageLength("热带风暴 (34-63kt)"), 8u + 10u);
    EXPECT_EQ(codePageLength("● "), 3u);
    EXPECT_EQ(codePageLength(""), 0u);
    EXPECT_EQ(codePageLength("bad \xFF"), 5u);
}

TEST(Utf8Text, RecognisesWellFormedSequencesOnly) {
    EXPECT_EQ(utf8SequenceLength("a", 0), 1u);
    EXPECT_EQ(utf8SequenceLength("台", 0), 3u);
    EXPECT_EQ(utf8SequenceLength("\xF0\x9F\x8C\x80", 0), 4u);
    EXPECT_EQ(utf8SequenceLength("\x80", 0), 0u);              // stray continuation byte
    EXPECT_EQ(utf8SequenceLength("\xC0\xAF", 0), 0u);          // overlong
    EXPECT_EQ(utf8SequenceLength("\xF4\x90\x80\x80", 0), 0u);  // beyond U+10FFFF
    EXPECT_EQ(utf8SequenceLength("\xE5\x8F", 0), 0u);          // cut short
    EXPECT_EQ(utf8SequenceLength("a", 5), 0u);

    EXPECT_EQ(utf8Prefix("台风", 4), "台");
    EXPECT_EQ(utf8Prefix("台风", 6), "台风");
    EXPECT_EQ(utf8Prefix("ab台", 2), "ab");
    EXPECT_EQ(utf8Prefix("\xFF\xFEx", 2), "\xFF\xFE");
}
