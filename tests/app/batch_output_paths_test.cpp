// The output path of a batch run is not always a plain file: devices and
// FIFOs are written through, links lead to their targets, folders and the
// run's own inputs are refused, and a failure report that could not be
// written is never claimed.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include <zlib.h>

#include "app/unexpected_error.h"
#include "base/file_io.h"
#include "render/canvas/picture.h"
#include "support/plain_map.h"
#include "support/private_run_folder.h"
#include "support/tcmap_process.h"
#include "support/temp_folder.h"

using namespace tcmap;
using tcmap::testing::kCannotDropOverride;
using tcmap::testing::PrivateRunFolder;
using tcmap::testing::TcmapOptions;
using tcmap::testing::TcmapProcess;
using tcmap::testing::TempFolder;
using tcmap::testing::writePlainMap;

namespace {

const std::string kStorm = TCMAP_TEST_DATA_DIR "/track/atcf/bwp022014.dat";

struct Outcome {
    int exitCode;
    std::string err;
};

class BatchOutputPaths : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(writePlainMap(folder.file("map.png")));
        settings = folder.put("s.ini", "[Borvane4]\nMode=0\nMap=\"" + folder.file("map.png") +
                                           "\"\nWidth=300\nHeight=200\n");
    }

    Outcome draw(const std::string& out, TcmapOptions options = {},
                 const std::string& track = kStorm) {
        options.stderrPath = logs.file("err.txt");
        TcmapProcess process(run, {"~nogui", settings, out, track}, options);
        const int code = process.wait();
        return {code, process.err()};
    }

    // A device node of our own when root may make one, so a fault can never
    // replace the system's; the system's otherwise (only root could replace it).
    std::string device(const std::string& name, unsigned minor, const std::string& system) {
        const std::string path = folder.file(name);
        if (::geteuid() == 0 && ::mknod(path.c_str(), S_IFCHR | 0666, ::makedev(1, minor)) == 0)
            return path;
        return system;
    }

    static bool isPng(const std::string& bytes) {
        return bytes.size() > 8 && bytes.substr(1, 3) == "PNG";
    }

    PrivateRunFolder run;
    TempFolder folder;
    TempFolder logs;
    std::string settings;
};

bool isCharacterDevice(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && S_ISCHR(info.st_mode);
}

}  // namespace

TEST_F(BatchOutputPaths, DevicesAndStandardOutputAreWrittenThrough) {
    const std::string null = device("null", 3, "/dev/null");
    const Outcome toNull = draw(null);
    EXPECT_EQ(toNull.exitCode, 0) << toNull.err;
    EXPECT_TRUE(isCharacterDevice(null));

    // "-" and /dev/stdout are the process's standard output.
    for (const std::string& out : {std::string("-"), std::string("/dev/stdout")}) {
        TcmapOptions options;
        options.stdoutPath = logs.file("stdout.png");
        const Outcome toStdout = draw(out, options);
        EXPECT_EQ(toStdout.exitCode, 0) << out << ": " << toStdout.err;
        EXPECT_TRUE(isPng(readFileOrEmpty(logs.file("stdout.png")))) << out;
    }

    // A full device: the run says the report could not be written, and why.
    const std::string full = device("full", 7, "/dev/full");
    const Outcome toFull = draw(full);
    EXPECT_EQ(toFull.exitCode, 1);
    EXPECT_NE(toFull.err.find("the failure report could not be written to " + full +
                              ": No space left on device"),
              std::string::npos)
        << toFull.err;
    EXPECT_EQ(toFull.err.find("holds the failure report"), std::string::npos);
    EXPECT_TRUE(isCharacterDevice(full));
}

