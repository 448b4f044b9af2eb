// The warnings of the settings check in the user's language, one line each:
// "<file>:<line>: <what is wrong>" ("<file>: ..." for the file as a whole).
// Batch mode prints them before it draws; `tcmap check-settings` prints
// them as its result.
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "config/settings_check.h"

namespace tcmap {

class LanguagePack;

// One warning. `usedInstead`, when not empty, names the settings file read
// in place of a missing or unreadable one (batch mode); otherwise the
// defaults are read.
std::string settingsWarning(const std::string& file, const SettingsProblem& problem,
                            const LanguagePack& lang, std::string_view usedInstead = {});

// The warnings of checking `file`, in line order.
std::vector<std::string> settingsWarnings(const std::string& file, const LanguagePack& lang);

// The settings of `file` whose values are not valid, one sentence each in
// the user's language naming the value, the key and the file: "The value -3
// is not valid (Track1 in Settings.ini): expected ...". The window shows them
// when a drawing failed, since a bad value is the usual cause.
std::vector<std::string> invalidSettingValues(const std::string& file, const LanguagePack& lang);

// What batch mode reads: `settingsPath`, the named settings file or, when
// the named one is not a file, the default one in its place (which is said
// first). Prints each warning on its own line; nothing for a clean file.
void printBatchSettingsWarnings(const std::string& namedSettings, const std::string& settingsPath,
                                const LanguagePack& lang, std::ostream& err);

}  // namespace tcmap
