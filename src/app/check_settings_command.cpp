#include "app/check_settings_command.h"

#include "app/settings_warnings.h"
#include "config/app_state.h"
#include "config/program_folders.h"
#include "config/settings_keys.h"
#include "i18n/language_pack.h"
#include "i18n/safe_format.h"

namespace tcmap {

LanguagePack commandLanguage(const AppState& app) {
    namespace k = language_settings;
    // An installed program's first run has no Language.ini of the user yet.
    const std::string ini = programFilePath(app, kLanguageFileName);
    std::string code = readSetting(ini, k::kSelect);
    // An empty Select means no language was chosen yet: the default.
    if (code.empty()) code = std::string(k::kSelect.fallback);
    return LanguagePack(app.runFolder, code, readSetting(ini, k::kCharset),
                        readSetting(ini, k::kTran) == "1", app.dataFolder);
}

int runCheckSettingsCommand(const AppState& app, const std::vector<std::string>& args,
                            std::ostream& out, std::ostream& err) {
    if (args.size() != 1 || args.front().empty()) {
        err << "usage: tcmap check-settings <settings file>\n";
        return 2;
    }
    const std::string& file = args.front();
    const LanguagePack lang = commandLanguage(app);
    const std::vector<std::string> warnings = settingsWarnings(file, lang);
    for (const std::string& warning : warnings) out << warning << '\n';
    if (warnings.empty()) out << safeFormat(lang.text(TextId::SettingsClean), {file}) << '\n';
    out.flush();
    return warnings.empty() ? 0 : 1;
}

}  // namespace tcmap
