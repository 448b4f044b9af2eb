// The main window's Open file command with its chooser window.
#pragma once

#include "app/open_file_command.h"

class QWidget;

namespace tcmap {

struct WindowSession;
class Prompter;

// Refuses without a map picture or while a job runs; otherwise shows the file
// chooser in replace mode over `owner` and stores the folder when the user
// confirmed. The caller refreshes its title when the user confirmed, and acts
// on its auto-draw choice when there are track files to draw.
OpenFilesResult openTrackFilesCommand(WindowSession& app, Prompter& prompter, QWidget* owner);

}  // namespace tcmap
