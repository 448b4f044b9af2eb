#include "track/field_text.h"

#include <cmath>
#include <cstdint>

#include "base/text_rules.h"

namespace tcmap {

std::string numberText(std::string_view field) {
    const float value = toSingle(readNumber(field));
    return formatG(static_cast<double>(value));
}

std::string coordinateText(std::string_view field, char letter) {
    const float read = toSingle(readNumber(field));
    const bool negate = field.find(letter) != std::string_view::npos;
    if (std::fabs(read) < 1e6f && std::trunc(read) == read) {
        // A whole number of tenths: dividing in single precision stays far below
        // the sixth significant digit, so the text is exactly those tenths.
        const int64_t tenths = static_cast<int64_t>(std::fabs(read));
        std::string text = std::signbit(read) != negate ? "-" : "";
        text += std::to_string(tenths / 10);
        text += '.';
        text += static_cast<char>('0' + tenths % 10);
        return text;
    }
    float value = toSingle(static_cast<double>(read) / 10.0);
    if (negate) value = -value;
    std::string text = formatG(static_cast<double>(value));
    if (text.find('.') == std::string::npos) text += ".0";
    return text;
}

}  // namespace tcmap
