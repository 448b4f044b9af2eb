#include "app/draw_setup.h"

#include "config/job_settings.h"
#include "config/map_path.h"
#include "i18n/language_pack.h"

namespace tcmap {

DrawRequest makeDrawRequest(const ProgramPaths& paths, const LanguageChoice& language,
                            const StyleChoice& style, DrawMode mode) {
    DrawRequest request;
    request.style = style.tcv ? RenderStyle::Tcv : RenderStyle::Wendrel;
    request.mode = mode;
    request.settings = readJobSettings(paths.settingsPath, style.tcv);
    request.mapPath = resolveMapPath(style.map(), paths.runFolder, paths.dataFolder);
    request.vectorWorldPath =
        bundledVectorWorldFor(request.mapPath, paths.runFolder, paths.dataFolder);
    request.gridDataPath = paths.programFile("GridData");
    request.coneRadiiPath = paths.programFile("forecast/cone_radii.csv");
    request.language = LanguagePack(paths, language);
    request.textLanguage = language.code;
    return request;
}

std::vector<TrackInput> trackFileInputs(const std::vector<std::string>& files) {
    std::vector<TrackInput> inputs;
    inputs.reserve(files.size());
    for (const std::string& file : files) inputs.push_back(TrackInput{file, nullptr});
    return inputs;
}

}  // namespace tcmap
