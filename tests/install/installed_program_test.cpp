// The installed program as a user meets it: `cmake --install` into a
// temporary DESTDIR, then the installed tcmap run by an unprivileged user
// with an empty home. It must draw with the shipped defaults, keep the user's
// files in the user's folders, write nothing under the prefix, and prefer the
// user's own GridData and map over the shipped ones.
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <string>

#include "base/file_io.h"
#include "render/canvas/picture.h"
#include "support/temp_folder.h"

using namespace tcmap;
using tcmap::testing::TempFolder;
namespace fs = std::filesystem;

namespace {

constexpr uint32_t kOwnMapColour = 0xFFFF00FF;   // magenta: no shipped map pixel is
constexpr uint32_t kOwnGridColour = 0xFF00FFFF;  // cyan: no shipped grid line is
const std::string kTrack = TCMAP_TEST_DATA_DIR "/batch/43.bal092017.dat";
const std::string kShippedData = TCMAP_SOURCE_DIR "/data";

// Path, size and modification time of everything below `folder`.
std::map<std::string, std::string> snapshot(const std::string& folder) {
    std::map<std::string, std::string> entries;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        struct stat info {};
        ::lstat(entry.path().c_str(), &info);
        entries[entry.path().string()] = std::to_string(info.st_size) + "@" +
                                         std::to_string(info.st_mtim.tv_sec) + "." +
                                         std::to_string(info.st_mtim.tv_nsec);
    }
    return entries;
}

int shell(const std::string& command) {
    const int status = std::system(command.c_str());
    return status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

struct PixelCounts {
    long ownMap = 0;
    long ownGrid = 0;
    long total = 0;
};

PixelCounts countPixels(const std::string& path) {
    Picture picture;
    PixelCounts counts;
    if (!picture.loadFile(path)) {
        ADD_FAILURE() << "no picture at " << path;
        return counts;
    }
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const uint32_t argb = picture.pixelArgb(x, y);
            counts.ownMap += argb == kOwnMapColour;
            counts.ownGrid += argb == kOwnGridColour;
        }
    }
    counts.total = static_cast<long>(picture.width()) * picture.height();
    return counts;
}

class InstalledProgram : public ::testing::Test {
  protected:
    void SetUp() override {
        if (::geteuid() != 0) {
            GTEST_SKIP() << "needs root: the installed program is run as the unprivileged user "
                            "'nobody' through setpriv";
        }
        const passwd* nobody = ::getpwnam("nobody");
        ASSERT_NE(nobody, nullptr) << "no user 'nobody'";
        uid_ = nobody->pw_uid;
        gid_ = nobody->pw_gid;

        ::chmod(work_.path().c_str(), 0755);
        prefix_ = work_.file("root/usr");
        ASSERT_EQ(shell("DESTDIR='" + work_.file("root") +
                        "' cmake --install '" TCMAP_BUILD_DIR "' --prefix /usr >'" +
                        work_.file("install.log") + "' 2>&1"),
                  0)
            << readFileOrEmpty(work_.file("install.log"));
        home_ = work_.file("home");
        fs::create_directories(home_);
        fs::create_directories(work_.file("out"));
        ASSERT_EQ(::chown(home_.c_str(), uid_, gid_), 0);
        ASSERT_EQ(::chown(work_.file("out").c_str(), uid_, gid_), 0);
        fs::copy_file(kTrack, work_.file("storm.dat"));
        // The same settings for both runs, so only the user's own files differ.
        work_.put("grid.ini", "[Borvane4]\nShowGrid=1\nMap=\"maps/world.png\"\n");
    }

    // Runs the installed tcmap as 'nobody' with only HOME and PATH set (and
    // the sanitizer options of a sanitizer build); `arguments` are quoted
    // for the shell. Standard output goes to stdout.txt, error to stderr.txt.
    int runInstalled(const std::string& arguments) {
        std::string environment = "HOME='" + home_ + "' PATH=/usr/bin:/bin";
        for (const char* name : {"ASAN_OPTIONS", "LSAN_OPTIONS", "UBSAN_OPTIONS"}) {
            if (const char* value = std::getenv(name)) {
                environment += std::string(" ") + name + "='" + value + "'";
            }
        }
        return shell(
            "setpriv --reuid=" + std::to_string(uid_) + " --regid=" + std::to_string(gid_) +
            " --clear-groups env -i " + environment + " '" + prefix_ + "/bin/tcmap' " + arguments +
            " >'" + work_.file("stdout.txt") + "' 2>'" + work_.file("stderr.txt") + "' </dev/null");
    }

    int runAsUser(const std::string& output) {
        return runInstalled("~nogui '" + work_.file("grid.ini") + "' '" + output + "' '" +
                            work_.file("storm.dat") + "'");
    }

