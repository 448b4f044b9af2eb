// How a map compares agencies: the intensity scale its colours and legend
// follow, the averaging period winds are converted to before they are
// classified, which agencies' tracks it draws and whether the largest
// differences between them are marked on the map. The defaults draw maps as
// they have always been drawn.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "config/settings_keys.h"
#include "config/settings_source.h"

namespace tcmap {

inline constexpr std::string_view kAgenciesSection = "Agencies";

namespace settings {

inline constexpr SettingKey kScale{kAgenciesSection, "Scale", "saffir-simpson"};
inline constexpr SettingKey kWinds{kAgenciesSection, "Winds", "as-given"};
// 10-minute wind = factor x 1-minute wind (WMO guidance at sea).
inline constexpr SettingKey kTenFromOneMinute{kAgenciesSection, "TenFromOneMinute", "0.93"};
inline constexpr SettingKey kTenFromTwoMinute{kAgenciesSection, "TenFromTwoMinute", "0.96"};
inline constexpr SettingKey kAgencyList{kAgenciesSection, "Agencies", ""};
inline constexpr SettingKey kMarkDifferences{kAgenciesSection, "MarkDifferences", "0"};

}  // namespace settings

// The values the scale and winds settings take.
inline constexpr std::string_view kScaleNames[] = {"saffir-simpson", "cma", "jma"};
inline constexpr std::string_view kWindChoiceNames[] = {"as-given", "1min", "2min", "10min"};

struct AgencySettings {
    std::string scale = "saffir-simpson";
    std::string winds = "as-given";
    double tenFromOneMinute = 0.93;
    double tenFromTwoMinute = 0.96;
    std::vector<std::string> agencies;  // upper case; empty: every agency
    bool markDifferences = false;

    // Whether a track of this agency (ASCII case ignored) is drawn.
    bool draws(std::string_view agency) const;
};

// An unknown scale or averaging reads as the default: the settings check
// reports it, the map keeps its usual look.
AgencySettings readAgencySettings(const SettingsSource& source);

// Whether `text` is one of `names`, ASCII case ignored.
bool isOneOf(std::string_view text, std::span<const std::string_view> names);

}  // namespace tcmap
