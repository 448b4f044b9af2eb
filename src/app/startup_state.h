// The start-up steps that fill the program state before any window or draw
// job exists. Batch mode and the main window run the same steps.
#pragma once

#include <string>

namespace tcmap {

struct AppState;
struct ProgramFolders;

// Run folder, the default Settings.ini beside the executable and the dash
// pattern. Runs before the command line is looked at.
void setRunDefaults(AppState& app, const std::string& runFolder);
// The same for the folders of a portable or an installed run: the user's
// folder stands for the run folder; data and scratch folders are recorded.
void setRunDefaults(AppState& app, const ProgramFolders& folders);

// The first step that writes: an installed run creates the user's folders and
// copies the default Settings.ini and Language.ini there on the first start.
// When the user's Settings.ini cannot be made, the shipped one is read.
void settleUserFolders(AppState& app, const ProgramFolders& folders);

// Deletes the scratch file the previous run recorded in the run folder's
// Settings.ini and any other that no live run holds, reserves a fresh one for
// this run and records its name there (quoted). The record always goes to the run folder's
// Settings.ini, also when a batch run names another settings file.
void prepareScratchFile(AppState& app);

// The fields read once at start-up: lastDir, the language fields
// (Language.ini beside the executable), the render style, the two map paths
// and the program version.
void readStartupSettings(AppState& app);

// True when Language.ini names no language yet: the main window then asks for
// one. Batch mode never asks.
bool languageChoicePending(const std::string& runFolder);

}  // namespace tcmap
