// A private run folder for a test that runs the real program: the built
// executable beside fresh copies of the shipped data files (language files,
// default Settings.ini and Language.ini, GridData, fonts, maps) in a temporary
// folder. The program finds its run folder from its own path, so each test
// sees only its own settings and temp/ folder, never the build's run folder,
// a developer's choices or another test running beside it.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

namespace tcmap::testing {

class PrivateRunFolder {
  public:
    PrivateRunFolder() {
        namespace fs = std::filesystem;
        std::string pattern = (fs::temp_directory_path() / "tcmap-run-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            ADD_FAILURE() << "mkdtemp failed";
            return;
        }
        path_ = pattern;
        std::error_code error;
        fs::copy(TCMAP_SOURCE_DIR "/data", path_, fs::copy_options::recursive, error);
        if (error) ADD_FAILURE() << "cannot copy the data files: " << error.message();
        // A hard link costs nothing on the same file system; a copy otherwise.
        fs::create_hard_link(TCMAP_EXECUTABLE, executable(), error);
        if (error) fs::copy_file(TCMAP_EXECUTABLE, executable(), error);
        if (error) ADD_FAILURE() << "cannot place the executable: " << error.message();
    }
    ~PrivateRunFolder() {
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }
    PrivateRunFolder(const PrivateRunFolder&) = delete;
    PrivateRunFolder& operator=(const PrivateRunFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string executable() const { return path_ + "/tcmap"; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

  private:
    std::string path_;
};

}  // namespace tcmap::testing
