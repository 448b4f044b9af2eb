#include "config/settings_check.h"

#include <algorithm>
#include <map>
#include <string_view>
#include <tuple>

#include "base/text_rules.h"
#include "config/profile_store.h"

namespace tcmap {

namespace {

constexpr size_t kFarthestMisspelling = 2;

// Letters added, dropped, changed or two neighbours swapped, ASCII case
// ignored (optimal string alignment distance). Names whose lengths differ by
// more than a misspelling can are not compared, so a hostile file with long
// names costs no more than one with short ones.
size_t editDistance(std::string_view a, std::string_view b) {
    const size_t lengthGap = a.size() > b.size() ? a.size() - b.size() : b.size() - a.size();
    if (lengthGap > kFarthestMisspelling) return lengthGap;
    const std::string x = toLowerAscii(a);
    const std::string y = toLowerAscii(b);
    std::vector<std::vector<size_t>> d(x.size() + 1, std::vector<size_t>(y.size() + 1));
    for (size_t i = 0; i <= x.size(); ++i) d[i][0] = i;
    for (size_t j = 0; j <= y.size(); ++j) d[0][j] = j;
    for (size_t i = 1; i <= x.size(); ++i) {
        for (size_t j = 1; j <= y.size(); ++j) {
            const size_t change = x[i - 1] == y[j - 1] ? 0 : 1;
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + change});
            if (i > 1 && j > 1 && x[i - 1] == y[j - 2] && x[i - 2] == y[j - 1]) {
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
            }
        }
    }
    return d[x.size()][y.size()];
}

bool likelyMisspelling(std::string_view written, size_t distance) {
    return distance <= kFarthestMisspelling && distance * 2 < written.size();
}

bool isComment(std::string_view text) {
    return !text.empty() && (text.front() == ';' || text.front() == '#');
}

std::string lower(std::string_view text) {
    return toLowerAscii(text);
}

// The rule of a key of this name in any section: the key written under the
// wrong section.
const SettingRule* ruleInAnySection(std::string_view key) {
    for (const SettingRule& rule : settingRules()) {
        if (lower(rule.setting->key) == lower(key)) return &rule;
    }
    return nullptr;
}

bool endsInOne(std::string_view name) {
    return !name.empty() && name.back() == '1';
}

// The known key closest to a misspelt one. Of keys as close, one of the
// section it is in wins, then one of the same style (the TCV keys end in 1).
const SettingRule* closestRule(std::string_view section, std::string_view key) {
    const SettingRule* best = nullptr;
    std::tuple<size_t, bool, bool> bestRank;
    for (const SettingRule& rule : settingRules()) {
        const size_t distance = editDistance(key, rule.setting->key);
        if (!likelyMisspelling(key, distance)) continue;
        const std::tuple<size_t, bool, bool> rank{distance,
                                                  lower(rule.setting->section) != lower(section),
                                                  endsInOne(rule.setting->key) != endsInOne(key)};
        if (best == nullptr || rank < bestRank) {
            best = &rule;
            bestRank = rank;
        }
    }
    return best;
}

class FileChecker {
  public:
    void line(const ProfileLine& line) {
        switch (line.kind) {
            case ProfileLine::Kind::Section:
                section(line);
                break;
            case ProfileLine::Kind::Key:
                if (isComment(line.name)) break;
                if (line.name.empty()) {
                    add(SettingsProblemKind::NotASetting, line.number).key = line.value;
                    break;
                }
                key(line);
                break;
            case ProfileLine::Kind::Other:
                if (!isComment(line.value)) {
                    add(SettingsProblemKind::NotASetting, line.number).key = line.value;
                }
                break;
        }
    }

    std::vector<SettingsProblem> take() { return std::move(problems_); }

  private:
    enum class Reading { NoSection, Known, Ignored };

    SettingsProblem& add(SettingsProblemKind kind, size_t line) {
        SettingsProblem& problem = problems_.emplace_back();
        problem.kind = kind;
        problem.line = line;
        problem.section = section_;
        return problem;
    }

