#include "config/agency_settings.h"

#include <algorithm>

#include "base/text_rules.h"

namespace tcmap {

namespace {

// A factor outside this range is no averaging conversion but a typing slip.
bool plausibleFactor(double factor) {
    return factor >= 0.5 && factor <= 1.0;
}

std::string choiceOr(const std::string& value, std::span<const std::string_view> names,
                     std::string_view fallback) {
    const std::string lower = toLowerAscii(trimView(value));
    return isOneOf(lower, names) ? lower : std::string(fallback);
}

}  // namespace

bool isOneOf(std::string_view text, std::span<const std::string_view> names) {
    const std::string lower = toLowerAscii(trimView(text));
    return std::find(names.begin(), names.end(), lower) != names.end();
}

bool AgencySettings::draws(std::string_view agency) const {
    if (agencies.empty()) return true;
    const std::string upper = toUpperAscii(agency);
    return std::find(agencies.begin(), agencies.end(), upper) != agencies.end();
}

AgencySettings readAgencySettings(const SettingsSource& source) {
    namespace k = settings;
    AgencySettings a;
    a.scale = choiceOr(source.read(k::kScale), kScaleNames, kScaleNames[0]);
    a.winds = choiceOr(source.read(k::kWinds), kWindChoiceNames, kWindChoiceNames[0]);
    const double one = readNumber(source.read(k::kTenFromOneMinute));
    if (plausibleFactor(one)) a.tenFromOneMinute = one;
    const double two = readNumber(source.read(k::kTenFromTwoMinute));
    if (plausibleFactor(two)) a.tenFromTwoMinute = two;
    for (const std::string& part : splitText(source.read(k::kAgencyList), ",")) {
        const std::string name = toUpperAscii(trimView(part));
        if (!name.empty()) a.agencies.push_back(name);
    }
    a.markDifferences = readInteger(source.read(k::kMarkDifferences)) >= 1;
    return a;
}

}  // namespace tcmap
