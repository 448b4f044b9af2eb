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
    const struct {
        std::string_view text;
        const char* charset;
        const char* utf8;
    } rows[] = {
        {kTyphoonGb18030, "GB18030", "台风"},
        {kTyphoonBig5, "BIG5", "台風"},
        {"plain ASCII", "GB18030", "plain ASCII"},
    };
    for (const auto& row : rows) EXPECT_EQ(toUtf8(row.text, row.charset), row.utf8) << row.charset;
    EXPECT_EQ(convertCharset("台风", "UTF-8", "GB18030"), std::string(kTyphoonGb18030));
    EXPECT_EQ(convertCharset("", "UTF-8", "BIG5"), std::string());
    // Long texts grow the output buffer as needed.
    std::string many;
    for (int i = 0; i < 3000; ++i) many += kTyphoonGb18030;
    EXPECT_EQ(toUtf8(many, "GB18030").size(), 3000u * 6);
}

TEST(ConvertCharset, FailsWholeOnUnknownNamesAndInvalidBytes) {
    const struct {
        const char* text;
        const char* from;
        const char* to;
    } failures[] = {
        {"abc", "NO-SUCH-CHARSET", "UTF-8"},
        {"abc", "", "UTF-8"},
        // Options appended to a name are not part of a character-set name.
        {"a\xFF", "UTF-8//IGNORE", "UTF-8"},
        {"風", "UTF-8", "GB2312"},  // no such character there
    };
    for (const auto& row : failures) {
        EXPECT_EQ(convertCharset(row.text, row.from, row.to), std::nullopt) << row.from;
    }
    const struct {
        const char* text;
        const char* charset;
    } invalid[] = {
        {"ok \xFF", "UTF-8"},
        {"\xED\xA0\x80", "UTF-8"},  // an encoded surrogate
        {"\xE5\x8F", "UTF-8"},      // a character cut short
        {"abc\xCC", "GB18030"},     // a lead byte at the very end
    };
    for (const auto& row : invalid) EXPECT_EQ(toUtf8(row.text, row.charset), "") << row.text;
}

TEST(CodePageLength, CountsChineseCharactersAsTwoBytes) {
    const struct {
        const char* text;
        size_t bytes;
    } rows[] = {
        {"Category 5", 10u}, {"热带风暴 (34-63kt)", 8u + 10u}, {"● ", 3u}, {"", 0u},
        {"bad \xFF", 5u},
    };
    for (const auto& row : rows) EXPECT_EQ(codePageLength(row.text), row.bytes) << row.text;
}

TEST(Utf8Text, RecognisesWellFormedSequencesOnly) {
    const struct {
        const char* text;
        size_t at;
        size_t length;
    } sequences[] = {
        {"a", 0, 1u},
        {"台", 0, 3u},
        {"\xF0\x9F\x8C\x80", 0, 4u},
        {"\x80", 0, 0u},              // stray continuation byte
        {"\xC0\xAF", 0, 0u},          // overlong
        {"\xF4\x90\x80\x80", 0, 0u},  // beyond U+10FFFF
        {"\xE5\x8F", 0, 0u},          // cut short
        {"a", 5, 0u},
    };
    for (const auto& row : sequences) {
        EXPECT_EQ(utf8SequenceLength(row.text, row.at), row.length) << row.text << " at " << row.at;
    }

    const struct {
        const char* text;
        size_t bytes;
        const char* prefix;
    } prefixes[] = {
        {"台风", 4, "台"},
        {"台风", 6, "台风"},
        {"ab台", 2, "ab"},
        {"\xFF\xFEx", 2, "\xFF\xFE"},
    };
    for (const auto& row : prefixes) {
        EXPECT_EQ(utf8Prefix(row.text, row.bytes), row.prefix) << row.text << " " << row.bytes;
    }
}
