// Names and defaults of every stored setting: the one place the draw job and
// the windows take them from. Keys ending in 1 belong to the TCV style. What
// each key accepts is in settings_schema.h.
#pragma once

#include <string>
#include <string_view>

#include "config/profile_store.h"

namespace tcmap {

struct SettingKey {
    std::string_view section;
    std::string_view key;
    std::string_view fallback;
};

// The stored value of `setting` in `file`, or its default.
inline std::string readSetting(const std::string& file, const SettingKey& setting) {
    return ProfileStore::read(file, setting.section, setting.key, setting.fallback);
}

// Files and folders beside the executable.
inline constexpr std::string_view kSettingsFileName = "Settings.ini";
inline constexpr std::string_view kLanguageFileName = "Language.ini";
inline constexpr std::string_view kTempFolderName = "temp";

// Settings.ini sections.
inline constexpr std::string_view kGeneralSection = "Borvane4";
inline constexpr std::string_view kTmpSection = "tmp";
inline constexpr std::string_view kMemorySection = "Memory";
inline constexpr std::string_view kTextFormatSection = "TextFormat";
inline constexpr std::string_view kArchiveSection = "Archive";
inline constexpr std::string_view kForecastSection = "Forecast";

namespace settings {

// General settings shown above both style pages or kept by commands.
inline constexpr SettingKey kMode{kGeneralSection, "Mode", "0"};
inline constexpr SettingKey kDir{kGeneralSection, "Dir", ""};
inline constexpr SettingKey kBackgroundColor{kGeneralSection, "BackgroundColor", "15,23,31"};
inline constexpr SettingKey kAutoDraw{kGeneralSection, "AutoDraw", "0"};

// The map picture bundled with the program; a relative path is looked up in
// the user's folder, then the data folder. An empty Map or Map1 value means
// no map (the job then says the map could not be loaded).
inline constexpr std::string_view kBundledMap = "maps/world.png";
// The bundled map's land, coasts and borders as paths, for SVG and PDF maps.
inline constexpr std::string_view kBundledVectorWorld = "maps/world_vector.bin";

// SVG and PDF maps on the bundled map draw its land as paths, not as the
// embedded picture; both styles.
inline constexpr SettingKey kVectorLand{kGeneralSection, "VectorLand", "0"};

// Wendrel style.
inline constexpr SettingKey kMap{kGeneralSection, "Map", kBundledMap};
inline constexpr SettingKey kTrack{kGeneralSection, "Track", "0.05"};
inline constexpr SettingKey kPoint{kGeneralSection, "Point", "0.4"};
inline constexpr SettingKey kWidthSpace{kGeneralSection, "WidthSpace", "360"};
inline constexpr SettingKey kHeightSpace{kGeneralSection, "HeightSpace", "270"};
inline constexpr SettingKey kWidth{kGeneralSection, "Width", "1920"};
inline constexpr SettingKey kHeight{kGeneralSection, "Height", "1080"};
inline constexpr SettingKey kPriority{kGeneralSection, "Priority", "0"};
inline constexpr SettingKey kSkipInvest{kGeneralSection, "SkipInvest", "1"};
inline constexpr SettingKey kNewColor{kGeneralSection, "NewColor", "1"};
inline constexpr SettingKey kDrawLegends{kGeneralSection, "DrawLegends", "0"};
inline constexpr SettingKey kMultipleFile{kGeneralSection, "MultipleFile", "0"};
inline constexpr SettingKey kAllPoints{kGeneralSection, "AllPoints", "0"};
inline constexpr SettingKey kShowGrid{kGeneralSection, "ShowGrid", "0"};
inline constexpr SettingKey kDrawRad{kGeneralSection, "DrawRad", "0"};

// TCV style.
inline constexpr SettingKey kMap1{kGeneralSection, "Map1", kBundledMap};
inline constexpr SettingKey kTrack1{kGeneralSection, "Track1", "2"};
inline constexpr SettingKey kWidthSpace1{kGeneralSection, "WidthSpace1", "320"};
inline constexpr SettingKey kHeightSpace1{kGeneralSection, "HeightSpace1", "180"};
inline constexpr SettingKey kWidth1{kGeneralSection, "Width1", "1600"};
inline constexpr SettingKey kHeight1{kGeneralSection, "Height1", "900"};
inline constexpr SettingKey kSkipInvest1{kGeneralSection, "SkipInvest1", "1"};
inline constexpr SettingKey kDrawLegends1{kGeneralSection, "DrawLegends1", "0"};
inline constexpr SettingKey kMultipleFile1{kGeneralSection, "MultipleFile1", "0"};
inline constexpr SettingKey kAllPoints1{kGeneralSection, "AllPoints1", "0"};
inline constexpr SettingKey kShowText1{kGeneralSection, "ShowText1", "1"};
inline constexpr SettingKey kShowGrid1{kGeneralSection, "ShowGrid1", "0"};
inline constexpr SettingKey kDrawRad1{kGeneralSection, "DrawRad1", "0"};

// Which storms of an archive are drawn, per style; empty means all.
inline constexpr SettingKey kYears{kArchiveSection, "Years", ""};
inline constexpr SettingKey kBasins{kArchiveSection, "Basins", ""};
inline constexpr SettingKey kStorms{kArchiveSection, "Storms", ""};
inline constexpr SettingKey kYears1{kArchiveSection, "Years1", ""};
inline constexpr SettingKey kBasins1{kArchiveSection, "Basins1", ""};
inline constexpr SettingKey kStorms1{kArchiveSection, "Storms1", ""};

// The forecaster's map, both styles: which cycle and aids of an a-deck are
// drawn, and the cone and wind swath. "all" cycles draws every record as a
// track, as maps always have; the cone and swath are off unless asked for.
inline constexpr SettingKey kForecastCycle{kForecastSection, "Cycle", "all"};
inline constexpr SettingKey kForecastAids{kForecastSection, "Aids", "all"};
inline constexpr SettingKey kEarlyAids{kForecastSection, "EarlyAids", "1"};
inline constexpr SettingKey kCone{kForecastSection, "Cone", "0"};
inline constexpr SettingKey kConeAid{kForecastSection, "ConeAid", ""};
inline constexpr SettingKey kSwath{kForecastSection, "Swath", "0"};

// Scratch file of the previous run, last region, TCV label formats. The
// Forecast default holds a backslash and an "n", not a line break.
inline constexpr SettingKey kTmpName{kTmpSection, "name", ""};
inline constexpr SettingKey kRegionSelect{kMemorySection, "RegionSelect", "60,100,60,80"};
inline constexpr SettingKey kTimeFormat{kTextFormatSection, "Time", "%02d%02d%02dZ"};
inline constexpr SettingKey kForecastFormat{kTextFormatSection, "Forecast", "P+%dh\\n%dkt"};

}  // namespace settings

// Language.ini, always beside the executable.
namespace language_settings {

inline constexpr std::string_view kListSection = "lang_list";
inline constexpr std::string_view kLanguageSection = "Language";

inline constexpr SettingKey kCharset{kListSection, "Charset", "UTF-8"};
inline constexpr SettingKey kTran{kListSection, "Tran", "0"};
inline constexpr SettingKey kList{kListSection, "List", ""};
inline constexpr SettingKey kSelect{kLanguageSection, "Select", "zh-cn"};

}  // namespace language_settings

}  // namespace tcmap
