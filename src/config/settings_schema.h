// What every key of Settings.ini accepts, as the program reads it: one row per
// key, built on the key's name and default in settings_keys.h. The settings
// check (settings_check.h) reads a file against this table; a new key is one
// SettingKey and one row here.
#pragma once

#include <span>
#include <string_view>

#include "config/settings_keys.h"

namespace tcmap {

enum class SettingKind {
    Switch,       // a check box: exactly "0" or "1" (some readers take only "1" as on)
    Choice,       // a list item: a whole number from low to high
    WholeNumber,  // a whole number from low to high
    Number,       // a decimal number from low to high
    Path,         // a file or folder path; anything goes, empty means none
    Colour,       // "red,green,blue", each a whole number from 0 to 255
    Years,        // "2015", "2004-2006", "1950,2005" (base/integer_ranges.h); empty: all
    Basins,       // ATCF basin codes separated by commas; empty: all
    Names,        // storm names or ids separated by commas; anything goes, empty: all
    Region,       // "north,west,latitude extent,longitude extent", extents above 0
    LabelFormat,  // printf format filled with `high` whole numbers
    Cycle,        // a forecast cycle: "all", "latest" or YYYYMMDDHH
    Word,         // one of `words`, ASCII case ignored
};

struct SettingRule {
    const SettingKey* setting;
    SettingKind kind;
    double low = 0;   // Choice, WholeNumber, Number
    double high = 0;  // Choice, WholeNumber, Number; LabelFormat: the values it is given
    std::span<const std::string_view> words = {};  // Word
};

// The largest picture side the drawing library creates, in pixels.
inline constexpr int kLargestPictureSide = 32767;

// The ATCF basin codes a track's basin can have: the seven basins and the
// sub-basin codes some agencies' ids use (BB, AS, SI, SP).
inline constexpr std::string_view kAtcfBasinCodes[] = {"AL", "EP", "CP", "WP", "IO", "BB",
                                                       "AS", "SH", "SI", "SP", "SL"};

// Every section and key the program reads or writes, in file order.
std::span<const std::string_view> settingsSections();
std::span<const SettingRule> settingRules();

// The rule of a key (section and key names without regard to case), or
// nullptr for a key the program never reads.
const SettingRule* findSettingRule(std::string_view section, std::string_view key);

// Whether the empty value is a meaningful setting of this kind (a path with
// none, a filter with everything); for numbers and switches it reads as 0.
bool acceptsEmpty(SettingKind kind);

// Whether `value` (as read: quotes removed) is one the key accepts.
bool acceptsValue(const SettingRule& rule, std::string_view value);

}  // namespace tcmap
