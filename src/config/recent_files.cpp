#include "config/recent_files.h"

#include "base/text_rules.h"
#include "config/profile_store.h"

namespace tcmap {

std::vector<std::vector<std::string>> readRecentFiles(const std::string& settingsPath) {
    std::vector<std::vector<std::string>> entries;
    for (const SettingKey* key : settings::kRecentFiles) {
        const std::string stored = readSetting(settingsPath, *key);
        if (stored.empty()) continue;
        std::vector<std::string> files;
        for (std::string& path : splitText(stored, std::string(1, kRecentSeparator))) {
            if (!path.empty()) files.push_back(std::move(path));
        }
        if (!files.empty()) entries.push_back(std::move(files));
    }
    return entries;
}

bool rememberRecentFiles(const std::string& settingsPath, const std::vector<std::string>& files) {
    if (files.empty()) return true;
    for (const std::string& path : files) {
        // A line break or NUL cannot be stored in a settings line at all.
        if (path.find_first_of(std::string{kRecentSeparator, '\r', '\n', '\0'}) !=
                std::string::npos ||
            path.empty())
            return true;
    }
    std::vector<std::vector<std::string>> entries{files};
    for (std::vector<std::string>& older : readRecentFiles(settingsPath)) {
        if (older != files) entries.push_back(std::move(older));
    }
    bool written = true;
    for (size_t index = 0; index < settings::kRecentFiles.size(); ++index) {
        std::string joined;
        if (index < entries.size()) {
            for (const std::string& path : entries[index]) {
                if (!joined.empty()) joined += kRecentSeparator;
                joined += path;
            }
        }
        const SettingKey& key = *settings::kRecentFiles[index];
        // Quoted, so a path's leading or trailing spaces survive the reading.
        written = ProfileStore::write(settingsPath, key.section, key.key, "\"" + joined + "\"") &&
                  written;
    }
    return written;
}

std::string recentCaption(const std::vector<std::string>& files, size_t index) {
    std::string caption = "&" + std::to_string(index + 1) + " ";
    if (files.empty()) return caption;
    const std::string& first = files.front();
    const size_t slash = first.find_last_of("/\\");
    caption += slash == std::string::npos ? first : first.substr(slash + 1);
    if (files.size() > 1) caption += " (+" + std::to_string(files.size() - 1) + ")";
    return caption;
}

}  // namespace tcmap
