#include "app/settings_form.h"

#include "base/text_rules.h"
#include "config/agency_settings.h"
#include "config/profile_store.h"
#include "config/program_paths.h"
#include "config/prompter.h"
#include "i18n/language_pack.h"
#include "i18n/safe_format.h"

namespace tcmap {

namespace {

using Control = SettingsControl;
namespace s = settings;

using T = TextId;

constexpr std::array kResetItems{T::ResetNone, T::ResetAutomatic, T::ResetLastFixOnly};
constexpr std::array kLegendItems{T::LegendNowhere,  T::LegendTopLeft,     T::LegendBottomLeft,
                                  T::LegendTopRight, T::LegendBottomRight, T::LegendAutomatic};
constexpr std::array kOrderItems{T::OrderTogether, T::OrderFixesOnTop, T::OrderByIntensity};
constexpr std::array kTcvOrderItems{T::OrderTogether};
constexpr std::array kRadiiItems{T::RadiiNone, T::RadiiAllFixes, T::RadiiLastFixOnly,
                                 T::RadiiTropicalOnly};

constexpr std::array<SettingsField, 19> kWendrelFields{{
    {T::TrackWidth, Control::Edit, &s::kTrack, T::DegreesUnit},
    {T::PointSize, Control::Edit, &s::kPoint, T::DegreesUnit},
    {T::HorizontalMargin, Control::Edit, &s::kWidthSpace, T::PixelsUnit},
    {T::VerticalMargin, Control::Edit, &s::kHeightSpace, T::PixelsUnit},
    {T::MinimumWidth, Control::Edit, &s::kWidth, T::PixelsUnit},
    {T::MinimumHeight, Control::Edit, &s::kHeight, T::PixelsUnit},
    {T::TrackReset, Control::List, &s::kMultipleFile, std::nullopt, kResetItems},
    {T::LegendPosition, Control::List, &s::kDrawLegends, std::nullopt, kLegendItems},
    {T::DrawingOrder, Control::List, &s::kPriority, std::nullopt, kOrderItems},
    {T::WindRadii, Control::List, &s::kDrawRad, std::nullopt, kRadiiItems},
    {T::ShowAllFixes, Control::CheckBox, &s::kAllPoints},
    {T::SkipDisturbance, Control::CheckBox, &s::kSkipInvest},
    {T::ShowGrid, Control::CheckBox, &s::kShowGrid},
    {T::NewColourScale, Control::CheckBox, &s::kNewColor},
    {T::DefaultMapFile, Control::MapPath, &s::kMap},
    {T::ArchiveGroup, Control::Group, nullptr},
    {T::ArchiveYears, Control::Edit, &s::kYears},
    {T::ArchiveBasins, Control::Edit, &s::kBasins},
    {T::ArchiveStorms, Control::Edit, &s::kStorms},
}};

// The TCV point size follows the track width and the TCV style has one
// drawing order: both are shown and never stored.
constexpr std::array<SettingsField, 26> kTcvFields{{
    {T::TrackWidth, Control::Edit, &s::kTrack1, T::PixelsUnit},
    {T::PointSize, Control::Note, nullptr},
    {T::HorizontalMargin, Control::Edit, &s::kWidthSpace1, T::PixelsUnit},
    {T::VerticalMargin, Control::Edit, &s::kHeightSpace1, T::PixelsUnit},
    {T::MinimumWidth, Control::Edit, &s::kWidth1, T::PixelsUnit},
    {T::MinimumHeight, Control::Edit, &s::kHeight1, T::PixelsUnit},
    {T::TrackReset, Control::List, &s::kMultipleFile1, std::nullopt, kResetItems},
    {T::LegendPosition, Control::List, &s::kDrawLegends1, std::nullopt, kLegendItems},
    {T::DrawingOrder, Control::FixedList, nullptr, std::nullopt, kTcvOrderItems},
    {T::WindRadii, Control::List, &s::kDrawRad1, std::nullopt, kRadiiItems},
    {T::ShowAllFixes, Control::CheckBox, &s::kAllPoints1},
    {T::SkipDisturbance, Control::CheckBox, &s::kSkipInvest1},
    {T::ShowGrid, Control::CheckBox, &s::kShowGrid1},
    {T::ShowTextLabels, Control::CheckBox, &s::kShowText1},
    {T::DefaultMapFile, Control::MapPath, &s::kMap1},
    {T::ArchiveGroup, Control::Group, nullptr},
    {T::ArchiveYears, Control::Edit, &s::kYears1},
    {T::ArchiveBasins, Control::Edit, &s::kBasins1},
    {T::ArchiveStorms, Control::Edit, &s::kStorms1},
    // Forecasts are drawn in the TCV style only: one section for both.
    {T::ForecastGroup, Control::Group, nullptr},
    {T::ForecastCycleLabel, Control::Edit, &s::kForecastCycle},
    {T::ForecastAidsLabel, Control::Edit, &s::kForecastAids},
    {T::EarlyAidsLabel, Control::Switch, &s::kEarlyAids},
    {T::ConeLabel, Control::Switch, &s::kCone},
    {T::ConeAidLabel, Control::Edit, &s::kConeAid},
    {T::SwathLabel, Control::Switch, &s::kSwath},
}};

// One key for both styles: it changes SVG and PDF maps on the bundled map only.
constexpr std::array<SettingsField, 2> kVectorMapFields{{
    {T::VectorMapsGroup, Control::Group, nullptr},
    {T::VectorLandLabel, Control::Switch, &s::kVectorLand},
}};

constexpr std::array kScaleItems{T::ScaleSaffirSimpson, T::ScaleCma, T::ScaleJma};
constexpr std::array kWindItems{T::WindsAsGiven, T::WindsOneMinute, T::WindsTwoMinute,
                                T::WindsTenMinute};
static_assert(kScaleItems.size() == std::size(kScaleNames));
static_assert(kWindItems.size() == std::size(kWindChoiceNames));

constexpr std::array<SettingsField, 7> kAgencyFields{{
    {T::AgenciesGroup, Control::Group, nullptr},
    {T::AgencyScaleLabel, Control::WordList, &s::kScale, std::nullopt, kScaleItems, kScaleNames},
    {T::AgencyWindsLabel, Control::WordList, &s::kWinds, std::nullopt, kWindItems,
     kWindChoiceNames},
    {T::TenFromOneMinuteLabel, Control::Edit, &s::kTenFromOneMinute},
    {T::TenFromTwoMinuteLabel, Control::Edit, &s::kTenFromTwoMinute},
    {T::AgencyListLabel, Control::Edit, &s::kAgencyList},
    {T::MarkDifferencesLabel, Control::CheckBox, &s::kMarkDifferences},
}};

// Save order, which differs from the order on screen.
enum class Stored { Text, Index, Check, Quoted, Word };
struct SaveStep {
    const SettingKey* setting;
    Stored as;
};

constexpr std::array<SaveStep, 14> kWendrelSaveOrder{{
    {&s::kTrack, Stored::Text},
    {&s::kPoint, Stored::Text},
    {&s::kWidthSpace, Stored::Text},
    {&s::kHeightSpace, Stored::Text},
    {&s::kWidth, Stored::Text},
    {&s::kHeight, Stored::Text},
    {&s::kPriority, Stored::Index},
    {&s::kDrawLegends, Stored::Index},
    {&s::kSkipInvest, Stored::Check},
    {&s::kNewColor, Stored::Check},
    {&s::kMultipleFile, Stored::Index},
    {&s::kAllPoints, Stored::Check},
    {&s::kShowGrid, Stored::Check},
    {&s::kDrawRad, Stored::Index},
}};

constexpr std::array<SaveStep, 12> kTcvSaveOrder{{
    {&s::kTrack1, Stored::Text},
    {&s::kWidthSpace1, Stored::Text},
    {&s::kHeightSpace1, Stored::Text},
    {&s::kWidth1, Stored::Text},
    {&s::kHeight1, Stored::Text},
    {&s::kSkipInvest1, Stored::Check},
    {&s::kDrawLegends1, Stored::Index},
    {&s::kMultipleFile1, Stored::Index},
    {&s::kAllPoints1, Stored::Check},
    {&s::kShowText1, Stored::Check},
    {&s::kShowGrid1, Stored::Check},
    {&s::kDrawRad1, Stored::Index},
}};

constexpr std::array<SaveStep, 6> kArchiveSaveOrder{{
    {&s::kYears, Stored::Text},
    {&s::kBasins, Stored::Text},
    {&s::kStorms, Stored::Text},
    {&s::kYears1, Stored::Text},
    {&s::kBasins1, Stored::Text},
    {&s::kStorms1, Stored::Text},
}};

constexpr std::array<SaveStep, 6> kForecastSaveOrder{{
    {&s::kForecastCycle, Stored::Text},
    {&s::kForecastAids, Stored::Text},
    {&s::kEarlyAids, Stored::Check},
    {&s::kCone, Stored::Check},
    {&s::kConeAid, Stored::Text},
    {&s::kSwath, Stored::Check},
}};

constexpr std::array<SaveStep, 6> kAgencySaveOrder{{
    {&s::kScale, Stored::Word},
    {&s::kWinds, Stored::Word},
    {&s::kTenFromOneMinute, Stored::Text},
    {&s::kTenFromTwoMinute, Stored::Text},
    {&s::kAgencyList, Stored::Text},
    {&s::kMarkDifferences, Stored::Check},
}};

// The words a WordList setting stores, found through its field.
std::span<const std::string_view> itemWordsOf(const SettingKey* setting) {
    for (const SettingsField& field : kAgencyFields) {
        if (field.setting == setting) return field.itemWords;
    }
    return {};
}

std::string quoted(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 2);
    out += '"';
    out += text;
    out += '"';
    return out;
}

template <typename Map, typename Value>
Value valueOr(const Map& map, std::string_view key, Value fallback) {
    const auto found = map.find(key);
    return found != map.end() ? found->second : fallback;
}

std::string storedValue(const SettingsFormValues& values, const SaveStep& step) {
    const std::string_view key = step.setting->key;
    switch (step.as) {
        case Stored::Text:
            return valueOr(values.texts, key, std::string());
        case Stored::Index:
            return std::to_string(valueOr(values.lists, key, -1));
        case Stored::Check:
            return valueOr(values.checks, key, false) ? "1" : "0";
        case Stored::Quoted:
            return quoted(valueOr(values.texts, key, std::string()));
        case Stored::Word: {
            // Nothing chosen keeps the default, which is what a map uses then.
            const std::span<const std::string_view> words = itemWordsOf(step.setting);
            const int index = valueOr(values.lists, key, -1);
            if (index < 0 || size_t(index) >= words.size())
                return std::string(step.setting->fallback);
            return std::string(words[size_t(index)]);
        }
    }
    return {};
}

void appendWrites(std::vector<std::pair<std::string_view, std::string>>& writes,
                  const SettingsFormValues& values, std::span<const SaveStep> steps) {
    for (const SaveStep& step : steps) {
        writes.emplace_back(step.setting->key, storedValue(values, step));
    }
}

void loadPage(const std::string& file, std::span<const SettingsField> fields,
              SettingsFormValues& values) {
    for (const SettingsField& field : fields) {
        if (field.setting == nullptr || field.control == Control::MapPath) continue;
        const std::string key(field.setting->key);
        const std::string stored = readSetting(file, *field.setting);
        switch (field.control) {
            case Control::Edit:
                values.texts[key] = stored;
                break;
            case Control::List:
                values.lists[key] = listSelection(stored, field.itemIds.size());
                break;
            case Control::WordList:
                values.lists[key] = wordSelection(stored, field.itemWords, field.setting->fallback);
                break;
            case Control::CheckBox:
                values.checks[key] = checkBoxState(stored);
                break;
            case Control::Switch:
                values.checks[key] = switchState(stored);
                break;
            default:
                break;
        }
    }
}

}  // namespace

