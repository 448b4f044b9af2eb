#include "render/layers/time_years.h"

namespace tcmap {

bool timesCarryYear(const LayerInput& input) {
    switch (input.settings.annotations.timeYears) {
        case TimeYears::Never:
            return false;
        case TimeYears::Always:
            return true;
        case TimeYears::WhenSeveralYears:
            break;
    }
    const FixTable& fixes = input.fixes;
    std::string_view firstYear;
    for (size_t i = 0; i < fixes.size(); ++i) {
        if (fixes.kind[i] == static_cast<int32_t>(TrackFileKind::ForecastFile)) continue;
        const std::string_view year = std::string_view(fixes.time[i]).substr(0, 4);
        if (firstYear.empty()) {
            firstYear = year;
        } else if (year != firstYear) {
            return true;
        }
    }
    return false;
}

std::string datedTimeLabel(std::string_view time) {
    if (time.size() < 10) return std::string(time);
    return std::string(time.substr(0, 4)) + "-" + std::string(time.substr(4, 2)) + "-" +
           std::string(time.substr(6, 2)) + " " + std::string(time.substr(8, 2)) + "Z";
}

}  // namespace tcmap
