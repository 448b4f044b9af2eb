// The user-interface texts of the selected language, looked up by their id
// (text_id.h) in <run folder>/<code>.lang (section "text"). Nothing is cached: every
// lookup reads the file again, so lookups from several threads need no lock.
#pragma once

#include <string>
#include <string_view>

#include "i18n/text_id.h"

namespace tcmap {

struct LanguageChoice;
struct ProgramPaths;

class LanguagePack {
  public:
    // `charset` names the character set of the language files; `toBig5`
    // turns simplified characters into traditional ones after the conversion.
    // A language file missing from the run folder is read from `dataFolder`.
    LanguagePack(std::string runFolder, std::string code, std::string charset, bool toBig5,
                 std::string dataFolder = {});

    // The chosen language, its files in the program's folders.
    LanguagePack(const ProgramPaths& paths, const LanguageChoice& choice);

    // The text with this id as UTF-8, with every backslash-n (or N) turned
    // into CR LF. A missing file or id gives "MISSING (<code>, <number>)";
    // a charset iconv does not know or bytes invalid in it give "".
    std::string text(TextId id) const;

    // The Name of any installed language, converted like a text; "" when the
    // file or the key is missing.
    std::string displayName(std::string_view code) const;

    // <run folder>/<code>.lang, or the data folder's when only that exists
    std::string filePath(std::string_view code) const;

    const std::string& runFolder() const { return runFolder_; }
    const std::string& dataFolder() const { return dataFolder_; }
    const std::string& code() const { return code_; }
    const std::string& charset() const { return charset_; }
    bool toBig5() const { return toBig5_; }

  private:
    std::string lookup(std::string_view code, std::string_view key,
                       std::string_view fallback) const;

    std::string runFolder_;
    std::string dataFolder_;
    std::string code_;
    std::string charset_;
    bool toBig5_;
};

}  // namespace tcmap
