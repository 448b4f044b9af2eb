#include "files/sort_texts.h"

#include <algorithm>
#include <cstring>

namespace tcmap {

bool textLess(std::string_view a, std::string_view b) {
    const size_t common = std::min(a.size(), b.size());
    // memcmp compares as unsigned char, whatever the signedness of char.
    const int order = common == 0 ? 0 : std::memcmp(a.data(), b.data(), common);
    return order != 0 ? order < 0 : a.size() < b.size();
}

void sortTexts(std::vector<std::string>& texts) {
    std::sort(texts.begin(), texts.end(),
              [](const std::string& a, const std::string& b) { return textLess(a, b); });
}

}  // namespace tcmap
