#include "base/locked_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace tcmap {

namespace {

constexpr int kCreateAttempts = 8;

bool sameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Whether `name` in `folderFd` is the file open at `fd`.
bool nameHolds(int fd, int folderFd, const std::string& name) {
    struct stat open {};
    struct stat named {};
    return ::fstat(fd, &open) == 0 &&
           ::fstatat(folderFd, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
           sameFile(open, named);
}

}  // namespace

bool lockAndConfirm(int fd, int folderFd, const std::string& name) {
    // A file system without locks still gets the file; it just cannot tell
    // a later clean-up that it is in use (the clean-up then keeps it too).
    while (::flock(fd, LOCK_EX) != 0 && errno == EINTR) {
    }
    return nameHolds(fd, folderFd, name);
}

int createLockedFile(int folderFd, const std::string& name, mode_t mode) {
    for (int attempt = 0; attempt < kCreateAttempts; ++attempt) {
        const int fd = ::openat(folderFd, name.c_str(),
                                O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd < 0) return -1;
        // Between the creation and the lock a clean-up may have taken the
        // unlocked file for a leftover and removed it.
        if (lockAndConfirm(fd, folderFd, name)) return fd;
        ::close(fd);
    }
    errno = EAGAIN;
    return -1;
}

bool removeIfUnlocked(int folderFd, const std::string& name) {
    const int fd = ::openat(folderFd, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat info {};
    bool removed = false;
    // Holding the lock while removing keeps an owner from taking the file
    // back in between; the name must still be the file locked.
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
        nameHolds(fd, folderFd, name)) {
        removed = ::unlinkat(folderFd, name.c_str(), 0) == 0;
    }
    ::close(fd);
    return removed;
}

}  // namespace tcmap
