// `tcmap check-settings FILE`: reads a settings file as a draw would and
// prints what the program would ignore or misread. Runs before, and without,
// any window.
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace tcmap {

struct ProgramPaths;
class LanguagePack;

// The language of a command: Language.ini of the user's folder, else the
// data folder's, read without writing anything; while it names none, the
// locale's (startup_state.h).
LanguagePack commandLanguage(const ProgramPaths& paths, std::string_view messageLocale);

// `args` are the arguments after "check-settings". Prints every warning on
// `out`, one a line, and returns 1 when there is any; prints that the file has
// no problems and returns 0 when there is none; a usage line on `err` and 2
// unless exactly one file is named.
int runCheckSettingsCommand(const ProgramPaths& paths, const std::vector<std::string>& args,
                            std::ostream& out, std::ostream& err,
                            std::string_view messageLocale = {});

}  // namespace tcmap
