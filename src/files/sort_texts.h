// Ascending sort of a list of texts: byte by byte as unsigned bytes, a text
// that is a prefix of a longer one first. Upper-case ASCII letters therefore
// come before lower-case ones, and UTF-8 letters after all ASCII.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tcmap {

// The order sortTexts sorts by.
bool textLess(std::string_view a, std::string_view b);

// Sorts in O(n log n). Texts that compare equal are identical, so the result
// does not depend on the sorting method.
void sortTexts(std::vector<std::string>& texts);

}  // namespace tcmap
