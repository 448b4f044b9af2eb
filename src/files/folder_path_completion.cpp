#include "files/folder_path_completion.h"

#include <filesystem>
#include <optional>
#include <system_error>

namespace tcmap {

namespace {

size_t commonPrefixLength(const std::string& a, const std::string& b) {
    size_t length = 0;
    while (length < a.size() && length < b.size() && a[length] == b[length]) ++length;
    return length;
}

}  // namespace

std::string completeFolderPath(const std::string& typed) {
    const size_t separator = typed.find_last_of('/');
    if (separator == std::string::npos) return typed;
    const std::string parent = typed.substr(0, separator + 1);
    const std::string partial = typed.substr(separator + 1);

    std::error_code error;
    std::filesystem::directory_iterator entries(parent, error);
    if (error) return typed;
    std::optional<std::string> common;
    int matches = 0;
    for (const auto& entry : entries) {
        std::error_code typeError;
        if (!entry.is_directory(typeError)) continue;
        const std::string name = entry.path().filename().string();
        if (name.compare(0, partial.size(), partial) != 0) continue;
        // Hidden folders only when the user has typed the dot.
        if (partial.empty() && !name.empty() && name[0] == '.') continue;
        ++matches;
        common = common ? common->substr(0, commonPrefixLength(*common, name)) : name;
    }
    if (!common) return typed;
    return parent + *common + (matches == 1 ? "/" : "");
}

}  // namespace tcmap
