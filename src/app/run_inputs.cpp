#include "app/run_inputs.h"

#include <dirent.h>

#include <string_view>

#include "config/map_path.h"

namespace tcmap {

namespace {

// The folders whose every file the program may read as data.
constexpr const char* kDataSubfolders[] = {"maps", "forecast"};

// Regular entries of `folder` whose names end in `suffix` ("" for all).
void addFilesOf(const std::string& folder, std::string_view suffix, const std::string& what,
                std::vector<RunInput>& inputs) {
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) return;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name == "." || name == ".." || !name.ends_with(suffix)) continue;
        inputs.push_back({folder + "/" + std::string(name), what});
    }
    ::closedir(dir);
}

}  // namespace

std::vector<RunInput> runInputs(const ProgramPaths& paths, const StyleChoice& style) {
    std::vector<RunInput> inputs = {
        {paths.settingsPath, "the settings file"},
        {paths.runFolder + "/Language.ini", "the language choice"},
        {paths.programFile("GridData"), "the grid data"},
        {paths.programFile("fonts.conf"), "the font aliases"},
        {resolveMapPath(style.mapPath, paths.runFolder, paths.dataFolder), "the map picture"},
        {resolveMapPath(style.mapPath1, paths.runFolder, paths.dataFolder), "the map picture"},
        {"/proc/self/exe", "the program itself"},
    };
    std::vector<std::string> folders = {paths.runFolder};
    if (!paths.dataFolder.empty() && paths.dataFolder != paths.runFolder)
        folders.push_back(paths.dataFolder);
    for (const std::string& folder : folders) {
        addFilesOf(folder, ".lang", "a language file", inputs);
        for (const char* data : kDataSubfolders)
            addFilesOf(folder + "/" + data, "", "a data file of the program", inputs);
    }
    return inputs;
}

}  // namespace tcmap
