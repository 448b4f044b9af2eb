#include "app/open_file_command.h"

#include "config/app_state.h"
#include "config/prompter.h"
#include "files/file_chooser_rules.h"
#include "i18n/language_pack.h"

namespace tcmap {

OpenFilesResult openTrackFiles(AppState& app, Prompter& prompter, const LanguagePack& pack,
                               const std::function<bool()>& showChooser) {
    const auto refuse = [&](TextId text, TextId title) {
        prompter.message(pack.text(text), pack.text(title), Prompter::Icon::Warning,
                         Prompter::Buttons::Ok, Prompter::Answer::Ok);
        return OpenFilesResult{};
    };
    if (app.mapPath.empty()) return refuse(TextId::NoMap, TextId::NoMapTitle);
    if (app.jobRunning) return refuse(TextId::JobRunning, TextId::Drawing);

    app.chooserAppend = false;
    if (!showChooser || !showChooser()) return {};
    storeLastDir(app);
    return {true, !app.trackFiles.empty()};
}

}  // namespace tcmap
