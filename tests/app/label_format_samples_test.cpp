#include "app/label_format_samples.h"

#include <gtest/gtest.h>

#include "base/file_io.h"
#include "config/profile_store.h"
#include "i18n/language_pack.h"
#include "support/fake_prompter.h"
#include "support/temp_folder.h"

using namespace tcmap;
using tcmap::testing::TempFolder;

namespace {

class LabelFormatTest : public ::testing::Test {
  protected:
    LabelFormatTest() {
        run.put("en.lang",
                "[text]\n170=%s is shown as:\\n\\n%s\n171=Test - %s\n172=Time text\n"
                "173=Forecast text\n174=Time (2, 11, 6)\n175=Forecast (120, 100)\n"
                "176=Save the formats?\n177=Text Label Format\n");
        settingsPath = run.file("Settings.ini");
    }

    LanguagePack pack() const { return LanguagePack(run.path(), "en", "UTF-8", false); }

    TempFolder run;
    std::string settingsPath;
    FakePrompter prompter;
};

}  // namespace

namespace {

struct SampleRow {
    LabelFormat kind;
    const char* format;
    const char* sample;
};

void expectSamples(std::initializer_list<SampleRow> rows) {
    for (const SampleRow& row : rows) {
        EXPECT_EQ(labelFormatSample(row.kind, row.format), row.sample) << row.format;
    }
}

}  // namespace

TEST(LabelFormatSample, AppliesTheSampleValues) {
    expectSamples({
        {LabelFormat::Time, "%02d%02d%02dZ", "021106Z"},
        {LabelFormat::Forecast, "P+%dh\\n%dkt", "P+120h\r\n100kt"},
        {LabelFormat::Forecast, "P+%dh\\N%dkt", "P+120h\r\n100kt"},
        {LabelFormat::Time, "%d/%d", "2/11"},  // fewer placeholders
        {LabelFormat::Time, "no placeholders", "no placeholders"},
        {LabelFormat::Time, "", ""},
    });
}

TEST(LabelFormatSample, UnsuitableFormatsGiveText) {
    // More placeholders than values, texts where numbers are passed,
    // conversions that would write or read memory: all end as text.
    expectSamples({
        {LabelFormat::Forecast, "%d %d %d %d", "120 100  "},
        {LabelFormat::Time, "%s-%s", "2-11"},
        {LabelFormat::Time, "%n%p%f", "%n%p%f"},
        {LabelFormat::Time, "100%", "100%"},
    });
    const std::string wide = labelFormatSample(LabelFormat::Time, "%2147483647d");
    EXPECT_LE(wide.size(), 2048u);
    EXPECT_EQ(wide.back(), '2');
}

TEST_F(LabelFormatTest, SaveAsksThenStoresBothAsTyped) {
    prompter.answers = {Prompter::Answer::Cancel};
    EXPECT_FALSE(saveLabelFormats(pack(), prompter, settingsPath, "%dZ", "x"));
    EXPECT_FALSE(pathExists(settingsPath));
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text, "Save the formats?");
    EXPECT_EQ(prompter.shown[0].title, "Text Label Format");
    EXPECT_EQ(prompter.shown[0].icon, Prompter::Icon::Question);
    EXPECT_EQ(prompter.shown[0].buttons, Prompter::Buttons::OkCancel);

    // No answer queued: the default button is OK.
    EXPECT_TRUE(saveLabelFormats(pack(), prompter, settingsPath, " \"%02d\" ", "P+%dh\\N%dkt"));
    EXPECT_EQ(readFileOrEmpty(settingsPath),
              "[TextFormat]\nTime=\" \"%02d\" \"\nForecast=\"P+%dh\\N%dkt\"\n");
    EXPECT_EQ(readLabelFormat(settingsPath, LabelFormat::Time), " \"%02d\" ");
    EXPECT_EQ(readLabelFormat(settingsPath, LabelFormat::Forecast), "P+%dh\\N%dkt");
}
