#include "app/settings_form.h"

#include "base/text_rules.h"
#include "config/app_state.h"
#include "config/profile_store.h"
#include "config/prompter.h"
#include "i18n/language_pack.h"
#include "i18n/safe_format.h"

namespace tcmap {

namespace {

using Control = SettingsControl;
namespace s = settings;

constexpr std::array<int, 3> kResetItems{125, 126, 127};
constexpr std::array<int, 6> kLegendItems{98, 99, 100, 101, 102, 103};
constexpr std::array<int, 3> kOrderItems{154, 155, 156};
constexpr std::array<int, 1> kTcvOrderItems{154};
constexpr std::array<int, 4> kRadiiItems{163, 164, 165, 166};

constexpr int kYearsText = 192;
constexpr int kBasinsText = 193;
constexpr int kStormsText = 194;

constexpr std::array<SettingsField, 19> kWendrelFields{{
    {55, Control::Edit, &s::kTrack, kDegreesUnitText},
    {56, Control::Edit, &s::kPoint, kDegreesUnitText},
    {57, Control::Edit, &s::kWidthSpace, kPixelsUnitText},
    {58, Control::Edit, &s::kHeightSpace, kPixelsUnitText},
    {59, Control::Edit, &s::kWidth, kPixelsUnitText},
    {60, Control::Edit, &s::kHeight, kPixelsUnitText},
    {124, Control::List, &s::kMultipleFile, 0, kResetItems},
    {28, Control::List, &s::kDrawLegends, 0, kLegendItems},
    {61, Control::List, &s::kPriority, 0, kOrderItems},
    {162, Control::List, &s::kDrawRad, 0, kRadiiItems},
    {153, Control::CheckBox, &s::kAllPoints},
    {64, Control::CheckBox, &s::kSkipInvest},
    {161, Control::CheckBox, &s::kShowGrid},
    {111, Control::CheckBox, &s::kNewColor},
    {117, Control::MapPath, &s::kMap},
    {kArchiveGroupText, Control::Group, nullptr},
    {kYearsText, Control::Edit, &s::kYears},
    {kBasinsText, Control::Edit, &s::kBasins},
    {kStormsText, Control::Edit, &s::kStorms},
}};

// The TCV point size follows the track width and the TCV style has one
// drawing order: both are shown and never stored.
constexpr std::array<SettingsField, 19> kTcvFields{{
    {55, Control::Edit, &s::kTrack1, kPixelsUnitText},
    {56, Control::Note, nullptr},
    {57, Control::Edit, &s::kWidthSpace1, kPixelsUnitText},
    {58, Control::Edit, &s::kHeightSpace1, kPixelsUnitText},
    {59, Control::Edit, &s::kWidth1, kPixelsUnitText},
    {60, Control::Edit, &s::kHeight1, kPixelsUnitText},
    {124, Control::List, &s::kMultipleFile1, 0, kResetItems},
    {28, Control::List, &s::kDrawLegends1, 0, kLegendItems},
    {61, Control::FixedList, nullptr, 0, kTcvOrderItems},
    {162, Control::List, &s::kDrawRad1, 0, kRadiiItems},
    {153, Control::CheckBox, &s::kAllPoints1},
    {64, Control::CheckBox, &s::kSkipInvest1},
    {161, Control::CheckBox, &s::kShowGrid1},
    {159, Control::CheckBox, &s::kShowText1},
    {117, Control::MapPath, &s::kMap1},
    {kArchiveGroupText, Control::Group, nullptr},
    {kYearsText, Control::Edit, &s::kYears1},
    {kBasinsText, Control::Edit, &s::kBasins1},
    {kStormsText, Control::Edit, &s::kStorms1},
}};

// Save order, which differs from the order on screen.
enum class Stored { Text, Index, Check, Quoted };
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
            case Control::CheckBox:
                values.checks[key] = checkBoxState(stored);
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

int listSelection(std::string_view stored, size_t itemCount) {
    const int32_t index = readInteger(stored);
    return index >= 0 && static_cast<size_t>(index) < itemCount ? index : -1;
}

bool checkBoxState(std::string_view stored) {
    return readInteger(stored) > 0;
}

SettingsFormValues loadSettingsForm(const AppState& app) {
    SettingsFormValues values;
    values.style = app.styleIsTcv ? 1 : 0;
    loadPage(app.settingsPath, kWendrelFields, values);
    loadPage(app.settingsPath, kTcvFields, values);
    // The map paths come from the program state, which the change-map
    // command may have set since the file was last written.
    values.texts[std::string(s::kMap.key)] = app.mapPath;
    values.texts[std::string(s::kMap1.key)] = app.mapPath1;
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
    return writes;
}

std::vector<std::pair<std::string_view, std::string>> archiveSettingsWrites(
    const SettingsFormValues& values) {
    std::vector<std::pair<std::string_view, std::string>> writes;
    appendWrites(writes, values, kArchiveSaveOrder);
    return writes;
}

bool saveSettingsForm(AppState& app, const SettingsFormValues& values) {
    app.styleIsTcv = values.style > 0;
    app.mapPath = valueOr(values.texts, s::kMap.key, std::string());
    app.mapPath1 = valueOr(values.texts, s::kMap1.key, std::string());
    bool allWritten = true;
    for (const auto& [key, value] : settingsWrites(values)) {
        allWritten =
            ProfileStore::write(app.settingsPath, kGeneralSection, key, value) && allWritten;
    }
    for (const auto& [key, value] : archiveSettingsWrites(values)) {
        allWritten =
            ProfileStore::write(app.settingsPath, kArchiveSection, key, value) && allWritten;
    }
    return allWritten;
}

std::string tcvPointSizeNote(const LanguagePack& pack) {
    return safeFormat(pack.text(119), {pack.text(55)});
}

std::optional<std::string> chooseMapPicture(const LanguagePack& pack, Prompter& prompter,
                                            const std::string& current) {
    return prompter.chooseOpenPath(pack.text(67) + ":", pack.text(68), current);
}

}  // namespace tcmap
