#include "i18n/language_pack.h"

#include "base/line_break_escapes.h"
#include "config/profile_store.h"
#include "config/program_folders.h"
#include "config/program_paths.h"
#include "i18n/charset_conversion.h"
#include "i18n/traditional_chinese.h"

namespace tcmap {

LanguagePack::LanguagePack(std::string runFolder, std::string code, std::string charset,
                           bool toBig5, std::string dataFolder)
    : runFolder_(std::move(runFolder)),
      dataFolder_(std::move(dataFolder)),
      code_(std::move(code)),
      charset_(std::move(charset)),
      toBig5_(toBig5) {}

LanguagePack::LanguagePack(const ProgramPaths& paths, const LanguageChoice& choice)
    : LanguagePack(paths.runFolder, choice.code, choice.charset, choice.toBig5, paths.dataFolder) {}

std::string LanguagePack::filePath(std::string_view code) const {
    std::string name(code);
    name += ".lang";
    return programFilePath(runFolder_, dataFolder_, name);
}

std::string LanguagePack::text(TextId id) const {
    const std::string key = std::to_string(static_cast<int32_t>(id));
    return lookup(code_, key, "MISSING (" + code_ + ", " + key + ")");
}

std::string LanguagePack::displayName(std::string_view code) const {
    return lookup(code, "Name", "");
}

std::string LanguagePack::lookup(std::string_view code, std::string_view key,
                                 std::string_view fallback) const {
    // The default goes through the same conversion as a stored value: in an
    // ASCII-compatible charset it comes out unchanged.
    const std::string raw = ProfileStore::read(filePath(code), "text", key, fallback);
    std::string converted = toUtf8(raw, charset_);
    if (toBig5_) converted = toTraditionalChinese(converted);
    return expandLineBreakEscapes(converted);
}

}  // namespace tcmap
