// Strict number reading: the whole field must be the number. Unlike
// readNumber (text_rules.h), which takes the leading number of any text, a
// field that holds anything else is refused, so a caller can tell "0" from
// "abc".
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace tcmap {

// The whole trimmed field as a decimal number (optional "+" or "-", digits
// with an optional fraction, no exponent); nullopt when it is blank or holds
// anything else.
std::optional<double> strictNumber(std::string_view field);
// strictNumber rounded to the nearest integer; nullopt beyond 32 bits.
std::optional<int32_t> strictInteger(std::string_view field);

}  // namespace tcmap
