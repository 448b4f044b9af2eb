#include "app/map_name_pattern.h"

#include "app/storm_catalog.h"

namespace tcmap {

namespace {

constexpr std::string_view kPlaceholders[] = {"year", "id", "name", "basin", "number"};

const std::string* valueOf(std::string_view placeholder, const StormFacts& storm) {
    if (placeholder == "year") return &storm.year;
    if (placeholder == "id") return &storm.id;
    if (placeholder == "name") return &storm.name;
    if (placeholder == "basin") return &storm.basin;
    if (placeholder == "number") return &storm.number;
    return nullptr;
}

bool known(std::string_view placeholder) {
    for (std::string_view name : kPlaceholders) {
        if (name == placeholder) return true;
    }
    return false;
}

}  // namespace

std::string checkMapNamePattern(std::string_view pattern) {
    const std::string given = "--each " + std::string(pattern) + ": ";
    const std::string accepted = "; accepted placeholders: {year} {id} {name} {basin} {number}";
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '}') return given + "a '}' without its '{'" + accepted;
        if (pattern[i] != '{') continue;
        const size_t close = pattern.find('}', i);
        if (close == std::string_view::npos) return given + "a '{' without its '}'" + accepted;
        const std::string_view name = pattern.substr(i + 1, close - i - 1);
        if (!known(name))
            return given + "unknown placeholder {" + std::string(name) + "}" + accepted;
        i = close;
    }
    if (pattern.empty() || pattern.back() == '/') return given + "names no file";
    return {};
}

std::string expandMapName(std::string_view pattern, const StormFacts& storm) {
    std::string name;
    for (size_t i = 0; i < pattern.size(); ++i) {
        const size_t close = pattern[i] == '{' ? pattern.find('}', i) : std::string_view::npos;
        const std::string* value = close == std::string_view::npos
                                       ? nullptr
                                       : valueOf(pattern.substr(i + 1, close - i - 1), storm);
        if (value == nullptr) {
            name += pattern[i];
            continue;
        }
        name += safeNamePart(*value);
        i = close;
    }
    return name;
}

std::string safeNamePart(std::string_view value) {
    std::string safe;
    for (const char c : value) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                           (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.';
        safe += plain ? c : '_';
    }
    if (safe.empty()) return "_";
    if (safe.front() == '.') safe.front() = '_';
    return safe;
}

}  // namespace tcmap
