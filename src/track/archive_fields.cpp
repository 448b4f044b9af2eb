#include "track/archive_fields.h"

#include "base/text_rules.h"

namespace tcmap {

std::vector<std::string_view> whitespaceWords(std::string_view line) {
    std::vector<std::string_view> words;
    size_t at = 0;
    while (at < line.size()) {
        const size_t start = line.find_first_not_of(" \t", at);
        if (start == std::string_view::npos) break;
        size_t end = line.find_first_of(" \t", start);
        if (end == std::string_view::npos) end = line.size();
        words.push_back(line.substr(start, end - start));
        at = end;
    }
    return words;
}

void splitCsv(std::string_view line, std::vector<std::string_view>& fields) {
    fields.clear();
    size_t start = 0;
    while (true) {
        const size_t comma = line.find(',', start);
        if (comma == std::string_view::npos) {
            fields.push_back(line.substr(start));
            return;
        }
        fields.push_back(line.substr(start, comma - start));
        start = comma + 1;
    }
}

CsvColumns::CsvColumns(std::string_view header) {
    std::vector<std::string_view> names;
    splitCsv(header, names);
    for (size_t i = 0; i < names.size(); ++i) {
        // The first column of that name wins.
        positions_.try_emplace(toUpperAscii(trimView(names[i])), static_cast<int>(i));
    }
}

int CsvColumns::find(std::string_view name) const {
    const auto found = positions_.find(toUpperAscii(name));
    return found == positions_.end() ? -1 : found->second;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i];
        char y = b[i];
        if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
        if (x != y) return false;
    }
    return true;
}

}  // namespace tcmap
