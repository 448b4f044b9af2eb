// From the options of `draw` or `list` to what a drawing needs: the settings
// (the base file, the command's own defaults, then the options), the style,
// the language, the map, the mode and region. Every refused value comes back
// as one message naming the option, what was wrong and what is accepted.
#pragma once

#include <string>
#include <variant>
#include <vector>

#include "app/command_options.h"
#include "config/program_paths.h"
#include "config/settings_source.h"
#include "render/draw.h"

namespace tcmap {

struct CommandSetup {
    ProgramPaths paths;  // settingsPath: the base settings file
    SettingsSource settings;
    StyleChoice style;
    LanguageChoice language;
    DrawMode mode = DrawMode::Normal;
    std::vector<std::string> region;  // Regional: the four parts
};

// The settings `draw` starts from beyond the settings file: what the command
// shows unless told otherwise, where it differs from batch mode. The one
// place for them.
std::vector<SettingOverride> drawCommandDefaults();

// The shipped Settings.ini (the data folder's, not the user's).
std::string installedSettingsPath(const ProgramPaths& paths);

// `messageLocale` is the locale's language, for when Language.ini names none.
std::variant<CommandSetup, std::string> settleCommand(const CommandOptions& options,
                                                      CommandName command,
                                                      const ProgramPaths& paths,
                                                      const std::string& messageLocale);

// The request of one drawing of the setup, without tracks.
DrawRequest commandDrawRequest(const CommandSetup& setup);

}  // namespace tcmap
