#include "base/integer_ranges.h"

#include <algorithm>

#include "base/strict_number.h"
#include "base/text_rules.h"

namespace tcmap {

namespace {

// A whole number: strict, and without a fraction part ("2015.0" is not one).
std::optional<int32_t> wholeNumber(std::string_view text) {
    if (text.find('.') != std::string_view::npos) return std::nullopt;
    return strictInteger(text);
}

}  // namespace

bool IntegerRanges::contains(int32_t value) const {
    return std::any_of(ranges.begin(), ranges.end(), [value](const auto& range) {
        return value >= range.first && value <= range.second;
    });
}

IntegerRanges parseIntegerRanges(std::string_view list) {
    IntegerRanges result;
    for (const std::string& piece : splitText(list, ",")) {
        const std::string_view part = trimView(piece);
        if (part.empty()) continue;
        const size_t dash = part.find('-', 1);
        const std::string_view first = part.substr(0, dash);
        const std::string_view last =
            dash == std::string_view::npos ? first : part.substr(dash + 1);
        const auto from = wholeNumber(first);
        const auto to = wholeNumber(last);
        if (from && to) {
            result.ranges.emplace_back(std::min(*from, *to), std::max(*from, *to));
        } else {
            result.badParts.emplace_back(part);
        }
    }
    return result;
}

}  // namespace tcmap
