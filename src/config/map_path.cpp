#include "config/map_path.h"

#include <filesystem>
#include <system_error>

#include "config/program_folders.h"
#include "config/settings_keys.h"

namespace tcmap {

std::string resolveMapPath(std::string_view path, std::string_view runFolder,
                           std::string_view dataFolder) {
    if (path.empty() || path.front() == '/') return std::string(path);
    return programFilePath(runFolder, dataFolder, path);
}

std::string bundledVectorWorldFor(std::string_view mapPath, std::string_view runFolder,
                                  std::string_view dataFolder) {
    if (mapPath.empty()) return {};
    const std::string bundled = resolveMapPath(settings::kBundledMap, runFolder, dataFolder);
    std::error_code error;
    if (mapPath != bundled &&
        !std::filesystem::equivalent(std::filesystem::path(mapPath), bundled, error)) {
        return {};
    }
    return programFilePath(runFolder, dataFolder, settings::kBundledVectorWorld);
}

}  // namespace tcmap
