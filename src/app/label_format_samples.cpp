#include "app/label_format_samples.h"

#include "base/line_break_escapes.h"
#include "config/profile_store.h"
#include "config/prompter.h"
#include "config/settings_keys.h"
#include "i18n/language_pack.h"
#include "i18n/safe_format.h"

namespace tcmap {

namespace {

// Text ids describing the sample values in the test message.
TextId sampleDescriptionText(LabelFormat which) {
    return which == LabelFormat::Time ? TextId::TimeSampleValues : TextId::ForecastSampleValues;
}

std::string quoted(std::string_view text) {
    std::string out = "\"";
    out += text;
    out += '"';
    return out;
}

}  // namespace

const SettingKey& labelFormatSetting(LabelFormat which) {
    return which == LabelFormat::Time ? settings::kTimeFormat : settings::kForecastFormat;
}

TextId labelFormatLabelText(LabelFormat which) {
    return which == LabelFormat::Time ? TextId::TimeFormatLabel : TextId::ForecastFormatLabel;
}

std::string readLabelFormat(const std::string& settingsPath, LabelFormat which) {
    return readSetting(settingsPath, labelFormatSetting(which));
}

std::string labelFormatSample(LabelFormat which, std::string_view format) {
    const std::string expanded = expandLineBreakEscapes(format);
    if (which == LabelFormat::Time) return safeFormat(expanded, {2, 11, 6});
    return safeFormat(expanded, {120, 100});
}

void showLabelFormatSample(const LanguagePack& pack, Prompter& prompter, LabelFormat which,
                           std::string_view format) {
    const std::string text =
        safeFormat(pack.text(TextId::SampleShownAs),
                   {pack.text(sampleDescriptionText(which)), labelFormatSample(which, format)});
    const std::string title =
        safeFormat(pack.text(TextId::SampleTitle), {pack.text(labelFormatLabelText(which))});
    prompter.message(text, title, Prompter::Icon::None, Prompter::Buttons::Ok,
                     Prompter::Answer::Ok);
}

bool saveLabelFormats(const LanguagePack& pack, Prompter& prompter, const std::string& settingsPath,
                      std::string_view timeFormat, std::string_view forecastFormat) {
    const Prompter::Answer answer = prompter.message(
        pack.text(TextId::SaveFormatsQuestion), pack.text(TextId::SaveFormatsTitle),
        Prompter::Icon::Question, Prompter::Buttons::OkCancel, Prompter::Answer::Ok);
    if (answer != Prompter::Answer::Ok) return false;
    const SettingKey& time = settings::kTimeFormat;
    const SettingKey& forecast = settings::kForecastFormat;
    ProfileStore::write(settingsPath, time.section, time.key, quoted(timeFormat));
    ProfileStore::write(settingsPath, forecast.section, forecast.key, quoted(forecastFormat));
    return true;
}

}  // namespace tcmap
