#include "app/startup_state.h"

#include "base/text_rules.h"
#include "config/app_state.h"
#include "config/profile_store.h"
#include "config/program_folders.h"
#include "config/scratch_file.h"
#include "config/settings_keys.h"
#include "i18n/language_list.h"

namespace tcmap {

namespace {

std::string runFolderSettings(const AppState& app) {
    return app.runFolder + "/" + std::string(kSettingsFileName);
}

}  // namespace

void setRunDefaults(AppState& app, const std::string& runFolder) {
    app.runFolder = runFolder;
    app.settingsPath = runFolderSettings(app);
    app.dashPattern = {3.0f, 3.0f};
}

void setRunDefaults(AppState& app, const ProgramFolders& folders) {
    setRunDefaults(app, folders.userFolder);
    app.dataFolder = folders.dataFolder;
    app.scratchRoot = folders.scratchRoot;
}

void settleUserFolders(AppState& app, const ProgramFolders& folders) {
    if (prepareUserFolders(folders)) return;
    // A home that cannot be written still draws with the shipped settings.
    if (app.settingsPath == runFolderSettings(app) && !app.dataFolder.empty()) {
        app.settingsPath = app.dataFolder + "/" + std::string(kSettingsFileName);
    }
}

void prepareScratchFile(AppState& app) {
    const std::string settings = runFolderSettings(app);
    app.tempFilePath = readSetting(settings, settings::kTmpName);
    deleteStaleTempFile(app.tempFilePath, app.scratchHome());
    // Runs may share the run folder: the recorded name is only the last
    // one's, so every scratch file no live run holds goes too.
    sweepStaleScratchFiles(app.scratchHome());
    app.tempFilePath = reserveScratchFile(app.scratchHome());
    // A settings file that cannot be written only costs the clean-up of this
    // run's scratch file by the next run.
    ProfileStore::write(settings, settings::kTmpName.section, settings::kTmpName.key,
                        "\"" + app.tempFilePath + "\"");
}

void readStartupSettings(AppState& app) {
    app.lastDir = readSetting(app.settingsPath, settings::kDir);

    const std::string languageIni = languageIniPath(app.runFolder);
    app.langCharset = readSetting(languageIni, language_settings::kCharset);
    app.langToBig5 = readSetting(languageIni, language_settings::kTran) == "1";
    app.langCode = readSetting(languageIni, language_settings::kSelect);
    // An empty Select means no language was chosen yet; until the window's
    // first-run question is answered the default language is used.
    if (app.langCode.empty()) app.langCode = std::string(language_settings::kSelect.fallback);

    app.styleIsTcv = readInteger(readSetting(app.settingsPath, settings::kMode)) > 0;
    app.mapPath = readSetting(app.settingsPath, settings::kMap);
    app.mapPath1 = readSetting(app.settingsPath, settings::kMap1);
    app.programVersion = TCMAP_VERSION;
}

bool languageChoicePending(const std::string& runFolder) {
    const SettingKey& select = language_settings::kSelect;
    return ProfileStore::read(languageIniPath(runFolder), select.section, select.key, "").empty();
}

}  // namespace tcmap
