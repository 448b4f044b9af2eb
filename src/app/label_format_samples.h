// The two TCV label formats as the text-format window edits them: reading,
// trying them on sample values, and storing them.
#pragma once

#include <string>
#include <string_view>

#include "i18n/text_id.h"

namespace tcmap {

class LanguagePack;
class Prompter;
struct SettingKey;

enum class LabelFormat { Time, Forecast };

// Settings.ini [TextFormat] key of a format, with its default.
const SettingKey& labelFormatSetting(LabelFormat which);

// Text id of the field's label (also the subject of the test's title).
TextId labelFormatLabelText(LabelFormat which);

// The stored format, or its default; backslash-n pairs are left as stored.
std::string readLabelFormat(const std::string& settingsPath, LabelFormat which);

// The format applied to its sample values (2, 11, 6 for the time, 120, 100
// for the forecast) after each backslash-n pair became CR LF. Any format
// gives some text, possibly empty.
std::string labelFormatSample(LabelFormat which, std::string_view format);

// A test button: shows the sample in a message box without an icon.
void showLabelFormatSample(const LanguagePack& pack, Prompter& prompter, LabelFormat which,
                           std::string_view format);

// Save: asks first; on OK stores both formats quoted, exactly as typed.
// True when the user confirmed (the window then closes).
bool saveLabelFormats(const LanguagePack& pack, Prompter& prompter, const std::string& settingsPath,
                      std::string_view timeFormat, std::string_view forecastFormat);

}  // namespace tcmap