std::span<const SettingsField> wendrelSettingsFields() {
    return kWendrelFields;
}
std::span<const SettingsField> tcvSettingsFields() {
    return kTcvFields;
}

std::span<const SettingsField> vectorMapSettingsFields() {
    return kVectorMapFields;
}

std::span<const SettingsField> agencySettingsFields() {
    return kAgencyFields;
}

int wordSelection(std::string_view stored, std::span<const std::string_view> words,
                  std::string_view fallback) {
    int fallbackIndex = -1;
    for (size_t index = 0; index < words.size(); ++index) {
        if (isOneOf(stored, words.subspan(index, 1))) return int(index);
        if (words[index] == fallback) fallbackIndex = int(index);
    }
    return fallbackIndex;
}

int listSelection(std::string_view stored, size_t itemCount) {
    const int32_t index = readInteger(stored);
    return index >= 0 && static_cast<size_t>(index) < itemCount ? index : -1;
}

bool checkBoxState(std::string_view stored) {
    return readInteger(stored) > 0;
}

bool switchState(std::string_view stored) {
    return stored == "1";
}

SettingsFormValues loadSettingsForm(const std::string& settingsPath, const StyleChoice& style) {
    SettingsFormValues values;
    values.style = style.tcv ? 1 : 0;
    loadPage(settingsPath, kWendrelFields, values);
    loadPage(settingsPath, kTcvFields, values);
    loadPage(settingsPath, kVectorMapFields, values);
    loadPage(settingsPath, kAgencyFields, values);
    // The map paths come from the program state, which the change-map
    // command may have set since the file was last written.
    values.texts[std::string(s::kMap.key)] = style.mapPath;
    values.texts[std::string(s::kMap1.key)] = style.mapPath1;
    return values;
}

