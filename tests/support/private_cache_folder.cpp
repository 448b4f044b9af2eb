// Linked into every test program: the map cache of the program under test,
// and of every tcmap process it starts, goes to a fresh folder removed at
// exit, never to the developer's own cache folder.
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <string>

namespace {

class PrivateCacheFolder {
  public:
    PrivateCacheFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "tcmap-cache-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            ::setenv("TCMAP_NO_CACHE", "1", 1);  // no private folder: no cache at all
            return;
        }
        path_ = pattern;
        ::setenv("XDG_CACHE_HOME", path_.c_str(), 1);
    }
    ~PrivateCacheFolder() {
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }

  private:
    std::string path_;
};

const PrivateCacheFolder privateCacheFolder;

}  // namespace
