#include "app/check_settings_command.h"

#include "app/settings_warnings.h"
#include "app/startup_state.h"
#include "config/program_folders.h"
#include "config/program_paths.h"
#include "config/settings_keys.h"
#include "i18n/language_pack.h"
#include "i18n/safe_format.h"

namespace tcmap {

LanguagePack commandLanguage(const ProgramPaths& paths, std::string_view messageLocale) {
    namespace k = language_settings;
    // An installed program's first run has no Language.ini of the user yet.
    const std::string ini = paths.programFile(kLanguageFileName);
    std::string code = ProfileStore::read(ini, k::kSelect.section, k::kSelect.key, "");
    // An empty Select means no language was chosen yet: the locale's.
    if (code.empty()) code = languageOfLocale(messageLocale);
    return LanguagePack(paths.runFolder, code, readSetting(ini, k::kCharset),
                        readSetting(ini, k::kTran) == "1", paths.dataFolder);
}

int runCheckSettingsCommand(const ProgramPaths& paths, const std::vector<std::string>& args,
                            std::ostream& out, std::ostream& err, std::string_view messageLocale) {
    if (args.size() != 1 || args.front().empty()) {
        err << "usage: tcmap check-settings <settings file>\n";
        return 2;
    }
    const std::string& file = args.front();
    const LanguagePack lang = commandLanguage(paths, messageLocale);
    const std::vector<std::string> warnings = settingsWarnings(file, lang);
    for (const std::string& warning : warnings) out << warning << '\n';
    if (warnings.empty()) out << safeFormat(lang.text(TextId::SettingsClean), {file}) << '\n';
    out.flush();
    return warnings.empty() ? 0 : 1;
}

}  // namespace tcmap
