#include "base/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "base/replacing_write.h"

namespace tcmap {

bool writeToDescriptor(int fd, std::string_view bytes) {
    size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        written += static_cast<size_t>(n);
    }
    return true;
}

std::optional<std::string> readFileBytes(const std::string& path) {
    if (path.empty()) return std::nullopt;
    // O_NONBLOCK keeps a FIFO from blocking the open; fstat then refuses it.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return std::nullopt;
    }
    std::string bytes;
    if (info.st_size > 0) bytes.reserve(static_cast<size_t>(info.st_size));
    char buffer[1 << 16];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            ::close(fd);
            return std::nullopt;
        }
        if (n == 0) break;
        bytes.append(buffer, static_cast<size_t>(n));
    }
    ::close(fd);
    return bytes;
}

std::string readFileOrEmpty(const std::string& path) {
    auto bytes = readFileBytes(path);
    return bytes ? std::move(*bytes) : std::string();
}

int64_t fileSize(const std::string& path) {
    struct stat info {};
    if (path.empty() || ::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return -1;
    return static_cast<int64_t>(info.st_size);
}

bool isRegularFile(const std::string& path) {
    struct stat info {};
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool pathExists(const std::string& path) {
    struct stat info {};
    return !path.empty() && ::stat(path.c_str(), &info) == 0;
}

bool writeFileAtomically(const std::string& path, std::string_view bytes) {
    const size_t slash = path.rfind('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (name.empty()) {
        errno = path.empty() ? ENOENT : EISDIR;
        return false;
    }
    const std::string folder =
        slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
    // Read access lets the leftovers be swept; without it the write still works.
    int folderFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd < 0) folderFd = ::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (folderFd < 0) return false;

    ReplacingWrite write(folderFd, name);
    write.sweepLeftovers();
    const bool ok = write.run(bytes);
    const int error = errno;
    ::close(folderFd);
    errno = error;
    return ok;
}

bool writeFileReplacing(const std::string& path, std::string_view bytes) {
    if (path.empty()) return false;
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    const bool ok = writeToDescriptor(fd, bytes);
    return ::close(fd) == 0 && ok;
}

std::string folderOf(std::string_view path) {
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash));
}

std::string nameOf(std::string_view path) {
    const size_t slash = path.find_last_of("/\\");
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

}  // namespace tcmap
