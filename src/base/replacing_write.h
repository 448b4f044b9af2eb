// One replacement of a file's content that a crash or a kill cannot leave
// half done: the new bytes go into an unnamed file in the same folder (on file
// systems without unnamed files, a locked file with a recognisable name),
// reach the disk, and take the file's name in one rename. Until then the old
// file stays whole.
#pragma once

#include <string>
#include <string_view>

namespace tcmap {

class ReplacingWrite {
  public:
    // `name` is a file of the open folder `folderFd`, which stays open for
    // the write's life.
    ReplacingWrite(int folderFd, std::string name);

    // Removes what a killed write of this name left in the folder: its
    // temporary files whose lock nobody holds any more.
    void sweepLeftovers() const;

    // Writes `bytes` and renames them over the name. False with errno set
    // when any step fails; the old file is then untouched.
    bool run(std::string_view bytes);

  private:
    bool runUnnamed(std::string_view bytes);
    bool runNamed(std::string_view bytes);
    bool fill(int fd, std::string_view bytes) const;
    std::string freshPartName();
    std::string partPrefix() const;

    int folderFd_;
    std::string name_;
};

// Whether `entry` is a temporary file of a replacing write of `name`.
bool isLeftoverOf(std::string_view entry, std::string_view name);

}  // namespace tcmap
