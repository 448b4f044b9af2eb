#include "config/map_path.h"

#include "config/program_folders.h"

namespace tcmap {

std::string resolveMapPath(std::string_view path, std::string_view runFolder,
                           std::string_view dataFolder) {
    if (path.empty() || path.front() == '/') return std::string(path);
    return programFilePath(runFolder, dataFolder, path);
}

}  // namespace tcmap
