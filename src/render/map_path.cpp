#include "render/map_path.h"

namespace tcmap {

std::string resolveMapPath(std::string_view path, std::string_view runFolder) {
    if (path.empty() || path.front() == '/') return std::string(path);
    std::string resolved(runFolder);
    resolved += '/';
    resolved += path;
    return resolved;
}

}  // namespace tcmap
