#include "app/open_file_command.h"

#include "config/prompter.h"
#include "files/file_chooser_rules.h"
#include "i18n/language_pack.h"

namespace tcmap {

OpenFilesResult openTrackFiles(const OpenFilesState& state, Prompter& prompter,
                               const LanguagePack& pack, const std::function<bool()>& showChooser) {
    const auto refuse = [&](TextId text, TextId title) {
        prompter.message(pack.text(text), pack.text(title), Prompter::Icon::Warning,
                         Prompter::Buttons::Ok, Prompter::Answer::Ok);
        return OpenFilesResult{};
    };
    if (state.wendrelMap.empty()) return refuse(TextId::NoMap, TextId::NoMapTitle);
    if (state.jobRunning) return refuse(TextId::JobRunning, TextId::Drawing);

    state.chooserAppend = false;
    if (!showChooser || !showChooser()) return {};
    storeLastDir(state.settingsPath, state.lastDir);
    return {true, !state.trackFiles.empty()};
}

}  // namespace tcmap
