// Reads a settings file the way the program reads it (ProfileStore) and
// lists what the program would ignore or misread: unknown sections and keys,
// values a key does not accept, lines that are skipped. The texts of the
// warnings are the application's (app/settings_warnings.h).
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "config/settings_schema.h"

namespace tcmap {

enum class SettingsProblemKind {
    FileMissing,        // the file does not exist: defaults are read
    FileUnreadable,     // a folder, unreadable or too large: defaults are read
    UnknownSection,     // its keys are never read
    RepeatedSection,    // a later section of a name already seen: never read
    KeyOutsideSection,  // a key before the first section: never read
    NotASetting,        // a line that is neither "[section]" nor key=value
    UnknownKey,         // a key the program never reads
    KeyInOtherSection,  // a known key under the wrong section
    RepeatedKey,        // a later key of a name already seen: never read
    BadValue,           // a value the key does not accept
    ValueCut,           // longer than the value limit: read cut short
};

struct SettingsProblem {
    SettingsProblemKind kind = SettingsProblemKind::FileMissing;
    size_t line = 0;      // 1-based; 0 for the file as a whole
    std::string section;  // as the file writes it
    std::string key;      // as the file writes it; NotASetting: the line
    std::string value;    // as read: quotes removed, cut at the limit
    // UnknownSection: a known section of a similar name, or empty.
    // UnknownKey: a known key of a similar name and its section, or empty.
    // KeyInOtherSection: the key's own section.
    std::string suggestedSection;
    std::string suggestedKey;
    size_t readLine = 0;                // Repeated*: the line that is read instead
    const SettingRule* rule = nullptr;  // BadValue, ValueCut
};

// The problems of a settings file in line order; none for a clean file.
std::vector<SettingsProblem> checkSettingsFile(const std::string& path);

// The same for bytes already read.
std::vector<SettingsProblem> checkSettingsText(std::string_view bytes);

// The known name closest to `name` (ASCII case ignored) when it is a likely
// misspelling of it: at most two letters added, dropped, changed or swapped,
// and fewer than half of its letters. Empty when none is that close.
std::string_view closestName(std::string_view name, std::span<const std::string_view> known);

}  // namespace tcmap
