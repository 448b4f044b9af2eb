#include "track/field_text.h"

#include <cmath>
#include <cstdint>

#include "base/text_rules.h"

namespace tcmap {

namespace {

// Below 10^6 a whole single-precision value is its own six-digit text.
constexpr float kWholeDigitsLimit = 1e6f;

bool isShortWhole(float value) {
    return std::fabs(value) < kWholeDigitsLimit && std::trunc(value) == value;
}

}  // namespace

std::string numberText(std::string_view field) {
    return numberTextOf(readNumber(field));
}

std::string numberTextOf(double value) {
    return formatG(static_cast<double>(toSingle(value)));
}

int32_t numberInteger(std::string_view field) {
    const float value = toSingle(readNumber(field));
    if (isShortWhole(value)) return static_cast<int32_t>(value);
    return readInteger(formatG(static_cast<double>(value)));
}

int32_t numberInteger(int32_t value) {
    if (value > -1000000 && value < 1000000) return value;
    return readInteger(numberTextOf(value));
}

std::string coordinateText(std::string_view field, char letter) {
    const float read = toSingle(readNumber(field));
    const bool negate = field.find(letter) != std::string_view::npos;
    if (isShortWhole(read)) {
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

double coordinateValue(std::string_view field, char letter) {
    const float read = toSingle(readNumber(field));
    if (isShortWhole(read)) {
        // The text "t/10.t%10" reads as the double nearest t / 10, which is
        // what dividing in double gives.
        const bool negate = field.find(letter) != std::string_view::npos;
        const double degrees = std::fabs(static_cast<double>(read)) / 10.0;
        return std::signbit(read) != negate ? -degrees : degrees;
    }
    return readNumber(coordinateText(field, letter));
}

double coordinateValueOfTenths(int32_t tenths) {
    return static_cast<double>(tenths) / 10.0;
}

std::string coordinateTextOf(double value) {
    std::string text = numberTextOf(value);
    if (text.find('.') == std::string::npos) text += ".0";
    return text;
}

std::string withoutHourPrefix(std::string_view hour) {
    std::string text;
    text.reserve(hour.size());
    size_t start = 0;
    for (size_t at = hour.find("P+"); at != std::string_view::npos; at = hour.find("P+", start)) {
        text.append(hour.substr(start, at - start));
        start = at + 2;
    }
    text.append(hour.substr(start));
    return text;
}

}  // namespace tcmap
