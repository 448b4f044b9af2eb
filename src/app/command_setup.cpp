#include "app/command_setup.h"

#include <filesystem>

#include "app/settings_warnings.h"
#include "app/startup_state.h"
#include "base/file_io.h"
#include "base/text_rules.h"
#include "config/annotation_settings.h"
#include "config/job_settings.h"
#include "config/map_path.h"
#include "config/settings_check.h"
#include "i18n/language_pack.h"

namespace tcmap {

namespace {

namespace k = settings;

// The first problem of one key=value as a settings file would have it, in
// the words of the settings check, or "" when it is accepted.
std::string checkOneSetting(const std::string& label, const std::string& section,
                            const std::string& key, const std::string& value,
                            const LanguagePack& lang) {
    const std::string text = "[" + section + "]\n" + key + "=" + value + "\n";
    for (SettingsProblem problem : checkSettingsText(text)) {
        problem.line = 0;
        return settingsWarning(label, problem, lang);
    }
    return {};
}

std::string absolutePath(const std::string& path) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute.string();
}

}  // namespace

std::vector<SettingOverride> drawCommandDefaults() {
    // A product that `draw` shows by default and batch mode does not gets its
    // key here: the map's annotations, and the forecaster's map (one cycle,
    // its cone, the swath).
    std::vector<SettingOverride> defaults;
    addAnnotationDefaults(defaults);
    auto entry = [](const SettingKey& key, std::string value) {
        return SettingOverride{std::string(key.section), std::string(key.key), std::move(value)};
    };
    for (SettingOverride forecast :
         {entry(k::kForecastCycle, "latest"), entry(k::kCone, "1"), entry(k::kSwath, "1")})
        defaults.push_back(std::move(forecast));
    return defaults;
}

std::string installedSettingsPath(const ProgramPaths& paths) {
    const std::string& folder = paths.dataFolder.empty() ? paths.runFolder : paths.dataFolder;
    return folder + "/" + std::string(kSettingsFileName);
}

std::variant<CommandSetup, std::string> settleCommand(const CommandOptions& options,
                                                      CommandName command,
                                                      const ProgramPaths& paths,
                                                      const std::string& messageLocale) {
    CommandSetup setup;
    setup.paths = paths;
    // Language first: the settings check speaks it.
    setup.language = readLanguageChoice(paths.runFolder, messageLocale);
    if (!options.language.empty()) {
        const std::string lower = toLowerAscii(options.language);
        // A code names a file of the data folder, never a path.
        const bool plain =
            lower.find_first_not_of("abcdefghijklmnopqrstuvwxyz-_") == std::string::npos;
        if (!plain || !isRegularFile(paths.programFile(lower + ".lang"))) {
            return "--lang " + options.language + ": no language file " + lower +
                   ".lang; accepted: en, zh-cn";
        }
        setup.language.code = lower;
    }
    const LanguagePack lang(paths, setup.language);

    if (!options.settingsFile.empty()) {
        if (!isRegularFile(options.settingsFile)) {
            return "--settings " + options.settingsFile +
                   ": no such settings file; accepted: an existing settings file";
        }
        setup.paths.settingsPath = options.settingsFile;
    } else {
        setup.paths.settingsPath = installedSettingsPath(paths);
    }
    setup.settings.path = setup.paths.settingsPath;
    if (command == CommandName::Draw) {
        for (const SettingOverride& entry : drawCommandDefaults()) {
            setup.settings.set(entry.section, entry.key, entry.value);
        }
    }
    for (const SettingOverride& entry : options.sets) {
        const std::string label = "--set " + entry.section + "." + entry.key + "=" + entry.value;
        if (std::string error = checkOneSetting(label, entry.section, entry.key, entry.value, lang);
            !error.empty()) {
            return error;
        }
        setup.settings.set(entry.section, entry.key, entry.value);
    }
    setup.style.tcv = readInteger(setup.settings.read(k::kMode)) > 0;
    for (const NamedSetting& named : options.named) {
        const SettingKey& key = setup.style.tcv ? *named.tcv : *named.wendrel;
        const std::string label = named.option + " " + named.value;
        if (std::string error = checkOneSetting(label, std::string(key.section),
                                                std::string(key.key), named.value, lang);
            !error.empty()) {
            return error;
        }
        setup.settings.set(key.section, key.key, named.value);
    }
    if (!options.mapFile.empty()) {
        if (!isRegularFile(options.mapFile)) {
            return "--map " + options.mapFile + ": no such file; accepted: a PNG, JPEG or BMP map";
        }
        const SettingKey& key = setup.style.tcv ? k::kMap1 : k::kMap;
        setup.settings.set(key.section, key.key, absolutePath(options.mapFile));
    }
    setup.style.mapPath = setup.settings.read(k::kMap);
    setup.style.mapPath1 = setup.settings.read(k::kMap1);

    setup.mode = options.mode.value_or(options.regionGiven ? DrawMode::Regional : DrawMode::Normal);
    if (setup.mode == DrawMode::Regional) {
        setup.region = splitText(setup.settings.read(k::kRegionSelect), ",");
        if (setup.region.size() != 4) {
            return "--mode region: the region " + setup.settings.read(k::kRegionSelect) +
                   " of the settings is not four parts; give --region N,W,LAT,LON";
        }
    }
    return setup;
}

DrawRequest commandDrawRequest(const CommandSetup& setup) {
    DrawRequest request;
    request.style = setup.style.tcv ? RenderStyle::Tcv : RenderStyle::Wendrel;
    request.mode = setup.mode;
    request.region = setup.region;
    request.settings = readJobSettings(setup.settings, setup.style.tcv);
    request.mapPath =
        resolveMapPath(setup.style.map(), setup.paths.runFolder, setup.paths.dataFolder);
    request.vectorWorldPath =
        bundledVectorWorldFor(request.mapPath, setup.paths.runFolder, setup.paths.dataFolder);
    request.gridDataPath = setup.paths.programFile("GridData");
    request.coneRadiiPath = setup.paths.programFile("forecast/cone_radii.csv");
    request.language = LanguagePack(setup.paths, setup.language);
    request.textLanguage = setup.language.code;
    return request;
}

}  // namespace tcmap
