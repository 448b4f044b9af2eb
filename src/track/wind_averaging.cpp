#include "track/wind_averaging.h"

#include <array>
#include <cmath>
#include <limits>
#include <utility>

#include "base/text_rules.h"
#include "track/archive_fields.h"

namespace tcmap {

namespace {

constexpr std::array<std::pair<std::string_view, WindAveraging>, 5> kNames{{
    {"1min", WindAveraging::OneMinute},
    {"2min", WindAveraging::TwoMinute},
    {"3min", WindAveraging::ThreeMinute},
    {"10min", WindAveraging::TenMinute},
    {"as-given", WindAveraging::AsGiven},
}};

constexpr std::array<std::pair<std::string_view, WindAveraging>, 14> kAgencies{{
    {"ATCF", WindAveraging::OneMinute},
    {"HURDAT2", WindAveraging::OneMinute},
    {"JTWC", WindAveraging::OneMinute},
    {"USA", WindAveraging::OneMinute},
    {"CMA", WindAveraging::TwoMinute},
    {"NEWDELHI", WindAveraging::ThreeMinute},
    {"IMD", WindAveraging::ThreeMinute},
    {"JMA", WindAveraging::TenMinute},
    {"TOKYO", WindAveraging::TenMinute},
    {"HKO", WindAveraging::TenMinute},
    {"REUNION", WindAveraging::TenMinute},
    {"BOM", WindAveraging::TenMinute},
    {"NADI", WindAveraging::TenMinute},
    {"WELLINGTON", WindAveraging::TenMinute},
}};

bool usable(double factor) {
    return std::isfinite(factor) && factor > 0;
}

}  // namespace

double WindAveragingFactors::tenFrom(WindAveraging averaging) const {
    switch (averaging) {
        case WindAveraging::OneMinute:
            return tenFromOneMinute;
        case WindAveraging::TwoMinute:
            return tenFromTwoMinute;
        case WindAveraging::ThreeMinute:
            return tenFromThreeMinute;
        case WindAveraging::TenMinute:
        case WindAveraging::AsGiven:
            break;
    }
    return 1;
}

int32_t convertWind(int32_t windKt, WindAveraging from, WindAveraging to,
                    const WindAveragingFactors& factors) {
    if (windKt <= 0 || from == to || from == WindAveraging::AsGiven ||
        to == WindAveraging::AsGiven) {
        return windKt;
    }
    const double fromFactor = factors.tenFrom(from);
    const double toFactor = factors.tenFrom(to);
    if (!usable(fromFactor) || !usable(toFactor)) return windKt;
    const double converted = std::floor(windKt * fromFactor / toFactor + 0.5);
    if (converted >= std::numeric_limits<int32_t>::max())
        return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(converted);
}

WindAveraging nativeAveraging(std::string_view agency) {
    for (const auto& [name, averaging] : kAgencies) {
        if (equalsIgnoringCase(trimView(agency), name)) return averaging;
    }
    return WindAveraging::AsGiven;
}

std::string_view windAveragingName(WindAveraging averaging) {
    for (const auto& [name, value] : kNames) {
        if (value == averaging) return name;
    }
    return "as-given";
}

std::optional<WindAveraging> windAveragingNamed(std::string_view name) {
    for (const auto& [text, value] : kNames) {
        if (equalsIgnoringCase(trimView(name), text)) return value;
    }
    return std::nullopt;
}

}  // namespace tcmap
