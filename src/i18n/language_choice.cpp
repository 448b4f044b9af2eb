#include "i18n/language_choice.h"

#include "config/prompter.h"
#include "i18n/language_pack.h"

namespace tcmap {

std::string languageWindowTitle(const LanguagePack& pack) {
    return "Language " + pack.text(74);
}

bool confirmLanguageChoice(const LanguagePack& pack, Prompter& prompter,
                           const std::vector<LanguageRow>& rows, int row) {
    if (row < 0 || static_cast<size_t>(row) >= rows.size()) return false;
    const LanguageRow& chosen = rows[static_cast<size_t>(row)];
    const std::string title = pack.text(77);
    const Prompter::Answer answer =
        prompter.message(pack.text(76) + "\r\n" + chosen.caption, title, Prompter::Icon::Question,
                         Prompter::Buttons::OkCancel, Prompter::Answer::Cancel);
    if (answer != Prompter::Answer::Ok) return false;
    if (!saveLanguageChoice(pack.runFolder(), chosen.code)) {
        prompter.message(pack.text(79), title, Prompter::Icon::Warning, Prompter::Buttons::Ok,
                         Prompter::Answer::Ok);
        return false;
    }
    prompter.message(pack.text(78), title, Prompter::Icon::Information, Prompter::Buttons::Ok,
                     Prompter::Answer::Ok);
    return true;
}

}  // namespace tcmap
