#include "gui/open_track_files.h"

#include "app/open_file_command.h"
#include "gui/file_chooser_window.h"
#include "gui/window_session.h"
#include "i18n/language_pack.h"

namespace tcmap {

OpenFilesResult openTrackFilesCommand(WindowSession& app, Prompter& prompter, QWidget* owner) {
    const OpenFilesState state{app.style.mapPath,      app.jobRunning, app.chooserAppend,
                               app.paths.settingsPath, app.lastDir,    app.trackFiles};
    return openTrackFiles(state, prompter, app.languagePack(), [&] {
        FileChooserWindow chooser(app, prompter, owner);
        return chooser.choose();
    });
}

}  // namespace tcmap