std::vector<std::pair<std::string_view, std::string>> settingsWrites(
    const SettingsFormValues& values) {
    std::vector<std::pair<std::string_view, std::string>> writes;
    writes.emplace_back(s::kMode.key, values.style > 0 ? "1" : "0");
    appendWrites(writes, values, kWendrelSaveOrder);
    appendWrites(writes, values, std::array{SaveStep{&s::kMap, Stored::Quoted}});
    appendWrites(writes, values, kTcvSaveOrder);
    appendWrites(writes, values, std::array{SaveStep{&s::kMap1, Stored::Quoted}});
    appendWrites(writes, values, std::array{SaveStep{&s::kVectorLand, Stored::Check}});
    return writes;
}

std::vector<std::pair<std::string_view, std::string>> archiveSettingsWrites(
    const SettingsFormValues& values) {
    std::vector<std::pair<std::string_view, std::string>> writes;
    appendWrites(writes, values, kArchiveSaveOrder);
    return writes;
}

std::vector<std::pair<std::string_view, std::string>> forecastSettingsWrites(
    const SettingsFormValues& values) {
    std::vector<std::pair<std::string_view, std::string>> writes;
    appendWrites(writes, values, kForecastSaveOrder);
    return writes;
}

std::vector<std::pair<std::string_view, std::string>> agencySettingsWrites(
    const SettingsFormValues& values) {
    std::vector<std::pair<std::string_view, std::string>> writes;
    appendWrites(writes, values, kAgencySaveOrder);
    return writes;
}

