#include "config/settings_schema.h"

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "base/integer_ranges.h"
#include "base/printf_pieces.h"
#include "base/text_rules.h"
#include "config/agency_settings.h"
#include "config/annotation_settings.h"
#include "config/recent_files.h"

namespace tcmap {

namespace {

namespace s = settings;
using K = SettingKind;

// Track width and point size beyond this (degrees or pixels) are cut to it
// when a job reads them.
constexpr double kLargestDrawingSize = 1e6;
// Two margins and the storms must fit in one picture side.
constexpr int kLargestMargin = kLargestPictureSide / 2;

constexpr std::string_view kSections[] = {kGeneralSection,     kTmpSection,     kMemorySection,
                                          kTextFormatSection,  kArchiveSection, kForecastSection,
                                          kAnnotationsSection, kAgenciesSection};

constexpr SettingRule kRules[] = {
    {&s::kMode, K::Choice, 0, 1},
    {&s::kMap, K::Path},
    {&s::kMap1, K::Path},
    {&s::kDir, K::Path},
    {&s::kBackgroundColor, K::Colour},
    {&s::kAutoDraw, K::Choice, 0, 3},

    {&s::kTrack, K::Number, 0, kLargestDrawingSize},
    {&s::kPoint, K::Number, 0, kLargestDrawingSize},
    {&s::kWidthSpace, K::WholeNumber, 0, kLargestMargin},
    {&s::kHeightSpace, K::WholeNumber, 0, kLargestMargin},
    {&s::kWidth, K::WholeNumber, 1, kLargestPictureSide},
    {&s::kHeight, K::WholeNumber, 1, kLargestPictureSide},
    {&s::kPriority, K::Choice, 0, 2},
    {&s::kSkipInvest, K::Switch},
    {&s::kNewColor, K::Switch},
    {&s::kDrawLegends, K::Choice, 0, 5},
    {&s::kMultipleFile, K::Choice, 0, 2},
    {&s::kAllPoints, K::Switch},
    {&s::kShowGrid, K::Switch},
    {&s::kDrawRad, K::Choice, 0, 3},

    {&s::kTrack1, K::Number, 0, kLargestDrawingSize},
    {&s::kWidthSpace1, K::WholeNumber, 0, kLargestMargin},
    {&s::kHeightSpace1, K::WholeNumber, 0, kLargestMargin},
    {&s::kWidth1, K::WholeNumber, 1, kLargestPictureSide},
    {&s::kHeight1, K::WholeNumber, 1, kLargestPictureSide},
    {&s::kSkipInvest1, K::Switch},
    {&s::kDrawLegends1, K::Choice, 0, 5},
    {&s::kMultipleFile1, K::Choice, 0, 2},
    {&s::kAllPoints1, K::Switch},
    {&s::kShowText1, K::Switch},
    {&s::kShowGrid1, K::Switch},
    {&s::kDrawRad1, K::Choice, 0, 3},

    {&s::kTmpName, K::Path},
    {&s::kRegionSelect, K::Region},
    // The time label is given month, day and hour; the forecast label the
    // forecast hour and the wind.
    {&s::kTimeFormat, K::LabelFormat, 0, 3},
    {&s::kForecastFormat, K::LabelFormat, 0, 2},

    {&s::kYears, K::Years},
    {&s::kBasins, K::Basins},
    {&s::kStorms, K::Names},
    {&s::kYears1, K::Years},
    {&s::kBasins1, K::Basins},
    {&s::kStorms1, K::Names},

    {&s::kForecastCycle, K::Cycle},
    {&s::kForecastAids, K::Names},
    {&s::kEarlyAids, K::Switch},
    {&s::kCone, K::Switch},
    {&s::kConeAid, K::Names},
    {&s::kSwath, K::Switch},
    {&s::kVectorLand, K::Switch},
    {&s::kGridNumbers, K::Switch},
    {&s::kTitle, K::Switch},
    {&s::kTitleText, K::Names},  // any text
    {&s::kStormNames, K::Switch},
    {&s::kTimeYears, K::Choice, 0, 2},
    {&s::kLegendContrast, K::Switch},
    {&s::kLegendFont, K::Choice, 0, 1},
    {&s::kChart, K::Path},

    {&s::kScale, K::Word, 0, 0, kScaleNames},
    {&s::kWinds, K::Word, 0, 0, kWindChoiceNames},
    {&s::kTenFromOneMinute, K::Number, 0.5, 1},
    {&s::kTenFromTwoMinute, K::Number, 0.5, 1},
    {&s::kAgencyList, K::Names},
    {&s::kMarkDifferences, K::Switch},
    {&s::kRecent1, K::Path},
    {&s::kRecent2, K::Path},
    {&s::kRecent3, K::Path},
    {&s::kRecent4, K::Path},
    {&s::kRecent5, K::Path},
    {&s::kRecent6, K::Path},
    {&s::kRecent7, K::Path},
    {&s::kRecent8, K::Path},
};

bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && toLowerAscii(a) == toLowerAscii(b);
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

size_t skipDigits(std::string_view text, size_t i) {
    while (i < text.size() && isDigit(text[i])) ++i;
    return i;
}

// Optional sign and digits: what readInteger reads whole.
bool isWholeNumberText(std::string_view text) {
    text = trimView(text);
    size_t i = (!text.empty() && (text[0] == '+' || text[0] == '-')) ? 1 : 0;
    const size_t digits = skipDigits(text, i);
    return digits > i && digits == text.size();
}

// Optional sign, digits with an optional fraction (".5" and "5." count) and
// an optional exponent: what readNumber reads whole.
bool isNumberText(std::string_view text) {
    text = trimView(text);
    size_t i = (!text.empty() && (text[0] == '+' || text[0] == '-')) ? 1 : 0;
    size_t end = skipDigits(text, i);
    bool digits = end > i;
    if (end < text.size() && text[end] == '.') {
        const size_t fraction = skipDigits(text, end + 1);
        digits = digits || fraction > end + 1;
        end = fraction;
    }
    if (!digits) return false;
    if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
        size_t exponent = end + 1;
        if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-')) ++exponent;
        const size_t exponentEnd = skipDigits(text, exponent);
        if (exponentEnd == exponent) return false;
        end = exponentEnd;
    }
    return end == text.size();
}

bool wholeNumberIn(std::string_view text, double low, double high) {
    if (!isWholeNumberText(text)) return false;
    const double value = readNumber(text);
    return value >= low && value <= high;
}

bool numberIn(std::string_view text, double low, double high) {
    if (!isNumberText(text)) return false;
    const double value = readNumber(text);
    return value >= low && value <= high;
}

bool isColour(std::string_view text) {
    const std::vector<std::string> parts = splitText(text, ",");
    return parts.size() == 3 && std::all_of(parts.begin(), parts.end(), [](const auto& part) {
               return wholeNumberIn(part, 0, 255);
           });
}

bool isBasinList(std::string_view text) {
    for (const std::string& part : splitText(text, ",")) {
        const std::string code = toUpperAscii(trimView(part));
        if (code.empty()) continue;
        if (std::find(std::begin(kAtcfBasinCodes), std::end(kAtcfBasinCodes), code) ==
            std::end(kAtcfBasinCodes)) {
            return false;
        }
    }
    return true;
}

// A region needs extents the region command takes (above its tolerance).
bool isRegion(std::string_view text) {
    const std::vector<std::string> parts = splitText(text, ",");
    if (parts.size() != 4) return false;
    if (!std::all_of(parts.begin(), parts.end(),
                     [](const auto& part) { return isNumberText(part); })) {
        return false;
    }
    return readNumber(parts[2]) > kEpsilon && readNumber(parts[3]) > kEpsilon;
}

// Placeholders beyond the values given write nothing, and a "%" that starts
// no placeholder the formatter knows is copied onto the map as it stands.
bool isLabelFormat(std::string_view text, double values) {
    PrintfScanner scanner(text);
    PrintfPiece piece;
    int placeholders = 0;
    while (scanner.next(piece)) {
        if (piece.kind == PrintfPiece::Kind::Unknown) return false;
        if (piece.kind == PrintfPiece::Kind::Placeholder) ++placeholders;
    }
    return placeholders <= values;
}

bool isCycleChoice(std::string_view text) {
    const std::string lower = toLowerAscii(trimView(text));
    if (lower == "all" || lower == "latest") return true;
    return lower.size() == 10 && skipDigits(lower, 0) == 10;
}

}  // namespace

