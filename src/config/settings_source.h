// Where a job's settings come from: a settings file, and values given on the
// command line that take the place of the file's. The command line never
// writes the file: its values live only in the run.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "config/settings_keys.h"

namespace tcmap {

struct SettingOverride {
    std::string section;
    std::string key;
    std::string value;  // as read() returns it: no quotes
};

struct SettingsSource {
    std::string path;  // the settings file; a missing one gives the defaults
    std::vector<SettingOverride> overrides;

    // The last override of the key (names without regard to case), else the
    // file's value or the key's default.
    std::string read(const SettingKey& setting) const;
    // Adds or replaces an override.
    void set(std::string_view section, std::string_view key, std::string_view value);
};

}  // namespace tcmap