bool saveSettingsForm(const std::string& settingsPath, StyleChoice& style,
                      const SettingsFormValues& values) {
    style.tcv = values.style > 0;
    style.mapPath = valueOr(values.texts, s::kMap.key, std::string());
    style.mapPath1 = valueOr(values.texts, s::kMap1.key, std::string());
    bool allWritten = true;
    for (const auto& [key, value] : settingsWrites(values)) {
        allWritten = ProfileStore::write(settingsPath, kGeneralSection, key, value) && allWritten;
    }
    for (const auto& [key, value] : archiveSettingsWrites(values)) {
        allWritten = ProfileStore::write(settingsPath, kArchiveSection, key, value) && allWritten;
    }
    for (const auto& [key, value] : forecastSettingsWrites(values)) {
        allWritten = ProfileStore::write(settingsPath, kForecastSection, key, value) && allWritten;
    }
    for (const auto& [key, value] : agencySettingsWrites(values)) {
        allWritten = ProfileStore::write(settingsPath, kAgenciesSection, key, value) && allWritten;
    }
    return allWritten;
}

std::string tcvPointSizeNote(const LanguagePack& pack) {
    return safeFormat(pack.text(TextId::SetFromField), {pack.text(TextId::TrackWidth)});
}

std::optional<std::string> chooseMapPicture(const LanguagePack& pack, Prompter& prompter,
                                            const std::string& current) {
    return prompter.chooseOpenPath(pack.text(TextId::MapDialogTitle) + ":",
                                   pack.text(TextId::MapDialogFilter), current);
}

}  // namespace tcmap
