#include "config/settings_source.h"

#include "base/text_rules.h"

namespace tcmap {

namespace {

bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && toUpperAscii(a) == toUpperAscii(b);
}

}  // namespace

std::string SettingsSource::read(const SettingKey& setting) const {
    for (auto it = overrides.rbegin(); it != overrides.rend(); ++it) {
        if (sameName(it->section, setting.section) && sameName(it->key, setting.key)) {
            return it->value;
        }
    }
    return readSetting(path, setting);
}

void SettingsSource::set(std::string_view section, std::string_view key, std::string_view value) {
    for (SettingOverride& entry : overrides) {
        if (sameName(entry.section, section) && sameName(entry.key, key)) {
            entry.value = std::string(value);
            return;
        }
    }
    overrides.push_back({std::string(section), std::string(key), std::string(value)});
}

}  // namespace tcmap
