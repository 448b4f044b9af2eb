#include "render/canvas/font_aliases.h"

#include <fontconfig/fontconfig.h>

#include <mutex>

#include "base/file_io.h"

namespace tcmap {

bool loadFontAliases(const std::string& runFolder) {
    static std::mutex mutex;
    static bool loaded = false;
    const std::lock_guard lock(mutex);
    if (loaded) return true;
    const std::string path = runFolder.empty() ? "fonts.conf" : runFolder + "/fonts.conf";
    if (!isRegularFile(path)) return false;
    FcConfig* config = FcConfigGetCurrent();
    if (!config) return false;
    loaded = FcConfigParseAndLoad(config, reinterpret_cast<const FcChar8*>(path.c_str()), FcTrue) ==
             FcTrue;
    return loaded;
}

}  // namespace tcmap
