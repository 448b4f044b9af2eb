#include "track/track_model.h"

#include "base/text_rules.h"

namespace tcmap {

namespace {

// Codes that never describe a tropical system, whatever the wind.
bool isNonTropicalCode(std::string_view code) {
    return code == "DB" || code == "ET" || code == "EX" || code == "LO" || code == "PT" ||
           code == "WV";
}

}  // namespace

SystemClass systemClass(std::string_view typeCode, int32_t maxWind, bool tcvRule) {
    if (tcvRule) {
        return maxWind >= 24 && !isNonTropicalCode(typeCode) ? SystemClass::Tropical
                                                             : SystemClass::NonTropical;
    }
    if (typeCode.empty() || typeCode == "XX") {
        // A fix without a wind (0) is taken as tropical.
        return maxWind >= 1 && maxWind <= 23 ? SystemClass::NonTropical : SystemClass::Tropical;
    }
    if (isNonTropicalCode(typeCode) || typeCode == "MD") return SystemClass::NonTropical;
    if (typeCode == "SD" || typeCode == "SS") return SystemClass::Subtropical;
    return SystemClass::Tropical;
}

bool isTropicalPart(int32_t maxWind, std::string_view typeCode, bool tcvRule) {
    if (tcvRule) return maxWind >= 24 && !isNonTropicalCode(typeCode);
    return !isNonTropicalCode(typeCode) && typeCode != "MD";
}

bool isSynopticTime(std::string_view time) {
    const std::string_view hour = lastChars(time, 4);
    return hour == "0000" || hour == "0600" || hour == "1200" || hour == "1800";
}

}  // namespace tcmap
