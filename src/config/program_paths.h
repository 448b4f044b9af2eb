// What every part of a run needs to know of where it runs, fixed at start-up:
// the folders and the settings file, the language of the texts and the
// render style with its maps. Batch mode, the commands and the window's
// session all hold these.
#pragma once

#include <string>
#include <string_view>

namespace tcmap {

struct ProgramPaths {
    // The user's folder, without a trailing separator: the folder of the
    // executable when the program runs portable, else the user's config
    // folder (program_folders.h). Settings.ini and Language.ini live here;
    // *.lang, GridData, fonts.conf and maps here when the user has their own,
    // else in dataFolder.
    std::string runFolder;
    std::string dataFolder;    // read-only files that come with the program; "" means runFolder
    std::string scratchRoot;   // the folder whose temp/ holds scratch files; "" means runFolder
    std::string settingsPath;  // runFolder/Settings.ini, or the batch settings file

    const std::string& scratchHome() const { return scratchRoot.empty() ? runFolder : scratchRoot; }
    // A read-only program file: the user's own when there is one, else the
    // data folder's (programFilePath of program_folders.h).
    std::string programFile(std::string_view name) const;
};

// The language of the texts (Language.ini).
struct LanguageChoice {
    std::string code = "zh-cn";
    std::string charset = "UTF-8";  // of the language files
    bool toBig5 = false;            // simplified characters become traditional ones
};

// The render style and the map of each style (Settings.ini Mode, Map, Map1).
struct StyleChoice {
    bool tcv = false;
    std::string mapPath;   // Wendrel style
    std::string mapPath1;  // TCV style

    const std::string& map() const { return tcv ? mapPath1 : mapPath; }
};

}  // namespace tcmap
