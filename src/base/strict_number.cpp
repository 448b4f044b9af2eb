#include "base/strict_number.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "base/text_rules.h"

namespace tcmap {

std::optional<double> strictNumber(std::string_view field) {
    field = trimView(field);
    if (!field.empty() && field.front() == '+') field.remove_prefix(1);
    if (field.empty()) return std::nullopt;
    double value = 0;
    const auto [end, error] =
        std::from_chars(field.data(), field.data() + field.size(), value, std::chars_format::fixed);
    if (error != std::errc() || end != field.data() + field.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::optional<int32_t> strictInteger(std::string_view field) {
    const std::optional<double> value = strictNumber(field);
    if (!value || std::abs(*value) > std::numeric_limits<int32_t>::max()) return std::nullopt;
    return static_cast<int32_t>(std::lround(*value));
}

}  // namespace tcmap
