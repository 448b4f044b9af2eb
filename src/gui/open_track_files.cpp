#include "gui/open_track_files.h"

#include "app/open_file_command.h"
#include "config/app_state.h"
#include "gui/file_chooser_window.h"
#include "i18n/language_pack.h"

namespace tcmap {

OpenFilesResult openTrackFilesCommand(AppState& app, Prompter& prompter, QWidget* owner) {
    return openTrackFiles(app, prompter, LanguagePack::fromState(app), [&] {
        FileChooserWindow chooser(app, prompter, owner);
        return chooser.choose();
    });
}

}  // namespace tcmap
