#include "i18n/language_list.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "base/file_io.h"
#include "config/profile_store.h"
#include "i18n/language_pack.h"
#include "support/temp_folder.h"

using namespace tcmap;
using tcmap::testing::TempFolder;

namespace {

std::vector<std::string> codesOf(const std::vector<LanguageRow>& rows) {
    std::vector<std::string> codes;
    for (const LanguageRow& row : rows) codes.push_back(row.code);
    return codes;
}

}  // namespace

TEST(LanguageList, FindsTheCodesOfLanguageFiles) {
    TempFolder run;
    run.put("zh-cn.lang", "[text]\nName=简体中文\n");
    run.put("de.lang", "[text]\nName=Deutsch\n");
    run.put("zh.tw.lang", "[text]\n");  // the code keeps all but the last extension
    run.put(".lang", "");               // no code
    run.put("notes.txt", "");
    run.put("en.lang.bak", "");
    std::filesystem::create_directory(run.file("folder.lang"));
    EXPECT_EQ(installedLanguageCodes(run.path()),
              (std::vector<std::string>{"de", "zh-cn", "zh.tw"}));
    EXPECT_TRUE(installedLanguageCodes(run.file("missing")).empty());
}

TEST(LanguageList, EveryRowShowsTheCodeItSelects) {
    TempFolder run;
    run.put("zh-cn.lang", "[text]\nName=简体中文\n");
    run.put("de.lang", "[text]\nName=Deutsch\n");
    run.put("Language.ini", "[lang_list]\nList= en , fr,,de\n");
    const LanguagePack pack(run.path(), "zh-cn", "UTF-8", false);
    const std::vector<LanguageRow> rows = languageRows(pack);
    // Listed codes first, then the files found; de appears once.
    EXPECT_EQ(codesOf(rows), (std::vector<std::string>{"en", "fr", "de", "zh-cn"}));
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].caption, "en");  // listed, but no file: no name
    EXPECT_EQ(rows[2].caption, "de Deutsch");
    EXPECT_EQ(rows[3].caption, "zh-cn 简体中文");
}

TEST(LanguageList, NamesFollowTheLanguageSettings) {
    TempFolder run;
    run.put("zh-cn.lang", "[text]\nName=简体中文\n");
    // 体 is a BIG5 character of its own and stays.
    EXPECT_EQ(languageRows(LanguagePack(run.path(), "zh-cn", "UTF-8", true))[0].caption,
              "zh-cn 簡体中文");
    EXPECT_TRUE(languageRows(LanguagePack(run.file("empty"), "zh-cn", "UTF-8", false)).empty());
}

TEST(LanguageList, SavesTheChoiceQuoted) {
    TempFolder run;
    run.put("Language.ini", "[lang_list]\nCharset=UTF-8\n");
    ASSERT_TRUE(saveLanguageChoice(run.path(), "de"));
    EXPECT_NE(readFileOrEmpty(run.file("Language.ini")).find("Select=\"de\""), std::string::npos);
    EXPECT_EQ(ProfileStore::read(languageIniPath(run.path()), "Language", "Select", ""), "de");
    EXPECT_EQ(ProfileStore::read(languageIniPath(run.path()), "lang_list", "Charset", ""), "UTF-8");
    EXPECT_FALSE(saveLanguageChoice(run.file("no/such/folder"), "de"));
}