TEST_F(BatchOutputPaths, AFifoIsWrittenForTheProcessReadingIt) {
    const std::string fifo = folder.file("map.fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    std::string received;
    std::thread reader([&] {
        const int fd = ::open(fifo.c_str(), O_RDONLY);
        if (fd < 0) return;
        char buffer[1 << 16];
        ssize_t n;
        while ((n = ::read(fd, buffer, sizeof buffer)) > 0) received.append(buffer, n);
        ::close(fd);
    });
    const Outcome outcome = draw(fifo);
    reader.join();
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
    struct stat info {};
    ASSERT_EQ(::lstat(fifo.c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    // The stream is the same PNG a file gets.
    ASSERT_EQ(draw(folder.file("file.png")).exitCode, 0);
    EXPECT_EQ(received, readFileOrEmpty(folder.file("file.png")));
}

TEST_F(BatchOutputPaths, ALinkLeadsToItsTargetWhichIsReplaced) {
    ASSERT_EQ(::mkdir(folder.file("maps").c_str(), 0755), 0);
    const std::string target = folder.put("maps/real.png", "an old picture");
    const std::string link = folder.file("latest.png");
    ASSERT_EQ(::symlink("maps/real.png", link.c_str()), 0);
    const Outcome outcome = draw(link);
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
    struct stat info {};
    ASSERT_EQ(::lstat(link.c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    EXPECT_TRUE(isPng(readFileOrEmpty(target)));

    // A dangling link: its target is created.
    const std::string dangling = folder.file("next.png");
    ASSERT_EQ(::symlink("maps/next-real.png", dangling.c_str()), 0);
    EXPECT_EQ(draw(dangling).exitCode, 0);
    ASSERT_EQ(::lstat(dangling.c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    EXPECT_TRUE(isPng(readFileOrEmpty(folder.file("maps/next-real.png"))));
}

TEST_F(BatchOutputPaths, AFolderOrAnInputIsRefusedBeforeAnythingIsWritten) {
    const std::string runSettings = readFileOrEmpty(run.file("Settings.ini"));
    ASSERT_EQ(::mkdir(folder.file("maps").c_str(), 0755), 0);
    const Outcome toFolder = draw(folder.file("maps"));
    EXPECT_EQ(toFolder.exitCode, 1);
    EXPECT_NE(toFolder.err.find(folder.file("maps") + " is a folder"), std::string::npos)
        << toFolder.err;
    EXPECT_TRUE(std::filesystem::is_empty(folder.file("maps")));

    // The track file itself, through a link and under a second name.
    const std::string track = folder.put("storm.dat", readFileOrEmpty(kStorm));
    const std::string link = folder.file("storm-link.png");
    ASSERT_EQ(::symlink(track.c_str(), link.c_str()), 0);
    const std::string second = folder.file("storm-hard.png");
    ASSERT_EQ(::link(track.c_str(), second.c_str()), 0);
    for (const std::string& out : {track, link, second}) {
        const Outcome outcome = draw(out, {}, track);
        EXPECT_EQ(outcome.exitCode, 2) << out;
        EXPECT_NE(outcome.err.find("is the track file " + track), std::string::npos) << outcome.err;
        EXPECT_EQ(readFileOrEmpty(track), readFileOrEmpty(kStorm));
    }
    // The settings file too.
    const std::string settingsBefore = readFileOrEmpty(settings);
    EXPECT_EQ(draw(settings).exitCode, 2);
    EXPECT_EQ(readFileOrEmpty(settings), settingsBefore);

    // Nothing reached the run folder: no scratch file, no record of one.
    EXPECT_EQ(readFileOrEmpty(run.file("Settings.ini")), runSettings);
    EXPECT_FALSE(pathExists(run.file("temp")));
}

TEST_F(BatchOutputPaths, AReadOnlyFolderKeepsTheOldPictureAndTheRunSaysWhy) {
    ASSERT_EQ(::mkdir(folder.file("locked").c_str(), 0755), 0);
    const std::string out = folder.put("locked/out.png", "yesterday's picture");
    ASSERT_EQ(::chmod(out.c_str(), 0444), 0);
    ASSERT_EQ(::chmod(folder.file("locked").c_str(), 0555), 0);
    TcmapOptions options;
    options.withoutFileOverride = true;  // root could write there all the same
    const Outcome outcome = draw(out, options);
    ::chmod(folder.file("locked").c_str(), 0755);
    if (outcome.exitCode == kCannotDropOverride) GTEST_SKIP() << "cannot drop root's override";

    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_EQ(readFileOrEmpty(out), "yesterday's picture");
    EXPECT_NE(outcome.err.find("the failure report could not be written to " + out +
                               ": Permission denied"),
              std::string::npos)
        << outcome.err;
    EXPECT_EQ(outcome.err.find("holds the failure report"), std::string::npos);
    const auto entries = std::distance(std::filesystem::directory_iterator(folder.file("locked")),
                                       std::filesystem::directory_iterator());
    EXPECT_EQ(entries, 1);
}

namespace {

// Runs `command` as the unprivileged user nobody; false when that is not possible.
bool runAsNobody(const std::string& command) {
    return std::system(
               ("setpriv --reuid=nobody --regid=nogroup --clear-groups " + command + " 2>/dev/null")
                   .c_str()) == 0;
}

}  // namespace

// A link in a shared sticky folder is followed only when the kernel's
// protected-link rule would follow it: made by the caller or the folder's
// owner, never by a third user.
TEST_F(BatchOutputPaths, ALinkAnotherUserPlantedInASharedFolderIsNotFollowed) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to plant a link as another user";
    ASSERT_EQ(::chmod(folder.path().c_str(), 0755), 0);
    const std::string shared = folder.file("shared");
    ASSERT_EQ(::mkdir(shared.c_str(), 0777), 0);
    ASSERT_EQ(::chmod(shared.c_str(), 01777), 0);
    const std::string victim = folder.put("victim.conf", "precious settings");
    const std::string planted = shared + "/map.png";
    if (!runAsNobody("ln -s " + victim + " " + planted)) GTEST_SKIP() << "setpriv cannot run";

    const Outcome outcome = draw(planted);
    EXPECT_EQ(outcome.exitCode, 2) << outcome.err;
    EXPECT_NE(outcome.err.find("link another user"), std::string::npos) << outcome.err;
    EXPECT_TRUE(readFileOrEmpty(victim) == "precious settings") << "the planted link was followed";

    // The caller's own link in the same folder leads to its target as before.
    const std::string own = shared + "/mine.png";
    ASSERT_EQ(::symlink(victim.c_str(), own.c_str()), 0);
    EXPECT_EQ(draw(own).exitCode, 0);
    EXPECT_TRUE(isPng(readFileOrEmpty(victim)));
}

TEST_F(BatchOutputPaths, ABlockDeviceIsRefusedEvenThroughALink) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to make a device node";
    // A number no driver answers, so a fault cannot reach a real disk.
    const std::string disk = folder.file("disk");
    ASSERT_EQ(::mknod(disk.c_str(), S_IFBLK | 0600, ::makedev(240, 0)), 0);
    const std::string link = folder.file("disk-link.png");
    ASSERT_EQ(::symlink(disk.c_str(), link.c_str()), 0);
    for (const std::string& out : {disk, link}) {
        const Outcome outcome = draw(out);
        EXPECT_EQ(outcome.exitCode, 2) << out << ": " << outcome.err;
        EXPECT_NE(outcome.err.find("is a block device"), std::string::npos) << outcome.err;
    }
}

TEST_F(BatchOutputPaths, AFifoNobodyReadsEndsTheRunAfterTheWait) {
    const std::string fifo = folder.file("map.fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    TcmapOptions options;
    options.environment = {"TCMAP_FIFO_WAIT_MS=200"};
    options.stderrPath = logs.file("err.txt");
    TcmapProcess process(run, {"~nogui", settings, fifo, kStorm}, options);
    EXPECT_EQ(process.wait(std::chrono::seconds(120)), 1);
    EXPECT_NE(process.err().find("no process reads the FIFO"), std::string::npos) << process.err();
    struct stat info {};
    ASSERT_EQ(::lstat(fifo.c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
}

// Every file the run reads is refused as its output, whatever name it is
// given: the program's own files, the map picture and the executable.
TEST_F(BatchOutputPaths, EveryFileTheRunReadsIsRefusedAsItsOutput) {
    struct Input {
        std::string path;
        std::string settings;  // the settings file named on the command line
        std::string what;      // how the refusal names it
    };
    const std::string missing = folder.file("no-such-settings.ini");
    const std::vector<Input> inputs = {
        {run.file("Settings.ini"), missing, "settings file"},
        {run.file("Language.ini"), settings, "language choice"},
        {run.file("en.lang"), settings, "language file"},
        {run.file("zh-cn.lang"), settings, "language file"},
        {run.file("GridData"), settings, "grid data"},
        {run.file("fonts.conf"), settings, "font aliases"},
        {folder.file("map.png"), settings, "map picture"},
        {run.file("maps/world.png"), missing, "map picture"},
        {run.file("forecast/cone_radii.csv"), settings, "data file"},
        {run.file("maps/world_vector.bin"), settings, "data file"},
        {run.executable(), settings, "program itself"},
    };
    for (const Input& input : inputs) {
        const std::string before = readFileOrEmpty(input.path);
        ASSERT_FALSE(before.empty()) << input.path;
        TcmapOptions options;
        options.stderrPath = logs.file("err.txt");
        TcmapProcess process(run, {"~nogui", input.settings, input.path, kStorm}, options);
        EXPECT_EQ(process.wait(), 2) << input.path << ": " << process.err();
        EXPECT_NE(process.err().find(input.what), std::string::npos) << process.err();
        EXPECT_TRUE(readFileOrEmpty(input.path) == before) << input.path << " was overwritten";
    }
}

namespace {

// A PNG of a few hundred bytes whose header declares `width` x `height`
// pixels; its data runs out long before.
std::string pictureBomb(uint32_t width, uint32_t height) {
    auto be32 = [](uint32_t v) {
        return std::string{char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
    };
    auto chunk = [&](const std::string& type, const std::string& data) {
        const std::string body = type + data;
        const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(body.data()), uInt(body.size()));
        return be32(uint32_t(data.size())) + body + be32(uint32_t(crc));
    };
    std::string rows(4096, '\0');
    std::string packed(compressBound(uLong(rows.size())), '\0');
    uLongf packedSize = uLongf(packed.size());
    compress(reinterpret_cast<Bytef*>(packed.data()), &packedSize,
             reinterpret_cast<const Bytef*>(rows.data()), uLong(rows.size()));
    packed.resize(packedSize);
    const std::string header = be32(width) + be32(height) + std::string{8, 2, 0, 0, 0};
    return std::string("\x89PNG\r\n\x1a\n", 8) + chunk("IHDR", header) + chunk("IDAT", packed) +
           chunk("IEND", "");
}

}  // namespace

// A map picture that declares more pixels than the limit is refused before
// any pixel memory is taken, and nothing of it goes into the map cache.
// The memory a run may take. Sanitizer builds add their shadow memory and
// quarantine to every run, and shadow for every shared library loaded (GDAL
// and its dependencies among them: about 130-140 MB in all here), so they get
// that much more; reading a 2 GB file or decoding a bomb would still
// overshoot by far.
constexpr long kRunMemoryBudgetKb = (kSanitizerBuild ? 320 : 100) * 1024;

TEST_F(BatchOutputPaths, AMapDeclaringTooManyPixelsIsRefusedUnread) {
    struct Case {
        std::string what;
        std::string map;
        std::string limit;  // TCMAP_MAP_PIXEL_LIMIT, "" for the default
        std::string declared;
    };
    const std::vector<Case> cases = {
        {"a bomb under the default limit", folder.put("bomb.png", pictureBomb(32767, 8192)), "",
         "32767 x 8192"},
        {"a real map over a small limit", folder.file("map.png"), "1000000", "1440 x 720"},
    };
    for (const Case& c : cases) {
        const std::string cache = folder.file("cache-" + std::to_string(&c - cases.data()));
        const std::string ini = folder.put(
            "bomb.ini", "[Borvane4]\nMode=0\nMap=\"" + c.map + "\"\nWidth=300\nHeight=200\n");
        TcmapOptions options;
        options.stderrPath = logs.file("err.txt");
        options.environment = {"XDG_CACHE_HOME=" + cache};
        if (!c.limit.empty()) options.environment.push_back("TCMAP_MAP_PIXEL_LIMIT=" + c.limit);
        TcmapProcess process(run, {"~nogui", ini, folder.file("out.png"), kStorm}, options);
        EXPECT_EQ(process.wait(), 1) << c.what << ": " << process.err();
        EXPECT_NE(process.err().find("declares " + c.declared + " pixels, more than the limit"),
                  std::string::npos)
            << c.what << ": " << process.err();
        EXPECT_LT(process.peakKilobytes(), kRunMemoryBudgetKb) << c.what;
        std::error_code error;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(cache, error))
            EXPECT_FALSE(entry.path().string().ends_with(".pixels")) << entry.path();
    }
}

// The memory of a run follows the storms it keeps, not the size of the file:
// a 2 GB track file of a few real lines and a sparse rest.
TEST_F(BatchOutputPaths, AHugeSparseTrackFileCostsNoMoreThanItsStorms) {
    const std::string huge = folder.put("bwp992014.dat", readFileOrEmpty(kStorm));
    ASSERT_EQ(::truncate(huge.c_str(), off_t{2} << 30), 0);
    TcmapOptions options;
    options.stderrPath = logs.file("err.txt");
    TcmapProcess process(run, {"~nogui", settings, folder.file("out.png"), huge}, options);
    EXPECT_EQ(process.wait(), 0) << process.err();
    EXPECT_LT(process.peakKilobytes(), kRunMemoryBudgetKb);
}

// On a full disk neither the map nor the report fits: the old output stays
// whole and the run names the system's reason.
TEST_F(BatchOutputPaths, AFullDiskKeepsTheOldOutputWholeAndSaysWhy) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to mount a small file system";
    const std::string disk = folder.file("disk");
    ASSERT_EQ(::mkdir(disk.c_str(), 0755), 0);
    if (std::system(("mount -t tmpfs -o size=64k tmpfs " + disk + " 2>/dev/null").c_str()) != 0)
        GTEST_SKIP() << "cannot mount a tmpfs here";
    const std::string out = disk + "/out.png";
    const std::string old(40000, 'o');
    ASSERT_TRUE(writeFileReplacing(out, old));
    {
        // The rest of the disk filled up.
        const int fd = ::open((disk + "/filler").c_str(), O_WRONLY | O_CREAT, 0644);
        const std::string block(4096, 'f');
        while (::write(fd, block.data(), block.size()) > 0) {
        }
        ::close(fd);
    }
    const Outcome outcome = draw(out);
    const std::string after = readFileOrEmpty(out);
    std::system(("umount " + disk).c_str());
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_TRUE(after == old) << "the old output was replaced";
    EXPECT_NE(outcome.err.find("No space left on device"), std::string::npos) << outcome.err;
}
