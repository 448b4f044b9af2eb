// Linked into every test program: the map cache of the program under test,
// and of every tcmap process it starts, goes to a fresh folder removed at
// exit, never to the developer's own cache folder. A child that runs this
// test program again (a death test, a run as another user) uses its parent's
// folder when it may write there, since such a child often ends with _exit
// and would leave a folder of its own behind.
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <string>

namespace {

constexpr const char* kOwnerVariable = "TCMAP_TEST_CACHE_FOLDER";

class PrivateCacheFolder {
  public:
    PrivateCacheFolder() {
        if (const char* inherited = ::getenv(kOwnerVariable)) {
            const std::string cache = ::getenv("XDG_CACHE_HOME") ? ::getenv("XDG_CACHE_HOME") : "";
            if (cache == inherited && ::access(inherited, W_OK | X_OK) == 0) return;
        }
        std::string pattern =
            (std::filesystem::temp_directory_path() / "tcmap-cache-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            ::setenv("TCMAP_NO_CACHE", "1", 1);  // no private folder: no cache at all
            return;
        }
        path_ = pattern;
        ::setenv("XDG_CACHE_HOME", path_.c_str(), 1);
        ::setenv(kOwnerVariable, path_.c_str(), 1);
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
