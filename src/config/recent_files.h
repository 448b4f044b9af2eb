// The track files of the last Opens and drops, newest first, kept in
// Settings.ini [Memory] Recent1 ... Recent8 so the File menu offers them
// again after a restart. Each entry is one job's list of files.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "config/settings_keys.h"

namespace tcmap {

namespace settings {
inline constexpr SettingKey kRecent1{kMemorySection, "Recent1", ""};
inline constexpr SettingKey kRecent2{kMemorySection, "Recent2", ""};
inline constexpr SettingKey kRecent3{kMemorySection, "Recent3", ""};
inline constexpr SettingKey kRecent4{kMemorySection, "Recent4", ""};
inline constexpr SettingKey kRecent5{kMemorySection, "Recent5", ""};
inline constexpr SettingKey kRecent6{kMemorySection, "Recent6", ""};
inline constexpr SettingKey kRecent7{kMemorySection, "Recent7", ""};
inline constexpr SettingKey kRecent8{kMemorySection, "Recent8", ""};
inline constexpr std::array<const SettingKey*, 8> kRecentFiles{
    &kRecent1, &kRecent2, &kRecent3, &kRecent4, &kRecent5, &kRecent6, &kRecent7, &kRecent8};
}  // namespace settings

// The paths of one entry are joined by this; a path holding it (or a line
// break) is not kept.
inline constexpr char kRecentSeparator = '|';

// The stored entries, newest first, empty ones left out.
std::vector<std::vector<std::string>> readRecentFiles(const std::string& settingsPath);

// Puts `files` first (an equal entry further down moves up), keeps the
// newest eight and stores them. An empty list, or one with a path holding
// the separator, changes nothing. False when a write failed.
bool rememberRecentFiles(const std::string& settingsPath, const std::vector<std::string>& files);

// A menu caption: "&1 bwp012014.dat", "&2 a.dat (+2)" (the first file's
// name, and how many more), for the entry at `index` (from 0).
std::string recentCaption(const std::vector<std::string>& files, size_t index);

}  // namespace tcmap
