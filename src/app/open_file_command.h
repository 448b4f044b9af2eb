// The Open file command without its window: the refusals, the chooser in
// replace mode, and the folder remembered when the user confirmed.
#pragma once

#include <functional>

namespace tcmap {

struct AppState;
class LanguagePack;
class Prompter;

// Refuses with a warning when no map picture is set (the Wendrel-style map,
// whatever the style) or while a draw job runs. Otherwise sets replace mode,
// runs `showChooser` (which shows the chooser modally) and, when the chooser
// was confirmed, stores lastDir as the Dir setting. True when the chooser was
// confirmed and the list of track files is not empty: the caller then draws
// automatically if the user asked for that.
bool openTrackFiles(AppState& app, Prompter& prompter, const LanguagePack& pack,
                    const std::function<void()>& showChooser);

}  // namespace tcmap
