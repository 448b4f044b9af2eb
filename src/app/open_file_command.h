// The Open file command without its window: the refusals, the chooser in
// replace mode, and the folder remembered when the user confirmed.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace tcmap {

class LanguagePack;
class Prompter;

// How the command ended.
struct OpenFilesResult {
    bool confirmed = false;    // the chooser was confirmed: the list of track files changed
    bool filesToDraw = false;  // confirmed, and the list is not empty
};

// What the command reads and changes of the window's session; the chooser
// changes the track files and the last folder.
struct OpenFilesState {
    const std::string& wendrelMap;  // the Wendrel-style map, whatever the style
    bool jobRunning;
    bool& chooserAppend;
    const std::string& settingsPath;
    const std::string& lastDir;
    const std::vector<std::string>& trackFiles;
};

// Refuses with a warning when no map picture is set (the Wendrel-style map,
// whatever the style) or while a draw job runs. Otherwise sets replace mode,
// runs `showChooser` (which shows the chooser modally and says whether the
// user confirmed it) and, when the chooser was confirmed, stores the last
// folder as the Dir setting. The caller refreshes its title when the list
// changed and draws automatically, if the user asked for that, when there are
// files to draw.
OpenFilesResult openTrackFiles(const OpenFilesState& state, Prompter& prompter,
                               const LanguagePack& pack, const std::function<bool()>& showChooser);

}  // namespace tcmap
