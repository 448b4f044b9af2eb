#include "i18n/language_choice.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "base/file_io.h"
#include "config/profile_store.h"
#include "i18n/language_pack.h"
#include "support/fake_prompter.h"
#include "support/temp_folder.h"

using namespace tcmap;
using tcmap::testing::TempFolder;

namespace {

class LanguageChoiceTest : public ::testing::Test {
  protected:
    LanguageChoiceTest() {
        run.put("zh-cn.lang",
                "[text]\nName=简体中文\n74=- 选择语言\n76=确定要使用以下语言吗？\n77=语言\n"
                "78=已保存\n79=无法保存\n");
        run.put("de.lang", "[text]\nName=Deutsch\n");
        run.put("Language.ini", "[lang_list]\nCharset=UTF-8\n[Language]\nSelect=zh-cn\n");
    }

    LanguagePack pack() const { return LanguagePack(run.path(), "zh-cn", "UTF-8", false); }
    std::string selected() const {
        return ProfileStore::read(run.file("Language.ini"), "Language", "Select", "");
    }

    TempFolder run;
    FakePrompter prompter;
};

}  // namespace

TEST_F(LanguageChoiceTest, NoRowDoesNothing) {
    const std::vector<LanguageRow> rows = languageRows(pack());
    EXPECT_FALSE(confirmLanguageChoice(pack(), prompter, rows, -1));
    EXPECT_FALSE(confirmLanguageChoice(pack(), prompter, rows, 2));
    EXPECT_FALSE(confirmLanguageChoice(pack(), prompter, {}, 0));
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(LanguageChoiceTest, TheConfirmationDefaultsToCancel) {
    const std::vector<LanguageRow> rows = languageRows(pack());
    // No answer queued: the default button answers, and it is Cancel.
    EXPECT_FALSE(confirmLanguageChoice(pack(), prompter, rows, 0));
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text, "确定要使用以下语言吗？\r\nde Deutsch");
    EXPECT_EQ(prompter.shown[0].title, "语言");
    EXPECT_EQ(prompter.shown[0].icon, Prompter::Icon::Question);
    EXPECT_EQ(prompter.shown[0].buttons, Prompter::Buttons::OkCancel);
    EXPECT_EQ(selected(), "zh-cn");
}

TEST_F(LanguageChoiceTest, AFailedWriteIsReportedAndTheWindowStays) {
    const std::vector<LanguageRow> rows = languageRows(pack());
    std::filesystem::remove(run.file("Language.ini"));
    std::filesystem::create_directory(run.file("Language.ini"));  // cannot be written
    prompter.answers = {Prompter::Answer::Ok};
    EXPECT_FALSE(confirmLanguageChoice(pack(), prompter, rows, 1));
    ASSERT_EQ(prompter.shown.size(), 2u);
    EXPECT_EQ(prompter.shown[1].text, "无法保存");
    EXPECT_EQ(prompter.shown[1].icon, Prompter::Icon::Warning);
}
