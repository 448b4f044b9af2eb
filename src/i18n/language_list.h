// The languages offered by the language window, and storing the choice.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tcmap {

class LanguagePack;

// One row of the language list: the code it selects and the text it shows.
struct LanguageRow {
    std::string code;
    std::string caption;  // code + " " + display name (just the code without a name)
};

// <run folder>/Language.ini
std::string languageIniPath(std::string_view runFolder);

// Codes of the *.lang files in the run folder (file name without its last
// extension), sorted byte-wise. Folders and files without a code are left out.
std::vector<std::string> installedLanguageCodes(const std::string& runFolder);

// The entries of Language.ini [lang_list] List (split at ",", trimmed, empty
// ones dropped) followed by the installed codes (the run folder's, then the
// data folder's); a code listed twice appears once, at its first place. Each
// row shows the code it selects.
std::vector<LanguageRow> languageRows(const LanguagePack& pack);

// Writes Language.ini [Language] Select = "<code>" (quoted). False when the
// write fails.
bool saveLanguageChoice(std::string_view runFolder, std::string_view code);

}  // namespace tcmap
