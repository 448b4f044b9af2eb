#include "config/run_folder.h"

#include <unistd.h>

#include <array>
#include <climits>

namespace tcmap {

std::string runFolder() {
    std::array<char, PATH_MAX + 1> buffer{};
    const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    // A result that fills the buffer may have been cut short.
    if (length <= 0 || static_cast<size_t>(length) >= buffer.size()) return ".";
    const std::string exe(buffer.data(), static_cast<size_t>(length));
    const size_t slash = exe.rfind('/');
    if (slash == std::string::npos) return ".";
    return exe.substr(0, slash);
}

}  // namespace tcmap
