#include "config/scratch_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>

#include "base/text_rules.h"
#include "config/settings_keys.h"

namespace tcmap {

namespace {

std::atomic<uint64_t> scratchRequests{0};

std::string tempFolderOf(const std::string& runFolder) {
    return runFolder + "/" + std::string(kTempFolderName);
}

std::string hexText(uint64_t number) {
    char text[24];
    std::snprintf(text, sizeof text, "%llx", static_cast<unsigned long long>(number));
    return text;
}

// Anything at the path counts as taken, a dangling link included.
bool nameTaken(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

}  // namespace

std::string newScratchName(const std::string& runFolder) {
    const std::string folder = tempFolderOf(runFolder);
    ::mkdir(folder.c_str(), 0755);

    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    const auto milliseconds = std::chrono::duration_cast<std::chrono::milliseconds>(now).count();
    uint64_t number = static_cast<uint64_t>(milliseconds) + scratchRequests.fetch_add(1) + 1;
    std::string path = folder + "/" + hexText(number) + ".tmp";
    while (nameTaken(path)) path = folder + "/" + hexText(++number) + ".tmp";
    return path;
}

void deleteStaleTempFile(const std::string& path, const std::string& runFolder) {
    if (path.empty() || toLowerAscii(lastChars(path, 4)) != ".tmp") return;
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return;
    const std::string folder = slash == 0 ? "/" : path.substr(0, slash);
    const std::string name = path.substr(slash + 1);

    // The named folder must be the temp folder itself, however it is spelt:
    // compare the folders' identities, then check and delete through the one
    // opened folder so nothing can be swapped in between.
    struct stat tempInfo {};
    if (::stat(tempFolderOf(runFolder).c_str(), &tempInfo) != 0 || !S_ISDIR(tempInfo.st_mode)) {
        return;
    }
    const int folderFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd < 0) return;
    struct stat folderInfo {};
    struct stat fileInfo {};
    if (::fstat(folderFd, &folderInfo) == 0 && folderInfo.st_dev == tempInfo.st_dev &&
        folderInfo.st_ino == tempInfo.st_ino &&
        ::fstatat(folderFd, name.c_str(), &fileInfo, AT_SYMLINK_NOFOLLOW) == 0 &&
        S_ISREG(fileInfo.st_mode)) {
        ::unlinkat(folderFd, name.c_str(), 0);
    }
    ::close(folderFd);
}

}  // namespace tcmap
