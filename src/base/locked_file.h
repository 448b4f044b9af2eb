// Files that say whether a live process still owns them. The owner creates
// the file exclusively and holds an advisory lock (flock) on it for as long
// as it needs the file; the lock goes with the process, so a file whose lock
// can be taken belongs to nobody any more and may be removed.
#pragma once

#include <sys/types.h>

#include <string>

namespace tcmap {

// Creates `name` in the folder `folderFd` (O_EXCL, read-write, close-on-exec)
// and locks it. The descriptor, or -1 with errno set (EEXIST: the name is
// taken). A file removed by a clean-up between its creation and its lock is
// created again, so the file the descriptor holds is the one at the name.
int createLockedFile(int folderFd, const std::string& name, mode_t mode);

// Locks the open file `fd`, waiting for a clean-up that holds it, and checks
// that `name` in `folderFd` is still that file.
bool lockAndConfirm(int fd, int folderFd, const std::string& name);

// Removes the regular file `name` of `folderFd` when nobody holds its lock.
// Links, folders and held files are left alone. True when it was removed.
bool removeIfUnlocked(int folderFd, const std::string& name);

}  // namespace tcmap
