// The names of the language texts: each names a text both shipped languages
// have, with the same placeholders, and the program looks texts up by name
// only.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "config/profile_store.h"
#include "i18n/text_id.h"
#include "support/text_id_names.h"

using namespace tcmap;
using tcmap::testing::namedTextIds;
using tcmap::testing::numberedKeys;
using tcmap::testing::wholeFile;

namespace {

const std::string kSourceDir = TCMAP_SOURCE_DIR;

// The printf placeholders of a text in order, each as its length modifier and
// conversion ("s", "d", "ld"); flags, width and precision do not change what
// the caller must pass. "%%" is not a placeholder.
std::vector<std::string> placeholdersOf(std::string_view text) {
    std::vector<std::string> found;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') continue;
        size_t j = i + 1;
        while (j < text.size() &&
               std::string_view("-+ #0123456789.*").find(text[j]) != std::string_view::npos) {
            ++j;
        }
        const size_t lengthStart = j;
        while (j < text.size() &&
               std::string_view("hlqjztL").find(text[j]) != std::string_view::npos) {
            ++j;
        }
        if (j < text.size() && text[j] != '%') {
            found.emplace_back(text.substr(lengthStart, j + 1 - lengthStart));
        }
        i = j;
    }
    return found;
}

std::string languageFile(const std::string& code) {
    return kSourceDir + "/data/" + code + ".lang";
}

// Lines of `source` that pass a number where a text is looked up: a bare
// number to a text(...) call, or a number turned into a TextId.
std::vector<int> numberedLookups(const std::string& source) {
    static const std::regex lookup(
        R"((\.|->)\s*text\s*\(\s*[-+]?\s*\d|TextId\s*[{(]\s*[-+]?\s*\d|static_cast<\s*TextId\s*>)");
    std::vector<int> lines;
    std::istringstream in(source);
    int number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        if (std::regex_search(line, lookup)) lines.push_back(number);
    }
    return lines;
}

}  // namespace

TEST(TextIds, EveryNameHasItsTextWithTheSamePlaceholdersInBothLanguages) {
    const std::map<std::string, int> ids = namedTextIds();
    // The header read is the one compiled.
    ASSERT_EQ(ids.count("Ready"), 1u);
    EXPECT_EQ(ids.at("Ready"), static_cast<int>(TextId::Ready));
    EXPECT_EQ(ids.at("ProgramName"), static_cast<int>(TextId::ProgramName));
    EXPECT_EQ(ids.at("SavingMap"), static_cast<int>(TextId::SavingMap));

    std::map<int, std::string> nameOf;
    for (const auto& [name, id] : ids) {
        const auto [other, fresh] = nameOf.emplace(id, name);
        EXPECT_TRUE(fresh) << "text " << id << " has two names: " << other->second << ", " << name;
    }

    const std::string en = languageFile("en");
    const std::string zh = languageFile("zh-cn");
    for (const auto& [name, id] : ids) {
        const std::string key = std::to_string(id);
        const std::string enText = ProfileStore::read(en, "text", key, "\x01");
        const std::string zhText = ProfileStore::read(zh, "text", key, "\x01");
        EXPECT_NE(enText, "\x01") << "en.lang lacks " << name << " (" << id << ")";
        EXPECT_NE(zhText, "\x01") << "zh-cn.lang lacks " << name << " (" << id << ")";
        EXPECT_EQ(placeholdersOf(enText), placeholdersOf(zhText))
            << name << " (" << id << "): \"" << enText << "\" / \"" << zhText << "\"";
    }

    // And the other way round: no text in the files that the program cannot name.
    for (const std::string& file : {en, zh}) {
        for (const int id : numberedKeys(file)) {
            EXPECT_EQ(nameOf.count(id), 1u) << file << ": text " << id << " has no TextId name";
        }
    }
}

TEST(TextIds, PlaceholdersAreTheKindsACallerPasses) {
    const struct {
        const char* text;
        std::vector<std::string> placeholders;
    } rows[] = {
        {"Reading %s", {"s"}},
        {"%s is shown as:\\n\\n%s", {"s", "s"}},
        {"%-8ld of %5.2f%%, %02d", {"ld", "f", "d"}},
        {"100% sure", {"s"}},  // "% s" to printf
        {"none %% here", {}},
        {"cut short %", {}},
    };
    for (const auto& row : rows) EXPECT_EQ(placeholdersOf(row.text), row.placeholders) << row.text;
}

TEST(TextIds, NoSourceLooksUpATextByNumber) {
    // The scan finds what it is meant to find.
    EXPECT_EQ(numberedLookups("a = pack.text(82);\n"
                              "b = lang_->text( 5 ) + pack.text(TextId::Ready);\n"
                              "c = scanner.text(line);\n"
                              "d = pack.text(TextId{12});\n"
                              "e = pack.text(static_cast<TextId>(n));\n"),
              (std::vector<int>{1, 2, 4, 5}));

    size_t scanned = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(kSourceDir + "/src")) {
        const std::string extension = entry.path().extension().string();
        if (!entry.is_regular_file() || (extension != ".cpp" && extension != ".h")) continue;
        ++scanned;
        for (const int line : numberedLookups(wholeFile(entry.path()))) {
            ADD_FAILURE() << entry.path().string() << ":" << line
                          << " looks up a language text by number; use its TextId name";
        }
    }
    EXPECT_GT(scanned, 50u);
}
