// The Save command: the scratch picture of the last job copied, or converted
// to PNG, to the file the user names (batch mode: to the batch output path).
#pragma once

namespace tcmap {

struct AppState;
class MainView;
class LanguagePack;
class Prompter;

// The Save command. Interactive (`prompter` given): dialogs and message
// boxes. Batch (`prompter` null): saves to app.batchOutputPath and collects
// failures in the failure log. True when a picture was written.
bool saveTrackMap(AppState& app, MainView& view, const LanguagePack& lang, Prompter* prompter);

}  // namespace tcmap