    TempFolder work_;
    std::string prefix_;
    std::string home_;
    uid_t uid_ = 0;
    gid_t gid_ = 0;
};

TEST_F(InstalledProgram, DrawsFromTheUsersFoldersAndLeavesThePrefixAlone) {
    const std::string config = home_ + "/.config/tcmap";
    const auto before = snapshot(prefix_);

    const std::string first = work_.file("out/first.png");
    ASSERT_EQ(runAsUser(first), 0) << readFileOrEmpty(work_.file("stderr.txt"));
    const PixelCounts shipped = countPixels(first);
    EXPECT_GE(shipped.total, 1920L * 1080L);
    EXPECT_LT(shipped.ownMap, shipped.total / 100);
    EXPECT_EQ(shipped.ownGrid, 0);

    // First start: the defaults copied into the user's config folder,
    // nothing changed under the prefix. A batch run keeps no scratch file, so
    // it records none; its decoded map goes to the cache folder.
    EXPECT_EQ(readFileOrEmpty(config + "/Language.ini"),
              readFileOrEmpty(kShippedData + "/Language.ini"));
    const std::string settings = readFileOrEmpty(config + "/Settings.ini");
    EXPECT_NE(settings.find("Map=\"maps/world.png\""), std::string::npos);
    EXPECT_EQ(settings, readFileOrEmpty(kShippedData + "/Settings.ini"));
    EXPECT_FALSE(fs::exists(home_ + "/.cache/tcmap/temp"));
    size_t cacheFiles = 0;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(home_ + "/.cache/tcmap", error)) {
        cacheFiles += entry.path().extension() == ".pixels";
    }
    EXPECT_EQ(cacheFiles, 1u);
    EXPECT_EQ(snapshot(prefix_), before);

    // The user's own map and grid, beside their settings, win over the
    // shipped ones of the same name.
    fs::create_directories(config + "/maps");
    // The shipped map's size, so the frame matches the first run's.
    Picture ownMap;
    ASSERT_EQ(ownMap.create(7200, 3600, kOwnMapColour, kPngFormatId), 0);
    ASSERT_EQ(ownMap.save(config + "/maps/world.png", kPngFormatId), 0);
    std::string grid;
    for (int lon = 0; lon < 360; lon += 5) {
        const std::string at = std::to_string(lon);
        grid += at + "E|0/255/255/255/12/0|90/" + at + "/-90/" + at + "\n";
    }
    ASSERT_TRUE(writeFileReplacing(config + "/GridData", grid));

    const std::string second = work_.file("out/second.png");
    ASSERT_EQ(runAsUser(second), 0) << readFileOrEmpty(work_.file("stderr.txt"));
    const PixelCounts own = countPixels(second);
    EXPECT_GT(own.ownMap, own.total / 2);
    EXPECT_GT(own.ownGrid, 1000);
    EXPECT_EQ(snapshot(prefix_), before);
}

// An installed user has the sample settings files to copy: each one passes
// the settings check and draws as it is.
TEST_F(InstalledProgram, ShipsTheSampleSettingsFilesAndEachPassesTheCheck) {
    std::set<std::string> shipped, installed;
    for (const auto& entry : fs::directory_iterator(TCMAP_SOURCE_DIR "/samples")) {
        if (entry.path().extension() == ".ini") shipped.insert(entry.path().filename().string());
    }
    const std::string samples = prefix_ + "/share/tcmap/samples";
    for (const auto& entry : fs::directory_iterator(samples)) {
        installed.insert(entry.path().filename().string());
    }
    EXPECT_GE(shipped.size(), 5u);
    EXPECT_EQ(installed, shipped);

    for (const std::string& name : installed) {
        const std::string sample = samples + "/" + name;
        EXPECT_EQ(readFileOrEmpty(sample), readFileOrEmpty(TCMAP_SOURCE_DIR "/samples/" + name));
        EXPECT_EQ(runInstalled("check-settings '" + sample + "'"), 0)
            << name << ": " << readFileOrEmpty(work_.file("stdout.txt"))
            << readFileOrEmpty(work_.file("stderr.txt"));
    }
    // The check reads a settings file and writes nothing, not even the
    // user's folders.
    EXPECT_FALSE(fs::exists(home_ + "/.config"));

    const std::string out = work_.file("out/sample.png");
    ASSERT_EQ(runInstalled("~nogui '" + samples + "/wendrel.ini' '" + out + "' '" +
                           work_.file("storm.dat") + "'"),
              0)
        << readFileOrEmpty(work_.file("stderr.txt"));
    EXPECT_GT(countPixels(out).total, 0);
}

}  // namespace
