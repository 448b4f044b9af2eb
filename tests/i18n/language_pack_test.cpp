#include "i18n/language_pack.h"

#include <gtest/gtest.h>

#include "config/program_paths.h"
#include "i18n/charset_conversion.h"
#include "support/temp_folder.h"

using namespace tcmap;
using tcmap::testing::TempFolder;

namespace {

class LanguagePackTest : public ::testing::Test {
  protected:
    LanguagePack pack(const std::string& code, const std::string& charset = "UTF-8",
                      bool toBig5 = false) const {
        return LanguagePack(run.path(), code, charset, toBig5);
    }

    TempFolder run;
};

}  // namespace

TEST_F(LanguagePackTest, LooksUpTextsById) {
    run.put("zh-cn.lang",
            "[text]\r\nName=简体中文\r\n82=就绪\r\n12=\" 等 %s 个文件\"\r\n5=\r\n"
            "91=第一行\\n第二行\\N第三行\r\n92=C:\\\\new\\\\Nest\r\n");
    const LanguagePack zh = pack("zh-cn");
    const struct {
        int id;
        const char* text;
    } rows[] = {
        {82, "就绪"},
        {12, " 等 %s 个文件"},  // quotes keep the spaces
        {5, ""},                // present but empty: not MISSING
        {91, "第一行\r\n第二行\r\n第三行"},
        // Left to right: the first backslash of a pair is not followed by n.
        {92, "C:\\\r\new\\\r\nest"},
        {72, "MISSING (zh-cn, 72)"},
        {-1, "MISSING (zh-cn, -1)"},
    };
    for (const auto& row : rows) EXPECT_EQ(zh.text(TextId{row.id}), row.text) << row.id;
    EXPECT_EQ(zh.displayName("zh-cn"), "简体中文");
}

TEST_F(LanguagePackTest, MissingFileGivesMissingTextsAndNoName) {
    const LanguagePack de = pack("de");
    EXPECT_EQ(de.text(TextId{72}), "MISSING (de, 72)");
    EXPECT_EQ(de.displayName("de"), "");
    EXPECT_EQ(de.filePath("de"), run.path() + "/de.lang");
}

TEST_F(LanguagePackTest, ConvertsFilesWrittenInTheDeclaredCharset) {
    run.put("zh-cn.lang",
            *convertCharset("[text]\nName=简体中文\n10=台风路径\\n文件\n", "UTF-8", "GB18030"));
    run.put("zh-tw.lang", *convertCharset("[text]\nName=繁體中文\n10=颱風路徑\n", "UTF-8", "BIG5"));
    EXPECT_EQ(pack("zh-cn", "GB18030").text(TextId{10}), "台风路径\r\n文件");
    EXPECT_EQ(pack("zh-cn", "GB18030").displayName("zh-cn"), "简体中文");
    EXPECT_EQ(pack("zh-tw", "BIG5").text(TextId{10}), "颱風路徑");
    EXPECT_EQ(pack("zh-tw", "BIG5").displayName("zh-tw"), "繁體中文");
    EXPECT_EQ(pack("zh-tw", "BIG5").text(TextId{11}), "MISSING (zh-tw, 11)");
}

TEST_F(LanguagePackTest, UnknownCharsetOrInvalidBytesGiveEmptyTexts) {
    run.put("zh-cn.lang", "[text]\nName=简体中文\n10=台风\n11=\xCC\xA8\xB7\xE7\n");
    const struct {
        const char* charset;
        int id;
        const char* text;
    } rows[] = {
        {"NO-SUCH-SET", 10, ""},
        {"NO-SUCH-SET", 99, ""},  // even the MISSING text
        {"", 10, ""},
        {"UTF-8", 11, ""},  // GB18030 bytes declared as UTF-8
        {"UTF-8", 10, "台风"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(pack("zh-cn", row.charset).text(TextId{row.id}), row.text)
            << row.charset << " " << row.id;
    }
    EXPECT_EQ(pack("zh-cn", "NO-SUCH-SET").displayName("zh-cn"), "");
}

TEST_F(LanguagePackTest, TranTurnsTextsIntoTraditionalCharacters) {
    run.put("zh-tw.lang", "[text]\nName=繁体中文(台湾)\n10=台风 路径\n11=后干台\\n发\n");
    const LanguagePack tw = pack("zh-tw", "UTF-8", true);
    EXPECT_EQ(tw.text(TextId{10}), "台風 路徑");
    EXPECT_EQ(tw.text(TextId{11}), "后干台\r\n發");
    EXPECT_EQ(tw.displayName("zh-tw"), "繁体中文(台灣)");
    EXPECT_EQ(tw.text(TextId{12}), "MISSING (zh-tw, 12)");
    // From a GB18030 file as well.
    run.put("gb.lang", *convertCharset("[text]\n1=台风\n", "UTF-8", "GB18030"));
    EXPECT_EQ(pack("gb", "GB18030", true).text(TextId{1}), "台風");
}

TEST_F(LanguagePackTest, TakesItsFieldsFromThePathsAndTheChoice) {
    run.put("en.lang", "[text]\nName=English\n82=Ready\n");
    ProgramPaths paths;
    paths.runFolder = run.path();
    LanguageChoice choice;
    choice.code = "en";
    choice.charset = "UTF-8";
    choice.toBig5 = true;
    const LanguagePack en(paths, choice);
    EXPECT_EQ(en.code(), "en");
    EXPECT_TRUE(en.toBig5());
    EXPECT_EQ(en.text(TextId::Ready), "Ready");
}
