#include "i18n/safe_format.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

using namespace tcmap;

TEST(SafeFormat, FormatsTheLabelDefaults) {
    EXPECT_EQ(safeFormat("%02d%02d%02dZ", {2, 11, 6}), "021106Z");
    EXPECT_EQ(safeFormat("P+%dh\r\n%dkt", {120, 100}), "P+120h\r\n100kt");
    EXPECT_EQ(safeFormat(" 等 %s 个文件", {"3"}), " 等 3 个文件");
    EXPECT_EQ(safeFormat("no placeholders", {1, 2}), "no placeholders");
    EXPECT_EQ(safeFormat("100%% done", {}), "100% done");
}

TEST(SafeFormat, AppliesFlagsWidthAndPrecisionToIntegers) {
    EXPECT_EQ(safeFormat("[%5d|%-5d|%05d|%+d|% d]", {42, 42, -42, 7, 7}),
              "[   42|42   |-0042|+7| 7]");
    EXPECT_EQ(safeFormat("%.3d %.0d|%5.3d %i", {7, 0, -7, -3}), "007 | -007 -3");
    EXPECT_EQ(safeFormat("%x %X %#x %#X %o %#o %#x", {255, 255, 255, 255, 8, 8, 0}),
              "ff FF 0xff 0XFF 10 010 0");
    EXPECT_EQ(safeFormat("%#08x", {255}), "0x0000ff");
    // Unsigned conversions of a negative int wrap at 32 bits, as C does.
    EXPECT_EQ(safeFormat("%u %x", {-1, -1}), "4294967295 ffffffff");
    EXPECT_EQ(safeFormat("%x", {int64_t{1} << 40}), "10000000000");
    EXPECT_EQ(safeFormat("%d %d", {INT64_MIN, INT64_MAX}),
              "-9223372036854775808 9223372036854775807");
    // Length modifiers are read and ignored.
    EXPECT_EQ(safeFormat("%ld %lld %hd %hhd %zu %jd %td %Lx", {1, 2, 3, 4, 5, 6, 7, 255}),
              "1 2 3 4 5 6 7 ff");
}

TEST(SafeFormat, FormatsTextsAndCharacters) {
    EXPECT_EQ(safeFormat("[%s|%6s|%-6s|%.2s]", {"abc", "abc", "abc", "abc"}),
              "[abc|   abc|abc   |ab]");
    // A precision counts bytes but never splits a character.
    EXPECT_EQ(safeFormat("%.4s|%.6s", {"台风", "台风"}), "台|台风");
    EXPECT_EQ(safeFormat("%c%c%c", {65, 0x53F0, "风暴"}), "A台风");
    EXPECT_EQ(safeFormat("[%c|%3c]", {0, -5}), "[|   ]");
}

TEST(SafeFormat, ConvertsArgumentsOfTheWrongKind) {
    EXPECT_EQ(safeFormat("%s files", {3}), "3 files");
    EXPECT_EQ(safeFormat("%d|%d|%05d|%x", {"12abc", "abc", " -7.9", "1e3"}), "12|0|-0007|3e8");
    EXPECT_EQ(safeFormat("%s", {-42}), "-42");
    const std::vector<FormatArg> runtimeArgs{"path", 2};
    EXPECT_EQ(safeFormat("%s:%s", runtimeArgs), "path:2");
}

TEST(SafeFormat, SurvivesHostileFormats) {
    // Placeholders beyond the arguments yield nothing; %n is copied, never written through.
    EXPECT_EQ(safeFormat("%s%s%s%n", {"a"}), "a%n");
    EXPECT_EQ(safeFormat("%s%s%s%n", {}), "%n");
    EXPECT_EQ(safeFormat("%d and %5s", {}), " and ");
    // Absurd widths and precisions are capped.
    EXPECT_EQ(safeFormat("%99999d", {1}).size(), static_cast<size_t>(kMaxFormatField));
    EXPECT_EQ(safeFormat("%.99999999999999999999d", {1}).size(),
              static_cast<size_t>(kMaxFormatField));
    EXPECT_EQ(safeFormat("%.999999s", {"abc"}), "abc");
    // A lone or trailing % and unknown conversions stand as they are.
    EXPECT_EQ(safeFormat("%", {1}), "%");
    EXPECT_EQ(safeFormat("50%", {1}), "50%");
    EXPECT_EQ(safeFormat("%-", {1}), "%-");
    EXPECT_EQ(safeFormat("%f %p %e %1$s %Lf", {1, 2}), "%f %p %e %1$s %Lf");
    // "*" widths take no argument: the placeholder is copied, the next one gets it.
    EXPECT_EQ(safeFormat("%*d|%.*s|%d", {7}), "%*d|%.*s|7");
    // A NUL byte inside the format is ordinary text.
    EXPECT_EQ(safeFormat(std::string_view("a\0%d", 4), {5}), std::string("a\0"
                                                                         "5",
                                                                         3));
    // Percent signs around multi-byte characters.
    EXPECT_EQ(safeFormat("%台%", {1}), "%台%");
}
