// What a map says about itself beyond tracks and colours: grid numbers, a
// title, storm names, the year in time labels, a readable legend and an
// intensity chart. Each is off unless its setting asks, so maps drawn from
// older settings files do not change; the draw command turns them on.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "config/settings_keys.h"
#include "config/settings_source.h"

namespace tcmap {

inline constexpr std::string_view kAnnotationsSection = "Annotations";

namespace settings {

inline constexpr SettingKey kGridNumbers{kAnnotationsSection, "GridNumbers", "0"};
inline constexpr SettingKey kTitle{kAnnotationsSection, "Title", "0"};
inline constexpr SettingKey kTitleText{kAnnotationsSection, "TitleText", ""};
inline constexpr SettingKey kStormNames{kAnnotationsSection, "StormNames", "0"};
inline constexpr SettingKey kTimeYears{kAnnotationsSection, "TimeYears", "0"};
inline constexpr SettingKey kLegendContrast{kAnnotationsSection, "LegendContrast", "0"};
inline constexpr SettingKey kLegendFont{kAnnotationsSection, "LegendFont", "0"};
inline constexpr SettingKey kChart{kAnnotationsSection, "Chart", ""};

}  // namespace settings

// When TCV time labels carry the year (TimeYears).
enum class TimeYears { Never = 0, WhenSeveralYears = 1, Always = 2 };

struct AnnotationSettings {
    bool gridNumbers = false;  // latitude/longitude values along the edges
    bool title = false;        // the title block
    std::string titleText;     // replaces the title made from the storms
    bool stormNames = false;   // each storm's name beside its track
    TimeYears timeYears = TimeYears::Never;
    bool legendContrast = false;      // backing under legend rows hard to read on the map
    bool proportionalLegend = false;  // LegendFont 1: a proportional font, not monospace
    std::string chartOutput;          // batch mode: the intensity chart's file; empty: none
};

AnnotationSettings readAnnotationSettings(const SettingsSource& source);

// The values `draw` starts from, before the settings file's own: every
// annotation on.
void addAnnotationDefaults(std::vector<SettingOverride>& overrides);

// A new install of the window starts with them on too: writes the same
// values into its settings file. False when a value could not be written.
bool writeAnnotationDefaults(const std::string& settingsPath);

}  // namespace tcmap
