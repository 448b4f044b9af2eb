#include "config/annotation_settings.h"

#include <vector>

#include "base/text_rules.h"
#include "config/profile_store.h"
#include "config/settings_source.h"

namespace tcmap {

namespace {

bool on(const SettingsSource& source, const SettingKey& key) {
    return readInteger(source.read(key)) >= 1;
}

TimeYears timeYearsOf(int32_t value) {
    if (value >= 2) return TimeYears::Always;
    return value == 1 ? TimeYears::WhenSeveralYears : TimeYears::Never;
}

}  // namespace

AnnotationSettings readAnnotationSettings(const SettingsSource& source) {
    namespace k = settings;
    AnnotationSettings a;
    a.gridNumbers = on(source, k::kGridNumbers);
    a.title = on(source, k::kTitle);
    a.titleText = source.read(k::kTitleText);
    a.stormNames = on(source, k::kStormNames);
    a.timeYears = timeYearsOf(readInteger(source.read(k::kTimeYears)));
    a.legendContrast = on(source, k::kLegendContrast);
    a.proportionalLegend = on(source, k::kLegendFont);
    a.chartOutput = source.read(k::kChart);
    return a;
}

void addAnnotationDefaults(std::vector<SettingOverride>& overrides) {
    namespace k = settings;
    for (const SettingKey* key :
         {&k::kGridNumbers, &k::kTitle, &k::kStormNames, &k::kLegendContrast, &k::kLegendFont}) {
        overrides.push_back({std::string(key->section), std::string(key->key), "1"});
    }
    overrides.push_back({std::string(k::kTimeYears.section), std::string(k::kTimeYears.key), "1"});
}

bool writeAnnotationDefaults(const std::string& settingsPath) {
    std::vector<SettingOverride> defaults;
    addAnnotationDefaults(defaults);
    bool written = true;
    for (const SettingOverride& entry : defaults) {
        written =
            ProfileStore::write(settingsPath, entry.section, entry.key, entry.value) && written;
    }
    return written;
}

}  // namespace tcmap
