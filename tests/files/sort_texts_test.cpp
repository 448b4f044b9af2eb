#include "files/sort_texts.h"

#include <gtest/gtest.h>

#include <random>

using namespace tcmap;

namespace {

// The plain selection sort the list order is defined by: for each position,
// the first smallest of the remaining texts is swapped in.
void selectionSort(std::vector<std::string>& texts) {
    for (size_t i = 0; i + 1 < texts.size(); ++i) {
        size_t smallest = i;
        for (size_t j = i + 1; j < texts.size(); ++j) {
            if (textLess(texts[j], texts[smallest])) smallest = j;
        }
        std::swap(texts[i], texts[smallest]);
    }
}

}  // namespace

TEST(SortTexts, ComparesUnsignedBytesWithPrefixesFirst) {
    std::vector<std::string> texts{"b", "\xe5\x8f\xb0", "B", "ab", "", "a", "Z", "a b", "~"};
    sortTexts(texts);
    EXPECT_EQ(texts,
              (std::vector<std::string>{"", "B", "Z", "a", "a b", "ab", "b", "~", "\xe5\x8f\xb0"}));

    const struct {
        std::string left, right;
        bool less;
    } rows[] = {
        {"abc", "abd", true},   {"ab", "abc", true},
        {"abc", "abc", false},  {std::string("a\0b", 3), std::string("a\x01", 2), true},
        {"\x7f", "\x80", true},
    };
    for (const auto& row : rows) EXPECT_EQ(textLess(row.left, row.right), row.less) << row.left;
}

TEST(SortTexts, GivesTheSameListAsASelectionSort) {
    std::mt19937 random(20240611);
    // Short texts over a small alphabet, so there are many duplicates and
    // prefixes; high bytes check the unsigned comparison.
    const std::string alphabet{'a', 'A', '/', '.', '0', '\x80', '\xff', '\xc3'};
    for (int round = 0; round < 20; ++round) {
        std::vector<std::string> texts(300);
        for (std::string& text : texts) {
            const size_t length = random() % 6;
            for (size_t i = 0; i < length; ++i) text += alphabet[random() % alphabet.size()];
        }
        std::vector<std::string> expected = texts;
        selectionSort(expected);
        sortTexts(texts);
        ASSERT_EQ(texts, expected) << "round " << round;
    }
}
