// What the language window does when a row is chosen.
#pragma once

#include <string>
#include <vector>

#include "i18n/language_list.h"

namespace tcmap {

class LanguagePack;
class Prompter;

// Title of the language window: "Language " + the language-selection text.
std::string languageWindowTitle(const LanguagePack& pack);

// OK or a double click on row `row` (0-based; -1 for none): asks to confirm,
// stores the row's code quoted in Language.ini and says whether that worked.
// True when the window closes (the choice was stored). The new language takes
// effect at the next start.
bool confirmLanguageChoice(const LanguagePack& pack, Prompter& prompter,
                           const std::vector<LanguageRow>& rows, int row);

}  // namespace tcmap
