#include "app/startup_state.h"

#include "base/text_rules.h"
#include "config/profile_store.h"
#include "config/program_folders.h"
#include "config/scratch_file.h"
#include "config/settings_keys.h"
#include "i18n/language_list.h"

namespace tcmap {

namespace {

std::string runFolderSettings(const std::string& runFolder) {
    return runFolder + "/" + std::string(kSettingsFileName);
}

}  // namespace

ProgramPaths programPaths(const ProgramFolders& folders) {
    ProgramPaths paths;
    paths.runFolder = folders.userFolder;
    paths.dataFolder = folders.dataFolder;
    paths.scratchRoot = folders.scratchRoot;
    paths.settingsPath = runFolderSettings(paths.runFolder);
    return paths;
}

void settleUserFolders(ProgramPaths& paths, const ProgramFolders& folders) {
    if (prepareUserFolders(folders)) return;
    // A home that cannot be written still draws with the shipped settings.
    if (paths.settingsPath == runFolderSettings(paths.runFolder) && !paths.dataFolder.empty()) {
        paths.settingsPath = paths.dataFolder + "/" + std::string(kSettingsFileName);
    }
}

std::string prepareScratchFile(const ProgramPaths& paths) {
    const std::string settings = runFolderSettings(paths.runFolder);
    deleteStaleTempFile(readSetting(settings, settings::kTmpName), paths.scratchHome());
    // Runs may share the run folder: the recorded name is only the last
    // one's, so every scratch file no live run holds goes too.
    sweepStaleScratchFiles(paths.scratchHome());
    std::string scratch = reserveScratchFile(paths.scratchHome());
    // A settings file that cannot be written only costs the clean-up of this
    // run's scratch file by the next run.
    ProfileStore::write(settings, settings::kTmpName.section, settings::kTmpName.key,
                        "\"" + scratch + "\"");
    return scratch;
}

LanguageChoice readLanguageChoice(const std::string& runFolder) {
    const std::string languageIni = languageIniPath(runFolder);
    LanguageChoice choice;
    choice.charset = readSetting(languageIni, language_settings::kCharset);
    choice.toBig5 = readSetting(languageIni, language_settings::kTran) == "1";
    choice.code = readSetting(languageIni, language_settings::kSelect);
    // An empty Select means no language was chosen yet; until the window's
    // first-run question is answered the default language is used.
    if (choice.code.empty()) choice.code = std::string(language_settings::kSelect.fallback);
    return choice;
}

LanguageChoice readLanguageChoice(const std::string& runFolder, std::string_view messageLocale) {
    LanguageChoice choice = readLanguageChoice(runFolder);
    if (languageChoicePending(runFolder)) choice.code = languageOfLocale(messageLocale);
    return choice;
}

std::string languageOfLocale(std::string_view messageLocale) {
    return messageLocale.substr(0, 2) == "zh" ? "zh-cn" : "en";
}

StyleChoice readStyleChoice(const std::string& settingsPath) {
    StyleChoice style;
    style.tcv = readInteger(readSetting(settingsPath, settings::kMode)) > 0;
    style.mapPath = readSetting(settingsPath, settings::kMap);
    style.mapPath1 = readSetting(settingsPath, settings::kMap1);
    return style;
}

std::string readLastDir(const std::string& settingsPath) {
    return readSetting(settingsPath, settings::kDir);
}

std::string programVersion() {
    return TCMAP_VERSION;
}

bool languageChoicePending(const std::string& runFolder) {
    const SettingKey& select = language_settings::kSelect;
    return ProfileStore::read(languageIniPath(runFolder), select.section, select.key, "").empty();
}

}  // namespace tcmap
