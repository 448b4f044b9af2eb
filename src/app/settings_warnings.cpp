#include "app/settings_warnings.h"

#include <map>
#include <span>

#include "app/settings_form.h"
#include "base/text_rules.h"
#include "base/utf8_text.h"
#include "config/profile_store.h"
#include "i18n/language_pack.h"
#include "i18n/safe_format.h"

namespace tcmap {

namespace {

using Kind = SettingsProblemKind;

// The language texts of one check, each looked up once: a language pack
// reads its file at every lookup, and a file may hold many problems.
class Texts {
  public:
    explicit Texts(const LanguagePack& lang) : lang_(lang) {}
    const std::string& text(TextId id) const {
        auto found = cache_.find(id);
        if (found == cache_.end()) found = cache_.emplace(id, lang_.text(id)).first;
        return found->second;
    }

  private:
    const LanguagePack& lang_;
    mutable std::map<TextId, std::string> cache_;
};

// A value or line as it is shown: control characters (which could move the
// terminal's cursor or recolour it) become "?", and a long one is cut.
std::string shown(std::string_view text) {
    constexpr size_t kLongest = 80;
    const std::string_view head = utf8Prefix(text, kLongest);
    std::string out;
    out.reserve(head.size() + 3);
    for (const char c : head) {
        const auto byte = static_cast<unsigned char>(c);
        out += (byte < 0x20 || byte == 0x7F) ? '?' : c;
    }
    if (head.size() < text.size()) out += "...";
    return out;
}

// The list items behind a Choice key, as the settings window shows them;
// empty for a choice the window does not list.
std::span<const TextId> choiceItems(const SettingRule& rule) {
    if (rule.setting == &settings::kMode) return kStyleItemTexts;
    for (const auto fields : {wendrelSettingsFields(), tcvSettingsFields()}) {
        for (const SettingsField& field : fields) {
            if (field.setting == rule.setting && field.control == SettingsControl::List) {
                return field.itemIds;
            }
        }
    }
    return {};
}

std::string joined(const std::vector<std::string>& parts, const Texts& lang) {
    const std::string separator = lang.text(TextId::ListSeparator);
    std::string out;
    for (const std::string& part : parts) {
        if (!out.empty()) out += separator;
        out += part;
    }
    return out;
}

// What a key accepts, the end of a SettingsBadValue warning.
std::string expectation(const SettingRule& rule, const Texts& lang) {
    const auto low = static_cast<int64_t>(rule.low);
    const auto high = static_cast<int64_t>(rule.high);
    switch (rule.kind) {
        case SettingKind::Switch:
            return lang.text(TextId::ExpectSwitch);
        case SettingKind::Choice: {
            const std::span<const TextId> items = choiceItems(rule);
            if (items.empty()) return safeFormat(lang.text(TextId::ExpectWholeNumber), {low, high});
            std::vector<std::string> meanings;
            for (size_t i = 0; i < items.size(); ++i) {
                meanings.push_back(std::to_string(i) + " " + lang.text(items[i]));
            }
            return safeFormat(lang.text(TextId::ExpectChoice), {low, high, joined(meanings, lang)});
        }
        case SettingKind::WholeNumber:
            return safeFormat(lang.text(TextId::ExpectWholeNumber), {low, high});
        case SettingKind::Number:
            return safeFormat(lang.text(TextId::ExpectNumber),
                              {formatG(rule.low, 15), formatG(rule.high, 15)});
        case SettingKind::Colour:
            return lang.text(TextId::ExpectColour);
        case SettingKind::Years:
            return lang.text(TextId::ExpectYears);
        case SettingKind::Basins: {
            const std::vector<std::string> codes(std::begin(kAtcfBasinCodes),
                                                 std::end(kAtcfBasinCodes));
            return safeFormat(lang.text(TextId::ExpectBasins), {joined(codes, lang)});
        }
        case SettingKind::Region:
            return lang.text(TextId::ExpectRegion);
        case SettingKind::LabelFormat:
            return safeFormat(lang.text(TextId::ExpectLabelFormat), {high, "%02d", "%%"});
        case SettingKind::Cycle:
            return lang.text(TextId::ExpectCycle);
        case SettingKind::Word: {
            const std::vector<std::string> words(rule.words.begin(), rule.words.end());
            return safeFormat(lang.text(TextId::ExpectWord), {joined(words, lang)});
        }
        case SettingKind::Path:
        case SettingKind::Names:
            break;
    }
    return {};
}

std::string message(const SettingsProblem& p, const Texts& lang, std::string_view usedInstead) {
    const auto text = [&lang](TextId id, std::initializer_list<FormatArg> args) {
        return safeFormat(lang.text(id), args);
    };
    const std::string section = shown(p.section);
    const std::string instead = shown(usedInstead);
    const std::string key = shown(p.key);
    switch (p.kind) {
        case Kind::FileMissing:
            return usedInstead.empty() ? lang.text(TextId::SettingsFileMissing)
                                       : text(TextId::SettingsFileMissingUsing, {instead});
        case Kind::FileUnreadable:
            return usedInstead.empty() ? lang.text(TextId::SettingsFileUnreadable)
                                       : text(TextId::SettingsFileUnreadableUsing, {instead});
        case Kind::UnknownSection:
            return p.suggestedSection.empty()
                       ? text(TextId::SettingsUnknownSection, {section})
                       : text(TextId::SettingsUnknownSectionNear, {section, p.suggestedSection});
        case Kind::RepeatedSection:
            return text(TextId::SettingsRepeatedSection, {section, p.readLine});
        case Kind::KeyOutsideSection:
            return text(TextId::SettingsKeyOutsideSection, {key});
        case Kind::NotASetting:
            return text(TextId::SettingsNotASetting, {key});
        case Kind::UnknownKey: {
            if (p.suggestedKey.empty()) return text(TextId::SettingsUnknownKey, {section, key});
            // A key of another section is named with its section.
            const std::string near = toLowerAscii(p.suggestedSection) == toLowerAscii(p.section)
                                         ? p.suggestedKey
                                         : "[" + p.suggestedSection + "] " + p.suggestedKey;
            return text(TextId::SettingsUnknownKeyNear, {section, key, near});
        }
        case Kind::KeyInOtherSection:
            return text(TextId::SettingsKeyInOtherSection, {section, key, p.suggestedSection});
        case Kind::RepeatedKey:
            return text(TextId::SettingsRepeatedKey, {section, key, p.readLine});
        case Kind::BadValue:
            return text(TextId::SettingsBadValue,
                        {section, key, shown(p.value), expectation(*p.rule, lang)});
        case Kind::ValueCut:
            return text(TextId::SettingsValueCut, {section, key, kProfileValueLimit});
    }
    return {};
}

std::string warningLine(const std::string& file, const SettingsProblem& problem, const Texts& texts,
                        std::string_view usedInstead) {
    std::string line = shown(file);
    if (problem.line > 0) line += ":" + std::to_string(problem.line);
    return line + ": " + message(problem, texts, usedInstead);
}

std::vector<std::string> warningLines(const std::string& file, const Texts& texts) {
    std::vector<std::string> lines;
    for (const SettingsProblem& problem : checkSettingsFile(file)) {
        lines.push_back(warningLine(file, problem, texts, {}));
    }
    return lines;
}

}  // namespace

std::string settingsWarning(const std::string& file, const SettingsProblem& problem,
                            const LanguagePack& lang, std::string_view usedInstead) {
    return warningLine(file, problem, Texts(lang), usedInstead);
}

std::vector<std::string> settingsWarnings(const std::string& file, const LanguagePack& lang) {
    return warningLines(file, Texts(lang));
}

std::vector<std::string> invalidSettingValues(const std::string& file, const LanguagePack& lang) {
    const Texts texts(lang);
    const size_t separator = file.find_last_of("/\\");
    const std::string name = separator == std::string::npos ? file : file.substr(separator + 1);
    std::vector<std::string> sentences;
    for (const SettingsProblem& problem : checkSettingsFile(file)) {
        if (problem.kind != Kind::BadValue || problem.rule == nullptr) continue;
        sentences.push_back(safeFormat(texts.text(TextId::InvalidSettingValue),
                                       {shown(problem.value), shown(problem.key), shown(name),
                                        expectation(*problem.rule, texts)}));
    }
    return sentences;
}

void printBatchSettingsWarnings(const std::string& namedSettings, const std::string& settingsPath,
                                const LanguagePack& lang, std::ostream& err) {
    const Texts texts(lang);
    if (namedSettings != settingsPath) {
        for (const SettingsProblem& problem : checkSettingsFile(namedSettings)) {
            err << warningLine(namedSettings, problem, texts, settingsPath) << '\n';
        }
    }
    for (const std::string& line : warningLines(settingsPath, texts)) err << line << '\n';
}

}  // namespace tcmap
