#include "i18n/language_choice.h"

#include "config/prompter.h"
#include "i18n/language_pack.h"

namespace tcmap {

std::string languageWindowTitle(const LanguagePack& pack) {
    return "Language " + pack.text(TextId::LanguageSelection);
}

bool confirmLanguageChoice(const LanguagePack& pack, Prompter& prompter,
                           const std::vector<LanguageRow>& rows, int row) {
    if (row < 0 || static_cast<size_t>(row) >= rows.size()) return false;
    const LanguageRow& chosen = rows[static_cast<size_t>(row)];
    const std::string title = pack.text(TextId::LanguageTitle);
    const Prompter::Answer answer = prompter.message(
        pack.text(TextId::UseThisLanguage) + "\r\n" + chosen.caption, title,
        Prompter::Icon::Question, Prompter::Buttons::OkCancel, Prompter::Answer::Cancel);
    if (answer != Prompter::Answer::Ok) return false;
    if (!saveLanguageChoice(pack.runFolder(), chosen.code)) {
        prompter.message(pack.text(TextId::LanguageNotSaved), title, Prompter::Icon::Warning,
                         Prompter::Buttons::Ok, Prompter::Answer::Ok);
        return false;
    }
    prompter.message(pack.text(TextId::LanguageSaved), title, Prompter::Icon::Information,
                     Prompter::Buttons::Ok, Prompter::Answer::Ok);
    return true;
}

}  // namespace tcmap
