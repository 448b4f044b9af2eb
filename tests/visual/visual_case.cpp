#include "visual/visual_case.h"

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string_view>

#include "base/file_io.h"
#include "base/text_rules.h"

namespace tcmap::testing {

namespace {

// Without surrounding spaces, tabs and carriage returns.
std::string trimmed(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    return std::string(text.substr(first, text.find_last_not_of(" \t\r") - first + 1));
}

std::vector<std::string> words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> out;
    for (std::string word; in >> word;) out.push_back(word);
    return out;
}

void readLine(VisualCase& c, const std::string& key, const std::string& value) {
    if (key == "mode") {
        if (value == "Normal") {
            c.mode = DrawMode::Normal;
        } else if (value == "Regional") {
            c.mode = DrawMode::Regional;
        } else if (value == "Global") {
            c.mode = DrawMode::Global;
        } else {
            c.problem = "unknown mode \"" + value + "\"";
        }
    } else if (key == "region") {
        c.regionParts = splitText(value, ",");
        for (std::string& part : c.regionParts) part = trimmed(part);
    } else if (key == "language") {
        c.language = value;
    } else if (key == "tracks") {
        c.tracks = words(value);
    } else if (key == "settings") {
        c.settings = value;
    } else if (key == "output") {
        c.output = value;
    } else {
        c.problem = "unknown key \"" + key + "\"";
    }
}

}  // namespace

VisualCase readVisualCase(const std::string& folder) {
    VisualCase c;
    c.folder = folder;
    c.name = nameOf(folder);
    const std::optional<std::string> text = readFileBytes(folder + "/case.txt");
    if (!text) {
        c.problem = "case.txt cannot be read";
        return c;
    }
    for (const std::string& raw : splitText(*text, "\n")) {
        const std::string line = trimmed(raw);
        if (line.empty() || line[0] == '#') continue;
        const size_t colon = line.find(':');
        if (colon == std::string::npos) {
            c.problem = "a line without \"key:\": " + line;
            break;
        }
        readLine(c, trimmed(line.substr(0, colon)), trimmed(line.substr(colon + 1)));
        if (!c.problem.empty()) break;
    }
    if (c.problem.empty() && c.tracks.empty()) c.problem = "no tracks";
    if (c.problem.empty() && (c.mode == DrawMode::Regional) != !c.regionParts.empty()) {
        c.problem = "a region goes with mode Regional, and only with it";
    }
    if (c.problem.empty() && c.mode == DrawMode::Regional && c.regionParts.size() != 4) {
        c.problem = "a region has four parts";
    }
    if (c.problem.empty() && c.output != "png") c.problem = "only png output is compared";
    return c;
}

std::vector<VisualCase> findVisualCases(const std::string& root) {
    namespace fs = std::filesystem;
    std::vector<VisualCase> cases;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(root, error)) {
        if (entry.is_directory() && fs::exists(entry.path() / "case.txt")) {
            cases.push_back(readVisualCase(entry.path().string()));
        }
    }
    std::sort(cases.begin(), cases.end(),
              [](const VisualCase& a, const VisualCase& b) { return a.name < b.name; });
    return cases;
}

}  // namespace tcmap::testing