std::span<const std::string_view> settingsSections() {
    return kSections;
}

std::span<const SettingRule> settingRules() {
    return kRules;
}

const SettingRule* findSettingRule(std::string_view section, std::string_view key) {
    for (const SettingRule& rule : kRules) {
        if (sameName(rule.setting->section, section) && sameName(rule.setting->key, key)) {
            return &rule;
        }
    }
    return nullptr;
}

bool acceptsEmpty(SettingKind kind) {
    switch (kind) {
        case K::Path:
        case K::Colour:  // no colour: the panel keeps its designed one
        case K::Years:
        case K::Basins:
        case K::Names:
        case K::Region:  // no remembered region: the prompt starts empty
        case K::LabelFormat:
            return true;
        case K::Switch:
        case K::Choice:
        case K::WholeNumber:
        case K::Number:
        case K::Cycle:
        case K::Word:
            return false;
    }
    return false;
}

bool acceptsValue(const SettingRule& rule, std::string_view value) {
    if (value.empty()) return acceptsEmpty(rule.kind);
    switch (rule.kind) {
        case K::Switch:
            return value == "0" || value == "1";
        case K::Choice:
        case K::WholeNumber:
            return wholeNumberIn(value, rule.low, rule.high);
        case K::Number:
            return numberIn(value, rule.low, rule.high);
        case K::Path:
        case K::Names:
            return true;
        case K::Colour:
            return isColour(value);
        case K::Years:
            return parseIntegerRanges(value).badParts.empty();
        case K::Basins:
            return isBasinList(value);
        case K::Region:
            return isRegion(value);
        case K::LabelFormat:
            return isLabelFormat(value, rule.high);
        case K::Cycle:
            return isCycleChoice(value);
        case K::Word:
            return isOneOf(value, rule.words);
    }
    return false;
}

}  // namespace tcmap
