// The main window's Open file command with its chooser window.
#pragma once

class QWidget;

namespace tcmap {

struct AppState;
class Prompter;

// Refuses without a map picture or while a job runs; otherwise shows the file
// chooser in replace mode over `owner` and stores the folder when the user
// confirmed. True when the user confirmed and there are track files to draw.
// The caller refreshes its title whenever app.chooserAccepted is true, and
// acts on its auto-draw choice when this returns true.
bool openTrackFilesCommand(AppState& app, Prompter& prompter, QWidget* owner);

}  // namespace tcmap
