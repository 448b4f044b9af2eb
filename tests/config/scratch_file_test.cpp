#include "config/scratch_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "base/file_io.h"
#include "config/run_folder.h"
#include "support/temp_folder.h"

using namespace tcmap;
using tcmap::testing::TempFolder;

namespace {

// The number a scratch name carries: runFolder/temp/<hex>.tmp.
uint64_t numberOf(const std::string& path) {
    const std::string name = nameOf(path);
    return std::strtoull(name.substr(0, name.size() - 4).c_str(), nullptr, 16);
}

}  // namespace

TEST(NewScratchName, GivesDistinctUnusedNamesInTheTempFolder) {
    TempFolder run;
    std::set<std::string> names;
    for (int i = 0; i < 200; ++i) names.insert(newScratchName(run.path()));
    EXPECT_EQ(names.size(), 200u);  // most of these share a millisecond

    const std::string first = *names.begin();
    EXPECT_EQ(folderOf(first), run.path() + "/temp");
    EXPECT_EQ(first.substr(first.size() - 4), ".tmp");
    EXPECT_EQ(nameOf(first).find_first_not_of("0123456789abcdef"), nameOf(first).size() - 4);
    struct stat info {};
    ASSERT_EQ(::stat((run.path() + "/temp").c_str(), &info), 0);
    EXPECT_TRUE(S_ISDIR(info.st_mode));
    EXPECT_FALSE(pathExists(first));  // the file itself is not created

    // Names already on the disk are skipped.
    const std::string last = newScratchName(run.path());
    const uint64_t base = numberOf(last);
    for (uint64_t n = base + 1; n <= base + 64; ++n) {
        char name[32];
        std::snprintf(name, sizeof name, "temp/%llx.tmp", static_cast<unsigned long long>(n));
        run.put(name, "");
    }
    const std::string next = newScratchName(run.path());
    EXPECT_GT(numberOf(next), base);
    EXPECT_FALSE(pathExists(next));
}

TEST(NewScratchName, FormsANameEvenWithoutATempFolder) {
    TempFolder run;
    const std::string blocked = run.put("file", "");  // a file cannot hold a temp folder
    const std::string name = newScratchName(blocked);
    EXPECT_EQ(folderOf(name), blocked + "/temp");
    EXPECT_EQ(name.substr(name.size() - 4), ".tmp");
}

TEST(DeleteStaleTempFile, DeletesOnlyTmpFilesDirectlyInTheTempFolder) {
    TempFolder run;
    ASSERT_EQ(::mkdir(run.file("temp").c_str(), 0755), 0);
    ASSERT_EQ(::mkdir(run.file("temp/sub").c_str(), 0755), 0);
    ASSERT_EQ(::mkdir(run.file("temp/dir.tmp").c_str(), 0755), 0);
    TempFolder elsewhere;

    const std::string kept[] = {
        run.put("outside.tmp", "x"),         elsewhere.put("other.tmp", "x"),
        run.put("temp/picture.png", "x"),    run.put("temp/a.tmp.bak", "x"),
        run.put("temp/sub/nested.tmp", "x"),
    };
    for (const std::string& path : kept) deleteStaleTempFile(path, run.path());
    deleteStaleTempFile(run.path() + "/temp/../outside.tmp", run.path());
    deleteStaleTempFile(run.path() + "/temp/sub/../../outside.tmp", run.path());
    deleteStaleTempFile(run.path() + "/temp/dir.tmp", run.path());
    deleteStaleTempFile("outside.tmp", run.path());
    deleteStaleTempFile("", run.path());
    // A link in the temp folder is neither followed nor removed.
    const std::string link = run.file("temp/link.tmp");
    ASSERT_EQ(::symlink(kept[0].c_str(), link.c_str()), 0);
    deleteStaleTempFile(link, run.path());
    // A temp folder of another run folder does not count.
    ASSERT_EQ(::mkdir(elsewhere.file("temp").c_str(), 0755), 0);
    const std::string foreign = elsewhere.put("temp/foreign.tmp", "x");
    deleteStaleTempFile(foreign, run.path());

    for (const std::string& path : kept) EXPECT_TRUE(isRegularFile(path)) << path;
    EXPECT_TRUE(isRegularFile(foreign));
    struct stat info {};
    EXPECT_EQ(::lstat(link.c_str(), &info), 0);
    EXPECT_TRUE(pathExists(run.file("temp/dir.tmp")));

    const std::string genuine = run.put("temp/1a2b3c.TMP", "picture");
    deleteStaleTempFile(genuine, run.path());
    EXPECT_FALSE(pathExists(genuine));
    const std::string named = newScratchName(run.path());
    writeFileReplacing(named, "picture");
    deleteStaleTempFile(named, run.path());
    EXPECT_FALSE(pathExists(named));
}

TEST(RunFolder, IsTheFolderOfTheExecutable) {
    const std::string folder = runFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_NE(folder.back(), '/');
    EXPECT_EQ(std::filesystem::path(folder),
              std::filesystem::canonical("/proc/self/exe").parent_path());
}

namespace {

// Whether some open file description holds the lock of `path`, as another
// run would see it.
bool heldByALiveRun(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0) return false;
    const bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0;
    ::close(fd);
    return held;
}

}  // namespace

TEST(ReserveScratchFile, CreatesAndHoldsDistinctFilesUntilTheRunDeletesThem) {
    TempFolder run;
    // Threads stand in for runs started in the same millisecond.
    std::vector<std::string> names(64);
    std::vector<std::thread> starters;
    for (std::string& name : names)
        starters.emplace_back([&name, &run] { name = reserveScratchFile(run.path()); });
    for (std::thread& starter : starters) starter.join();
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()).size(), names.size());
    for (const std::string& name : names) {
        EXPECT_EQ(folderOf(name), run.file("temp"));
        EXPECT_TRUE(isRegularFile(name)) << name;
        EXPECT_TRUE(heldByALiveRun(name)) << name;
    }

    // Written through the reservation; what another run sees is the new content.
    ASSERT_TRUE(writeScratchFile(names[0], "a long first picture"));
    ASSERT_TRUE(writeScratchFile(names[0], "second"));
    EXPECT_EQ(readFileOrEmpty(names[0]), "second");

    // Neither the start-up clean-up nor the recorded-name clean-up of another
    // run touches a held file; the run itself deletes its own.
    sweepStaleScratchFiles(run.path());
    for (const std::string& name : names) EXPECT_TRUE(pathExists(name)) << name;
    for (const std::string& name : names) {
        deleteStaleTempFile(name, run.path());
        EXPECT_FALSE(pathExists(name)) << name;
    }
}

TEST(SweepStaleScratchFiles, RemovesWhatKilledRunsLeftAndNothingElse) {
    TempFolder run;
    ASSERT_EQ(::mkdir(run.file("temp").c_str(), 0755), 0);
    const std::string killed = run.put("temp/18f3a.tmp", "scratch of a killed run");
    const std::string upper = run.put("temp/18f3b.TMP", "x");
    const std::string other = run.put("temp/notes.txt", "x");
    const std::string live = run.put("temp/18f3c.tmp", "scratch of a live run");
    const int held = ::open(live.c_str(), O_RDONLY);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);

    deleteStaleTempFile(live, run.path());  // the recorded name of a live run
    sweepStaleScratchFiles(run.path());
    EXPECT_FALSE(pathExists(killed));
    EXPECT_FALSE(pathExists(upper));
    EXPECT_TRUE(pathExists(other));
    EXPECT_TRUE(pathExists(live));
    ::close(held);
    deleteStaleTempFile(live, run.path());
    EXPECT_FALSE(pathExists(live));
}
