#include "config/program_folders.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "base/file_io.h"
#include "config/program_paths.h"
#include "config/settings_keys.h"

namespace tcmap {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kProgramName = "tcmap";
// The data folder of an installed program, from the executable's folder, so
// an install into any prefix finds its files.
constexpr std::string_view kDataFromExecutable = "../share/tcmap";

std::string joined(std::string_view folder, std::string_view name) {
    std::string path(folder);
    path += '/';
    path += name;
    return path;
}

bool isFolder(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// An XDG base folder: the variable when it holds an absolute path, else the
// fallback below the home folder.
std::string xdgFolder(const EnvironmentLookup& environment, const char* variable,
                      const std::string& home, std::string_view homeRelative) {
    const std::string value = environment(variable);
    if (!value.empty() && value.front() == '/') return value;
    if (home.empty()) return "";
    return joined(home, homeRelative);
}

bool copyIfMissing(const std::string& from, const std::string& to) {
    if (pathExists(to)) return true;
    const std::optional<std::string> bytes = readFileBytes(from);
    return bytes && writeFileAtomically(to, *bytes);
}

}  // namespace

std::string processEnvironment(const char* name) {
    if (const char* value = std::getenv(name); value != nullptr && *value != '\0') return value;
    if (std::string_view(name) == "HOME") {
        if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_dir) {
            return entry->pw_dir;
        }
    }
    return "";
}

EnvironmentOptions readEnvironmentOptions(const EnvironmentLookup& environment) {
    EnvironmentOptions options;
    options.printTimings = environment("TCMAP_TIMINGS") == "1";
    options.killTestHooks.holdWrite = environment("TCMAP_TEST_HOLD_WRITE");
    options.killTestHooks.noUnnamedFiles = environment("TCMAP_TEST_NO_TMPFILE") == "1";
    const std::string pixelLimit = environment("TCMAP_MAP_PIXEL_LIMIT");
    if (!pixelLimit.empty() && pixelLimit.size() <= 15 &&
        pixelLimit.find_first_not_of("0123456789") == std::string::npos) {
        options.mapPixelLimit = std::stoll(pixelLimit);
    }
    const std::string fifoWait = environment("TCMAP_FIFO_WAIT_MS");
    if (!fifoWait.empty() && fifoWait.size() <= 9 &&
        fifoWait.find_first_not_of("0123456789") == std::string::npos) {
        options.fifoWait = std::chrono::milliseconds(std::stol(fifoWait));
    }
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        options.messageLocale = environment(name);
        if (!options.messageLocale.empty()) break;
    }
    return options;
}

ProgramFolders findProgramFolders(const std::string& executableFolder,
                                  const EnvironmentLookup& environment) {
    ProgramFolders folders;
    folders.executableFolder = executableFolder;
    const std::string home = environment("HOME");
    const std::string cacheBase = xdgFolder(environment, "XDG_CACHE_HOME", home, ".cache");
    const std::string cache = cacheBase.empty() ? "" : joined(cacheBase, kProgramName);
    // Decoded maps are kept only under an absolute folder, and not at all
    // when TCMAP_NO_CACHE asks so.
    const std::string noCache = environment("TCMAP_NO_CACHE");
    if ((noCache.empty() || noCache == "0") && cache.starts_with('/')) folders.cacheFolder = cache;

    const std::string runFolderPath = executableFolder.empty() ? "/" : executableFolder;
    folders.portable = isRegularFile(joined(executableFolder, kSettingsFileName)) &&
                       ::access(runFolderPath.c_str(), W_OK) == 0;
    if (folders.portable) {
        folders.userFolder = executableFolder;
        folders.dataFolder = executableFolder;
        folders.scratchRoot = executableFolder;
        return folders;
    }

    // A run folder that only lacks write access (a build folder of another
    // user) still serves as the data folder.
    const std::string shared =
        fs::path(joined(executableFolder, kDataFromExecutable)).lexically_normal().string();
    folders.dataFolder = isFolder(shared) ? shared : executableFolder;

    const std::string configBase = xdgFolder(environment, "XDG_CONFIG_HOME", home, ".config");
    // Without any home the settings cannot be kept; the data folder's are read.
    folders.userFolder = configBase.empty() ? folders.dataFolder : joined(configBase, kProgramName);

    const std::string runtime = environment("XDG_RUNTIME_DIR");
    if (!runtime.empty() && runtime.front() == '/') {
        folders.scratchRoot = joined(runtime, kProgramName);
    } else {
        folders.scratchRoot = cache.empty() ? "/tmp" : cache;
    }
    return folders;
}

std::string programFilePath(std::string_view userFolder, std::string_view dataFolder,
                            std::string_view name) {
    std::string own = joined(userFolder, name);
    if (dataFolder.empty() || dataFolder == userFolder || pathExists(own)) return own;
    std::string shipped = joined(dataFolder, name);
    return pathExists(shipped) ? shipped : own;
}

std::string ProgramPaths::programFile(std::string_view name) const {
    return programFilePath(runFolder, dataFolder, name);
}

bool prepareUserFolders(const ProgramFolders& folders) {
    const std::string userSettings = joined(folders.userFolder, kSettingsFileName);
    if (folders.portable || folders.userFolder == folders.dataFolder) {
        return isRegularFile(userSettings);
    }
    std::error_code ignored;
    fs::create_directories(folders.userFolder, ignored);
    // The scratch picture is the user's own: nobody else lists or reads it.
    if (fs::create_directories(folders.scratchRoot, ignored)) {
        fs::permissions(folders.scratchRoot, fs::perms::owner_all, ignored);
    }
    copyIfMissing(joined(folders.dataFolder, kLanguageFileName),
                  joined(folders.userFolder, kLanguageFileName));
    return copyIfMissing(joined(folders.dataFolder, kSettingsFileName), userSettings);
}

std::string describeProgramFolders(const ProgramFolders& folders) {
    std::string text;
    const auto line = [&text](std::string_view label, std::string_view value) {
        text += label;
        text += ": ";
        text += value;
        text += '\n';
    };
    line("mode", folders.portable ? "portable" : "installed");
    line("settings", joined(folders.userFolder, kSettingsFileName));
    line("language settings", joined(folders.userFolder, kLanguageFileName));
    line("user folder", folders.userFolder);
    line("data folder", folders.dataFolder);
    line("scratch folder", joined(folders.scratchRoot, kTempFolderName));
    line("cache folder", folders.cacheFolder.empty() ? "none" : folders.cacheFolder);
    return text;
}

}  // namespace tcmap
