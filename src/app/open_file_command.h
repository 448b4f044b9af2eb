// The Open file command without its window: the refusals, the chooser in
// replace mode, and the folder remembered when the user confirmed.
#pragma once

#include <functional>

namespace tcmap {

struct AppState;
class LanguagePack;
class Prompter;

// How the command ended.
struct OpenFilesResult {
    bool confirmed = false;    // the chooser was confirmed: the list of track files changed
    bool filesToDraw = false;  // confirmed, and the list is not empty
};

// Refuses with a warning when no map picture is set (the Wendrel-style map,
// whatever the style) or while a draw job runs. Otherwise sets replace mode,
// runs `showChooser` (which shows the chooser modally and says whether the
// user confirmed it) and, when the chooser was confirmed, stores lastDir as
// the Dir setting. The caller refreshes its title when the list changed and
// draws automatically, if the user asked for that, when there are files to
// draw.
OpenFilesResult openTrackFiles(AppState& app, Prompter& prompter, const LanguagePack& pack,
                               const std::function<bool()>& showChooser);

}  // namespace tcmap
