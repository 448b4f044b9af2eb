#include "track/wind_radii.h"

namespace tcmap {

std::vector<const RadiiRecord*> selectRadii(const Track& track, int32_t setting, bool tcvRule) {
    std::vector<const RadiiRecord*> picked;
    if (setting == kLastFixWithRadii && track.kind == TrackFileKind::ForecastFile) {
        setting = kAllFixes;
    }
    switch (setting) {
        case kAllFixes:
            for (const RadiiRecord& record : track.radii) picked.push_back(&record);
            break;
        case kLastFixWithRadii:
            if (!track.radii.empty()) picked.push_back(&track.radii.back());
            break;
        case kTropicalFixes:
            // The wind and type of the record's first line with radii decide.
            for (const RadiiRecord& record : track.radii) {
                if (isTropicalPart(record.wind, record.type, tcvRule)) picked.push_back(&record);
            }
            break;
        default:
            break;
    }
    return picked;
}

}  // namespace tcmap
