// The decoded-map cache: what a later load shows when the source or the cache
// file changed, was damaged or is being built by two runs at once.
#include "render/canvas/decoded_map_cache.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/file_io.h"
#include "render/canvas/picture.h"
#include "support/temp_folder.h"

using namespace tcmap;
using tcmap::testing::TempFolder;
namespace fs = std::filesystem;

namespace {

constexpr int kWidth = 301;  // not a multiple of anything convenient
constexpr int kHeight = 97;

// Files a test touched "now" must count as brand new however slow the
// machine: this long a settle time makes sure of it.
constexpr std::chrono::hours kLongSettle{24 * 365};

class DecodedMapCacheTest : public ::testing::Test {
  protected:
    TempFolder folder;
    std::string cacheHome = folder.file("cache");
    std::string cacheFolder = cacheHome + "/tcmap";
    // The cache of the process under test: the last map stays decoded in it.
    std::unique_ptr<MapCache> cache = std::make_unique<MapCache>(cacheFolder);

    // A map whose every pixel differs with `seed`, in a format whose file
    // size depends only on the picture size (BMP) or not (PNG).
    std::string writeMap(const std::string& name, uint32_t seed, std::string_view format,
                         time_t mtime = 1'600'000'000) {
        Picture map;
        EXPECT_EQ(map.create(kWidth, kHeight, 0xFF000000, format), 0);
        for (int i = 0; i < kWidth * kHeight; ++i)
            map.pixels()[i] = 0xFF000000u | ((uint32_t(i) * 2654435761u + seed) & 0xFFFFFF);
        const std::string path = folder.file(name);
        EXPECT_EQ(map.save(path, format), 0);
        setMtime(path, mtime);
        return path;
    }
    static void setMtime(const std::string& path, time_t seconds) {
        const timespec times[2] = {{seconds, 0}, {seconds, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    }

    static std::vector<uint32_t> pixelsOf(const Picture& picture) {
        return {picture.pixels(), picture.pixels() + size_t(picture.width()) * picture.height()};
    }
    static std::vector<uint32_t> decoded(const std::string& path) {
        Picture plain;
        EXPECT_TRUE(plain.loadFile(path));
        return pixelsOf(plain);
    }
    // A load as a fresh process would do it: nothing kept in memory.
    std::vector<uint32_t> freshLoad(const std::string& path,
                                    std::chrono::nanoseconds settle = MapCache::kSettleTime,
                                    int64_t byteBudget = MapCache::kByteBudget) {
        MapCache fresh(cacheFolder, settle, byteBudget);
        Picture picture;
        EXPECT_TRUE(fresh.load(picture, path));
        fresh.finishWrites();
        return pixelsOf(picture);
    }

    std::vector<fs::path> cacheFiles() const {
        std::vector<fs::path> files;
        std::error_code error;
        for (const auto& entry : fs::directory_iterator(cacheFolder, error))
            files.push_back(entry.path());
        return files;
    }
    fs::path onlyCacheFile() const {
        const auto files = cacheFiles();
        EXPECT_EQ(files.size(), 1u);
        return files.empty() ? fs::path() : files.front();
    }
};

TEST_F(DecodedMapCacheTest, LaterLoadsShowTheDecodedPixelsFromTheCacheFile) {
    for (const std::string_view format : {kPngFormatId, kBmpFormatId}) {
        const std::string path = writeMap("map.img", 7, format);
        const std::vector<uint32_t> expected = decoded(path);
        EXPECT_EQ(freshLoad(path), expected);
        const fs::path cacheFile = onlyCacheFile();
        EXPECT_GT(fs::file_size(cacheFile), expected.size() * 4);

        EXPECT_EQ(freshLoad(path), expected);
        Picture kept;
        ASSERT_TRUE(cache->load(kept, path));
        EXPECT_EQ(kept.formatId(), format);
        EXPECT_EQ(pixelsOf(kept), expected);

        // Writing through a shared picture leaves the kept and cached map alone.
        kept.pixels()[0] = 0xFF123456;
        EXPECT_EQ(freshLoad(path), expected);
        fs::remove_all(cacheHome);
    }
}

TEST_F(DecodedMapCacheTest, AChangedSourceIsPickedUpAtOnce) {
    const std::string path = writeMap("map.bmp", 1, kBmpFormatId, 1'600'000'000);
    const std::vector<uint32_t> first = decoded(path);
    EXPECT_EQ(freshLoad(path), first);
    Picture kept;
    ASSERT_TRUE(cache->load(kept, path));  // now kept in memory too

    // Rewritten in place: same size, same inode, another time.
    struct stat before {
    }, after{};
    ASSERT_EQ(::stat(path.c_str(), &before), 0);
    writeMap("map.bmp", 2, kBmpFormatId, 1'600'000'100);
    ASSERT_EQ(::stat(path.c_str(), &after), 0);
    ASSERT_EQ(after.st_ino, before.st_ino);
    ASSERT_EQ(after.st_size, before.st_size);
    const std::vector<uint32_t> second = decoded(path);
    ASSERT_NE(first, second);
    Picture again;
    ASSERT_TRUE(cache->load(again, path));
    EXPECT_EQ(pixelsOf(again), second);
    cache->finishWrites();
    EXPECT_EQ(freshLoad(path), second);
    EXPECT_EQ(cacheFiles().size(), 1u) << "one file per map";
}

TEST_F(DecodedMapCacheTest, DamagedOrForeignCacheFilesAreRebuilt) {
    const std::string path = writeMap("map.png", 3, kPngFormatId);
    const std::vector<uint32_t> expected = decoded(path);
    ASSERT_EQ(freshLoad(path), expected);
    const fs::path cacheFile = onlyCacheFile();
    const std::string good = readFileOrEmpty(cacheFile.string());
    ASSERT_FALSE(good.empty());

    auto flipped = [&](size_t at) {
        std::string bytes = good;
        bytes[at] = char(bytes[at] ^ 0x40);
        return bytes;
    };
    const std::vector<std::pair<std::string, std::string>> damages = {
        {"empty", ""},
        {"header only", good.substr(0, 100)},
        {"one byte short", good.substr(0, good.size() - 1)},
        {"one byte long", good + "x"},
        {"other magic", flipped(0)},
        {"other version", flipped(8)},
        {"other width", flipped(16)},
        {"other source size", flipped(32)},
        {"damaged path", flipped(112)},
        {"a pixel of the first block", flipped(good.size() - kWidth * kHeight * 4 + 1)},
        {"a pixel of the last row", flipped(good.size() - 3)},
    };
    for (const auto& [what, bytes] : damages) {
        ASSERT_TRUE(writeFileReplacing(cacheFile.string(), bytes));
        EXPECT_EQ(freshLoad(path), expected) << what;
        EXPECT_EQ(readFileOrEmpty(cacheFile.string()), good) << what << ": rebuilt";
    }
}

TEST_F(DecodedMapCacheTest, TwoRunsBuildingTheSameEntryBothShowTheMap) {
    const std::string path = writeMap("map.png", 4, kPngFormatId);
    const std::vector<uint32_t> expected = decoded(path);
    for (int round = 0; round < 3; ++round) {
        fs::remove_all(cacheHome);
        std::vector<pid_t> children;
        for (int run = 0; run < 2; ++run) {
            const pid_t pid = ::fork();
            ASSERT_GE(pid, 0);
            if (pid == 0) {
                MapCache run(cacheFolder);
                Picture picture;
                const bool right = run.load(picture, path) && pixelsOf(picture) == expected;
                run.finishWrites();
                ::_exit(right ? 0 : 1);
            }
            children.push_back(pid);
        }
        for (const pid_t pid : children) {
            int status = 0;
            ASSERT_EQ(::waitpid(pid, &status, 0), pid);
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << round;
        }
        EXPECT_EQ(cacheFiles().size(), 1u) << "no temporary file left";
        EXPECT_EQ(freshLoad(path), expected);
    }
}

TEST_F(DecodedMapCacheTest, NothingIsWrittenWhenSwitchedOffOrTheSourceIsBrandNew) {
    const std::string path = writeMap("map.png", 5, kPngFormatId);
    {
        // No folder: the cache is off (TCMAP_NO_CACHE).
        MapCache off("");
        Picture picture;
        EXPECT_TRUE(off.load(picture, path));
        off.finishWrites();
        EXPECT_EQ(pixelsOf(picture), decoded(path));
        EXPECT_FALSE(fs::exists(cacheHome));
    }

    // Written a moment ago: it may change again within the same time stamp.
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), nullptr, 0), 0);
    EXPECT_EQ(freshLoad(path, kLongSettle), decoded(path));
    EXPECT_TRUE(cacheFiles().empty());

    // A cache folder that cannot be made: the map is still shown.
    folder.put("file", "x");
    cacheFolder = folder.file("file") + "/tcmap";
    setMtime(path, 1'600'000'000);
    EXPECT_EQ(freshLoad(path), decoded(path));
}

TEST_F(DecodedMapCacheTest, OnlyTheNewestFewMapsStay) {
    std::vector<std::string> maps;
    for (int i = 0; i < 6; ++i) {
        maps.push_back(writeMap("map" + std::to_string(i) + ".png", 10 + i, kPngFormatId));
        freshLoad(maps.back());
    }
    EXPECT_EQ(cacheFiles().size(), 4u);
    // The oldest are gone, the newest is there: it loads without decoding.
    for (const std::string& map : maps) EXPECT_EQ(freshLoad(map), decoded(map));
}

// Besides the newest few maps, the files stay within the byte budget: with
// room for two and a half maps a third pushes out the oldest, and a map larger
// than the whole budget is decoded every time and never stored.
TEST_F(DecodedMapCacheTest, TheFilesStayWithinTheByteBudget) {
    std::vector<std::string> maps;
    for (int i = 0; i < 3; ++i)
        maps.push_back(writeMap("map" + std::to_string(i) + ".png", 20 + i, kPngFormatId));
    const std::vector<uint32_t> first = freshLoad(maps[0]);
    const fs::path oldest = onlyCacheFile();
    const int64_t fileBytes = int64_t(fs::file_size(oldest));
    const int64_t budget = 2 * fileBytes + fileBytes / 2;
    EXPECT_EQ(freshLoad(maps[1], MapCache::kSettleTime, budget), decoded(maps[1]));
    ASSERT_EQ(cacheFiles().size(), 2u);
    // Their ages made certain, whatever the file system's clock resolution.
    for (const fs::path& file : cacheFiles())
        setMtime(file, file == oldest ? 1'600'000'000 : 1'600'000'001);
    EXPECT_EQ(freshLoad(maps[2], MapCache::kSettleTime, budget), decoded(maps[2]));
    const std::vector<fs::path> files = cacheFiles();
    EXPECT_EQ(files.size(), 2u);
    EXPECT_EQ(std::count(files.begin(), files.end(), oldest), 0);

    fs::remove_all(cacheFolder);
    EXPECT_EQ(freshLoad(maps[0], MapCache::kSettleTime, fileBytes / 2), first);
    EXPECT_TRUE(cacheFiles().empty());
}

// A cache file changed under a run that already read it: the run keeps the
// right map, and the next load rebuilds the entry.
TEST_F(DecodedMapCacheTest, ACacheFileCutShortOrOverwrittenWhileInUseNeverShows) {
    const std::string path = writeMap("map.png", 6, kPngFormatId);
    const std::vector<uint32_t> expected = decoded(path);
    ASSERT_EQ(freshLoad(path), expected);
    const fs::path cacheFile = onlyCacheFile();
    const std::string good = readFileOrEmpty(cacheFile.string());
    for (const bool cutShort : {true, false}) {
        MapCache inUse(cacheFolder);
        Picture picture;
        ASSERT_TRUE(inUse.load(picture, path));
        const int fd = ::open(cacheFile.c_str(), O_WRONLY);  // in place: the same inode
        ASSERT_GE(fd, 0);
        if (cutShort) {
            ASSERT_EQ(::ftruncate(fd, 200), 0);
        } else {
            const std::string junk(good.size() - 4096, '\xAB');
            ASSERT_EQ(::pwrite(fd, junk.data(), junk.size(), 4096), ssize_t(junk.size()));
        }
        ::close(fd);
        EXPECT_EQ(pixelsOf(picture), expected) << cutShort;
        inUse.forget();
        Picture again;
        ASSERT_TRUE(inUse.load(again, path));
        EXPECT_EQ(pixelsOf(again), expected) << cutShort;
        inUse.finishWrites();
        EXPECT_EQ(readFileOrEmpty(cacheFile.string()), good) << cutShort << ": rebuilt";
    }
}

// Another user may have made the folder, opened it to others or put a link
// there: such a folder is not used at all, and the run says so once.
TEST_F(DecodedMapCacheTest, AFolderOthersCouldPlantFilesInIsNotUsed) {
    const std::string path = writeMap("map.png", 7, kPngFormatId);
    const std::vector<uint32_t> expected = decoded(path);
    const std::string elsewhere = folder.file("elsewhere");
    ASSERT_EQ(::mkdir(elsewhere.c_str(), 0700), 0);
    struct Plant {
        const char* what;
        std::function<void()> make;
        bool needsRoot;
    };
    const std::vector<Plant> plants = {
        {"open to everybody", [&] { ::chmod(cacheFolder.c_str(), 0777); }, false},
        {"open to its group", [&] { ::chmod(cacheFolder.c_str(), 0770); }, false},
        {"a link to another folder",
         [&] {
             ::rmdir(cacheFolder.c_str());
             ::symlink(elsewhere.c_str(), cacheFolder.c_str());
         },
         false},
        {"another user's", [&] { ::chown(cacheFolder.c_str(), 65534, 65534); }, true},
    };
    for (const Plant& plant : plants) {
        if (plant.needsRoot && ::geteuid() != 0) continue;
        fs::remove_all(cacheHome);
        ASSERT_TRUE(fs::create_directories(cacheFolder));
        plant.make();
        ::testing::internal::CaptureStderr();
        MapCache run(cacheFolder);
        for (int load = 0; load < 2; ++load) {
            Picture picture;
            ASSERT_TRUE(run.load(picture, path));
            EXPECT_EQ(pixelsOf(picture), expected) << plant.what;
            run.forget();
        }
        run.finishWrites();
        const std::string err = ::testing::internal::GetCapturedStderr();
        EXPECT_NE(err.find("map cache folder"), std::string::npos) << plant.what;
        EXPECT_EQ(err.find("map cache folder"), err.rfind("map cache folder")) << "said once";
        EXPECT_TRUE(fs::is_empty(elsewhere)) << plant.what;
        EXPECT_TRUE(fs::is_symlink(cacheFolder) || fs::is_empty(cacheFolder)) << plant.what;
    }
}

// A cache file that is a FIFO, a link or another user's is never read; the
// entry is written again as a file of this user's own.
TEST_F(DecodedMapCacheTest, ACacheFileOthersCouldPlantIsNotRead) {
    const std::string path = writeMap("map.png", 8, kPngFormatId);
    const std::vector<uint32_t> expected = decoded(path);
    ASSERT_EQ(freshLoad(path), expected);
    const fs::path cacheFile = onlyCacheFile();
    const std::string good = readFileOrEmpty(cacheFile.string());
    const std::string elsewhere = folder.put("elsewhere.pixels", good);
    struct Plant {
        const char* what;
        std::function<void()> make;
        bool needsRoot;
    };
    const std::vector<Plant> plants = {
        {"a FIFO", [&] { ::mkfifo(cacheFile.c_str(), 0600); }, false},
        {"a link to a cache file", [&] { ::symlink(elsewhere.c_str(), cacheFile.c_str()); }, false},
        {"another user's file",
         [&] {
             writeFileReplacing(cacheFile.string(), good);
             ::chown(cacheFile.c_str(), 65534, 65534);
         },
         true},
    };
    for (const Plant& plant : plants) {
        if (plant.needsRoot && ::geteuid() != 0) continue;
        fs::remove(cacheFile);
        plant.make();
        EXPECT_EQ(freshLoad(path), expected) << plant.what;
        struct stat info {};
        ASSERT_EQ(::lstat(cacheFile.c_str(), &info), 0);
        EXPECT_TRUE(S_ISREG(info.st_mode)) << plant.what << ": rebuilt";
        EXPECT_EQ(info.st_uid, ::geteuid()) << plant.what;
        EXPECT_EQ(readFileOrEmpty(cacheFile.string()), good) << plant.what;
    }
}

// A write killed before its rename leaves a locked temporary file; once its
// lock is gone the next run sweeps it.
TEST_F(DecodedMapCacheTest, AKilledWritesTemporaryFileIsSweptAtStart) {
    const std::string path = writeMap("map.png", 9, kPngFormatId);
    ASSERT_EQ(freshLoad(path), decoded(path));
    const std::string leftover = cacheFolder + "/.0123456789abcdef.pixels.999-1.tmp";
    ASSERT_TRUE(writeFileReplacing(leftover, std::string(1 << 20, 'x')));
    EXPECT_EQ(freshLoad(path), decoded(path));
    EXPECT_FALSE(fs::exists(leftover));
}

}  // namespace
