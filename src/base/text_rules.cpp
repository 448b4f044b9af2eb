#include "base/text_rules.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>

namespace tcmap {

namespace {

constexpr std::string_view kIdeographicSpace = "\xE3\x80\x80";

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The parts of the leading decimal number of a text.
struct NumberSpan {
    bool found = false;
    bool negative = false;
    std::string_view body;      // digits, point and exponent, without the sign
    bool plainInteger = false;  // no fraction and no exponent
    size_t integerDigits = 0;   // digits before the point, leading zeros dropped
    bool negativeExponent = false;
    int64_t exponent = 0;  // saturated
};

NumberSpan scanNumber(std::string_view text) {
    NumberSpan span;
    size_t i = 0;
    while (i < text.size() && isSpace(text[i])) ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        span.negative = text[i] == '-';
        ++i;
    }
    const size_t start = i;
    size_t mantissaDigits = 0;
    bool leading = true;
    while (i < text.size() && isDigit(text[i])) {
        if (text[i] != '0') leading = false;
        if (!leading) ++span.integerDigits;
        ++mantissaDigits;
        ++i;
    }
    span.plainInteger = true;
    if (i < text.size() && text[i] == '.') {
        size_t j = i + 1;
        size_t fractionDigits = 0;
        while (j < text.size() && isDigit(text[j])) {
            ++fractionDigits;
            ++j;
        }
        if (mantissaDigits + fractionDigits > 0) {
            mantissaDigits += fractionDigits;
            span.plainInteger = false;
            i = j;
        }
    }
    if (mantissaDigits == 0) return span;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        size_t j = i + 1;
        bool negativeExponent = false;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
            negativeExponent = text[j] == '-';
            ++j;
        }
        if (j < text.size() && isDigit(text[j])) {
            int64_t exponent = 0;
            while (j < text.size() && isDigit(text[j])) {
                if (exponent < 1'000'000'000) exponent = exponent * 10 + (text[j] - '0');
                ++j;
            }
            span.negativeExponent = negativeExponent;
            span.exponent = negativeExponent ? -exponent : exponent;
            span.plainInteger = false;
            i = j;
        }
    }
    span.found = true;
    span.body = text.substr(start, i - start);
    return span;
}

}  // namespace

bool PieceCursor::next(std::string_view& piece) {
    if (done_) return false;
    if (separator_.empty()) {
        // The whole text is one piece.
        done_ = true;
        if (text_.empty()) return false;
        piece = text_;
        return true;
    }
    const size_t found = separator_.size() == 1 ? text_.find(separator_[0], position_)
                                                : text_.find(separator_, position_);
    if (found == std::string_view::npos) {
        done_ = true;
        if (position_ >= text_.size()) return false;
        piece = text_.substr(position_);
        return true;
    }
    piece = text_.substr(position_, found - position_);
    position_ = found + separator_.size();
    return true;
}

std::vector<std::string> splitText(std::string_view text, std::string_view separator, int limit) {
    std::vector<std::string> pieces;
    PieceCursor cursor(text, separator);
    std::string_view piece;
    while ((limit < 0 || static_cast<int>(pieces.size()) < limit) && cursor.next(piece)) {
        pieces.emplace_back(piece);
    }
    return pieces;
}

size_t splitTextInto(std::string_view text, std::string_view separator,
                     std::span<std::string_view> pieces) {
    PieceCursor cursor(text, separator);
    size_t count = 0;
    while (count < pieces.size() && cursor.next(pieces[count])) ++count;
    return count;
}

std::string_view trimView(std::string_view text) {
    for (;;) {
        if (!text.empty() && text.front() == ' ') {
            text.remove_prefix(1);
        } else if (text.starts_with(kIdeographicSpace)) {
            text.remove_prefix(kIdeographicSpace.size());
        } else {
            break;
        }
    }
    for (;;) {
        if (!text.empty() && text.back() == ' ') {
            text.remove_suffix(1);
        } else if (text.ends_with(kIdeographicSpace)) {
            text.remove_suffix(kIdeographicSpace.size());
        } else {
            break;
        }
    }
    return text;
}

std::string trimText(std::string_view text) {
    return std::string(trimView(text));
}

double readNumber(std::string_view text) {
    const NumberSpan span = scanNumber(text);
    if (!span.found) return 0.0;
    if (span.plainInteger && span.body.size() <= 15) {
        // Up to 15 digits are exact in a double: no general conversion needed.
        int64_t digits = 0;
        for (char c : span.body) digits = digits * 10 + (c - '0');
        const double value = static_cast<double>(digits);
        return span.negative ? -value : value;
    }
    double value = 0.0;
    const auto result =
        std::from_chars(span.body.data(), span.body.data() + span.body.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        // Decide between overflow and underflow from the decimal magnitude.
        const int64_t magnitude = static_cast<int64_t>(span.integerDigits) + span.exponent;
        value = magnitude > 0 ? std::numeric_limits<double>::max() : 0.0;
    } else if (result.ec != std::errc() || !std::isfinite(value)) {
        value = 0.0;
    }
    return span.negative ? -value : value;
}

int32_t truncToInt32(double value) {
    if (std::isnan(value)) return 0;
    if (value >= 2147483647.0) return std::numeric_limits<int32_t>::max();
    if (value <= -2147483648.0) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

int64_t truncToInt64(double value) {
    if (std::isnan(value)) return 0;
    if (value >= 9223372036854775807.0) return std::numeric_limits<int64_t>::max();
    if (value <= -9223372036854775808.0) return std::numeric_limits<int64_t>::min();
    return static_cast<int64_t>(value);
}

float toSingle(double value) {
    if (std::isnan(value)) return 0.0f;
    constexpr double kMax = std::numeric_limits<float>::max();
    if (value > kMax) return std::numeric_limits<float>::max();
    if (value < -kMax) return -std::numeric_limits<float>::max();
    return static_cast<float>(value);
}

int32_t readInteger(std::string_view text) {
    return truncToInt32(readNumber(text));
}

int64_t readInteger64(std::string_view text) {
    const NumberSpan span = scanNumber(text);
    if (!span.found) return 0;
    if (span.plainInteger) {
        int64_t value = 0;
        for (char c : span.body) {
            const int digit = c - '0';
            if (value > (std::numeric_limits<int64_t>::max() - digit) / 10) {
                return span.negative ? std::numeric_limits<int64_t>::min()
                                     : std::numeric_limits<int64_t>::max();
            }
            value = value * 10 + digit;
        }
        return span.negative ? -value : value;
    }
    return truncToInt64(readNumber(text));
}

std::string formatG(double value, int precision) {
    // A whole number below 10^precision is written by %g as its plain digits;
    // this shortcut serves the winds and pressures of every fix.
    static constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                              1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    if (precision >= 1 && precision <= 15 && std::fabs(value) < kPowersOfTen[precision] &&
        std::trunc(value) == value) {
        std::string text = std::signbit(value) ? "-" : "";
        text += std::to_string(static_cast<int64_t>(std::fabs(value)));
        return text;
    }
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::general, precision);
    if (result.ec != std::errc()) return "0";
    return std::string(buffer.data(), result.ptr);
}

std::string toUpperAscii(std::string_view text) {
    std::string result(text);
    for (char& c : result) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return result;
}

std::string toLowerAscii(std::string_view text) {
    std::string result(text);
    for (char& c : result) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return result;
}

std::string_view lastChars(std::string_view text, size_t count) {
    return text.size() <= count ? text : text.substr(text.size() - count);
}

}  // namespace tcmap