    void section(const ProfileLine& line) {
        section_ = std::string(line.name);
        keyLines_.clear();
        const auto [seen, first] = sectionLines_.emplace(lower(line.name), line.number);
        if (!first) {
            // Only the first section of a name is ever searched.
            add(SettingsProblemKind::RepeatedSection, line.number).readLine = seen->second;
            reading_ = Reading::Ignored;
            return;
        }
        const auto known = settingsSections();
        if (std::none_of(known.begin(), known.end(),
                         [&](std::string_view name) { return lower(name) == lower(line.name); })) {
            add(SettingsProblemKind::UnknownSection, line.number).suggestedSection =
                closestName(line.name, known);
            reading_ = Reading::Ignored;
            return;
        }
        reading_ = Reading::Known;
    }

    void key(const ProfileLine& line) {
        if (reading_ == Reading::NoSection) {
            add(SettingsProblemKind::KeyOutsideSection, line.number).key = line.name;
            return;
        }
        if (reading_ == Reading::Ignored) return;
        const SettingRule* rule = findSettingRule(section_, line.name);
        if (rule == nullptr) {
            unknownKey(line);
            return;
        }
        const auto [seen, first] = keyLines_.emplace(lower(line.name), line.number);
        if (!first) {
            SettingsProblem& problem = add(SettingsProblemKind::RepeatedKey, line.number);
            problem.key = line.name;
            problem.readLine = seen->second;
            return;
        }
        bool cut = false;
        std::string value = ProfileStore::storedValue(line.value, &cut);
        if (cut) {
            SettingsProblem& problem = add(SettingsProblemKind::ValueCut, line.number);
            problem.key = line.name;
            problem.rule = rule;
        }
        if (!acceptsValue(*rule, value)) {
            SettingsProblem& problem = add(SettingsProblemKind::BadValue, line.number);
            problem.key = line.name;
            problem.value = std::move(value);
            problem.rule = rule;
        }
    }

    void unknownKey(const ProfileLine& line) {
        if (const SettingRule* elsewhere = ruleInAnySection(line.name)) {
            SettingsProblem& problem = add(SettingsProblemKind::KeyInOtherSection, line.number);
            problem.key = line.name;
            problem.suggestedSection = elsewhere->setting->section;
            problem.suggestedKey = elsewhere->setting->key;
            return;
        }
        SettingsProblem& problem = add(SettingsProblemKind::UnknownKey, line.number);
        problem.key = line.name;
        if (const SettingRule* close = closestRule(section_, line.name)) {
            problem.suggestedSection = close->setting->section;
            problem.suggestedKey = close->setting->key;
        }
    }

    std::vector<SettingsProblem> problems_;
    std::string section_;
    Reading reading_ = Reading::NoSection;
    std::map<std::string, size_t> sectionLines_;  // lower-case name -> first line
    std::map<std::string, size_t> keyLines_;      // of the current section
};

}  // namespace

std::vector<SettingsProblem> checkSettingsText(std::string_view bytes) {
    FileChecker checker;
    ProfileStore::forEachLine(bytes, [&checker](const ProfileLine& line) { checker.line(line); });
    return checker.take();
}

std::vector<SettingsProblem> checkSettingsFile(const std::string& path) {
    const auto wholeFile = [](SettingsProblemKind kind) {
        SettingsProblem problem;
        problem.kind = kind;
        return std::vector<SettingsProblem>{problem};
    };
    const ProfileFile file = ProfileStore::load(path);
    switch (file.status) {
        case ProfileFile::Status::Read:
            return checkSettingsText(file.bytes);
        case ProfileFile::Status::Missing:
            return wholeFile(SettingsProblemKind::FileMissing);
        case ProfileFile::Status::Unreadable:
            return wholeFile(SettingsProblemKind::FileUnreadable);
    }
    return {};
}

std::string_view closestName(std::string_view name, std::span<const std::string_view> known) {
    std::string_view best;
    size_t bestDistance = 0;
    for (std::string_view candidate : known) {
        const size_t distance = editDistance(name, candidate);
        if (!likelyMisspelling(name, distance)) continue;
        if (best.empty() || distance < bestDistance) {
            best = candidate;
            bestDistance = distance;
        }
    }
    return best;
}

}  // namespace tcmap
