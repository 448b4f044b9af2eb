#include "app/open_file_command.h"

#include "config/app_state.h"
#include "config/prompter.h"
#include "files/file_chooser_rules.h"
#include "i18n/language_pack.h"

namespace tcmap {

bool openTrackFiles(AppState& app, Prompter& prompter, const LanguagePack& pack,
                    const std::function<void()>& showChooser) {
    const auto refuse = [&](int text, int title) {
        prompter.message(pack.text(text), pack.text(title), Prompter::Icon::Warning,
                         Prompter::Buttons::Ok, Prompter::Answer::Ok);
        return false;
    };
    if (app.mapPath.empty()) return refuse(16, 17);
    if (app.jobRunning) return refuse(80, 81);

    app.chooserAppend = false;
    app.chooserAccepted = false;
    if (showChooser) showChooser();
    if (!app.chooserAccepted) return false;
    storeLastDir(app);
    return !app.trackFiles.empty();
}

}  // namespace tcmap
