#include "files/open_file_command_window.h"

#include "app/app_state.h"
#include "files/file_chooser_window.h"
#include "files/open_file_command.h"
#include "i18n/language_pack.h"

namespace tcmap {

bool openTrackFilesCommand(AppState& app, Prompter& prompter, QWidget* owner) {
    return openTrackFiles(app, prompter, LanguagePack::fromState(app), [&] {
        FileChooserWindow chooser(app, prompter, owner);
        chooser.exec();
    });
}

}  // namespace tcmap
