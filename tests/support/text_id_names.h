// The language texts the program names, read from the TextId header itself,
// and the numbered texts a language file holds: so the checks of the
// language files cover every text there is, however many are added.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>

namespace tcmap::testing {

inline std::string wholeFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// Name -> number of every enumerator of TextId, read from its header.
inline std::map<std::string, int> namedTextIds() {
    const std::string header = wholeFile(TCMAP_SOURCE_DIR "/src/i18n/text_id.h");
    const size_t begin = header.find("enum class TextId");
    const size_t end = header.find("};", begin);
    if (begin == std::string::npos || end == std::string::npos) return {};
    const std::string body = header.substr(begin, end - begin);
    static const std::regex enumerator(R"(\b([A-Z]\w*)\s*=\s*(-?\d+)\s*,)");
    std::map<std::string, int> ids;
    for (std::sregex_iterator it(body.begin(), body.end(), enumerator), last; it != last; ++it) {
        const bool fresh = ids.emplace((*it)[1].str(), std::stoi((*it)[2].str())).second;
        EXPECT_TRUE(fresh) << "TextId names " << (*it)[1] << " twice";
    }
    return ids;
}

// The numbers of every text the program names.
inline std::set<int> textIdNumbers() {
    std::set<int> numbers;
    for (const auto& [name, id] : namedTextIds()) numbers.insert(id);
    return numbers;
}

// The numeric keys of a language file's text section.
inline std::set<int> numberedKeys(const std::string& file) {
    std::set<int> keys;
    std::istringstream lines(wholeFile(file));
    static const std::regex numbered(R"(^\s*(-?\d+)\s*=)");
    std::smatch match;
    for (std::string line; std::getline(lines, line);) {
        if (std::regex_search(line, match, numbered)) keys.insert(std::stoi(match[1].str()));
    }
    return keys;
}

}  // namespace tcmap::testing
