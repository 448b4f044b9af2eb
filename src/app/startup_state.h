// The start-up steps that settle where a run works and what it reads before
// any window or draw job exists. Batch mode and the main window run the same
// steps.
#pragma once

#include <string>
#include <string_view>

#include "config/program_paths.h"

namespace tcmap {

struct ProgramFolders;

// The folders of a portable or an installed run: the user's folder stands for
// the run folder; its Settings.ini is the settings file.
ProgramPaths programPaths(const ProgramFolders& folders);

// The first step that writes: an installed run creates the user's folders and
// copies the default Settings.ini and Language.ini there on the first start.
// When the user's Settings.ini cannot be made, the shipped one is read.
void settleUserFolders(ProgramPaths& paths, const ProgramFolders& folders);

// Deletes the scratch file the previous run recorded in the run folder's
// Settings.ini and any other that no live run holds, reserves a fresh one for
// this run, records its name there (quoted) and returns it. The record always
// goes to the run folder's Settings.ini.
std::string prepareScratchFile(const ProgramPaths& paths);

// Language.ini beside the settings: the language, or the default one while
// none was chosen yet.
LanguageChoice readLanguageChoice(const std::string& runFolder);

// The language of a run that asks nothing (batch mode, the commands): the
// one Language.ini names, or while it names none, the locale's: Chinese for
// a "zh" locale, else English. Language.ini is left as it is, so the window
// still asks on its first start.
LanguageChoice readLanguageChoice(const std::string& runFolder, std::string_view messageLocale);

// The language code of a locale such as "zh_TW.UTF-8" or "en_US".
std::string languageOfLocale(std::string_view messageLocale);

// The render style and the two map paths of a settings file.
StyleChoice readStyleChoice(const std::string& settingsPath);

// The last folder of the file chooser (Dir).
std::string readLastDir(const std::string& settingsPath);

// The program's version, from the build.
std::string programVersion();

// True when Language.ini names no language yet: the main window then asks for
// one. Batch mode never asks.
bool languageChoicePending(const std::string& runFolder);

}  // namespace tcmap
