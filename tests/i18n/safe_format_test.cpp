#include "i18n/safe_format.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

using namespace tcmap;

namespace {

struct FormatRow {
    std::string format;
    std::vector<FormatArg> args;
    std::string text;
};

void expectRows(const std::vector<FormatRow>& rows) {
    for (const FormatRow& row : rows)
        EXPECT_EQ(safeFormat(row.format, row.args), row.text) << row.format;
}

}  // namespace

TEST(SafeFormat, FormatsTheLabelDefaults) {
    expectRows({
        {"%02d%02d%02dZ", {2, 11, 6}, "021106Z"},
        {"P+%dh\r\n%dkt", {120, 100}, "P+120h\r\n100kt"},
        {" 等 %s 个文件", {"3"}, " 等 3 个文件"},
        {"no placeholders", {1, 2}, "no placeholders"},
        {"100%% done", {}, "100% done"},
    });
}

TEST(SafeFormat, AppliesFlagsWidthAndPrecisionToIntegers) {
    expectRows({
        {"[%5d|%-5d|%05d|%+d|% d]", {42, 42, -42, 7, 7}, "[   42|42   |-0042|+7| 7]"},
        {"%.3d %.0d|%5.3d %i", {7, 0, -7, -3}, "007 | -007 -3"},
        {"%x %X %#x %#X %o %#o %#x", {255, 255, 255, 255, 8, 8, 0}, "ff FF 0xff 0XFF 10 010 0"},
        {"%#08x", {255}, "0x0000ff"},
        // Unsigned conversions of a negative int wrap at 32 bits, as C does.
        {"%u %x", {-1, -1}, "4294967295 ffffffff"},
        {"%x", {int64_t{1} << 40}, "10000000000"},
        {"%d %d", {INT64_MIN, INT64_MAX}, "-9223372036854775808 9223372036854775807"},
        // Length modifiers are read and ignored.
        {"%ld %lld %hd %hhd %zu %jd %td %Lx", {1, 2, 3, 4, 5, 6, 7, 255}, "1 2 3 4 5 6 7 ff"},
    });
}

TEST(SafeFormat, FormatsTextsAndCharacters) {
    expectRows({
        {"[%s|%6s|%-6s|%.2s]", {"abc", "abc", "abc", "abc"}, "[abc|   abc|abc   |ab]"},
        // A precision counts bytes but never splits a character.
        {"%.4s|%.6s", {"台风", "台风"}, "台|台风"},
        {"%c%c%c", {65, 0x53F0, "风暴"}, "A台风"},
        {"[%c|%3c]", {0, -5}, "[|   ]"},
    });
}

TEST(SafeFormat, ConvertsArgumentsOfTheWrongKind) {
    expectRows({
        {"%s files", {3}, "3 files"},
        {"%d|%d|%05d|%x", {"12abc", "abc", " -7.9", "1e3"}, "12|0|-0007|3e8"},
        {"%s", {-42}, "-42"},
    });
    const std::vector<FormatArg> runtimeArgs{"path", 2};
    EXPECT_EQ(safeFormat("%s:%s", runtimeArgs), "path:2");
}

TEST(SafeFormat, SurvivesHostileFormats) {
    expectRows({
        // Placeholders beyond the arguments yield nothing; %n is copied, never written through.
        {"%s%s%s%n", {"a"}, "a%n"},
        {"%s%s%s%n", {}, "%n"},
        {"%d and %5s", {}, " and "},
        {"%.999999s", {"abc"}, "abc"},
        // A lone or trailing % and unknown conversions stand as they are.
        {"%", {1}, "%"},
        {"50%", {1}, "50%"},
        {"%-", {1}, "%-"},
        {"%f %p %e %1$s %Lf", {1, 2}, "%f %p %e %1$s %Lf"},
        // "*" widths take no argument: the placeholder is copied, the next one gets it.
        {"%*d|%.*s|%d", {7}, "%*d|%.*s|7"},
        // A NUL byte inside the format is ordinary text.
        {std::string("a\0%d", 4),
         {5},
         std::string("a\0"
                     "5",
                     3)},
        // Percent signs around multi-byte characters.
        {"%台%", {1}, "%台%"},
    });
    // Absurd widths and precisions are capped.
    EXPECT_EQ(safeFormat("%99999d", {1}).size(), static_cast<size_t>(kMaxFormatField));
    EXPECT_EQ(safeFormat("%.99999999999999999999d", {1}).size(),
              static_cast<size_t>(kMaxFormatField));
}
