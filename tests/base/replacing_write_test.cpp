// Replacing writes and the files that say whether a live process owns them.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "base/file_io.h"
#include "base/locked_file.h"
#include "base/output_file.h"
#include "base/replacing_write.h"
#include "support/temp_folder.h"

using namespace tcmap;
using tcmap::testing::entriesOf;
using tcmap::testing::TempFolder;

namespace {

class FolderFd {
  public:
    explicit FolderFd(const std::string& path)
        : fd_(::open(path.c_str(), O_RDONLY | O_DIRECTORY)) {}
    ~FolderFd() { ::close(fd_); }
    int get() const { return fd_; }

  private:
    int fd_;
};

// Both routes: unnamed files, and the named route of other file systems.
class ReplacingWriteRoutes : public ::testing::TestWithParam<bool> {
  protected:
    void SetUp() override {
        if (GetParam()) ::setenv("TCMAP_TEST_NO_TMPFILE", "1", 1);
    }
    void TearDown() override { ::unsetenv("TCMAP_TEST_NO_TMPFILE"); }
};

}  // namespace

TEST_P(ReplacingWriteRoutes, ReplacesInOneStepKeepingPermissionsAndLeavingNothing) {
    TempFolder folder;
    const std::string path = folder.put("Settings.ini", "old");
    ASSERT_EQ(::chmod(path.c_str(), 0600), 0);
    struct stat before {};
    ASSERT_EQ(::stat(path.c_str(), &before), 0);

    ASSERT_TRUE(writeFileAtomically(path, "new content"));
    EXPECT_EQ(readFileOrEmpty(path), "new content");
    struct stat after {};
    ASSERT_EQ(::stat(path.c_str(), &after), 0);
    EXPECT_EQ(after.st_mode & 07777, 0600u);
    EXPECT_NE(after.st_ino, before.st_ino);  // a new file took the name
    EXPECT_EQ(entriesOf(folder.path()), std::vector<std::string>{"Settings.ini"});

    ASSERT_TRUE(writeFileAtomically(folder.file("fresh.png"), ""));
    EXPECT_TRUE(isRegularFile(folder.file("fresh.png")));
    EXPECT_FALSE(writeFileAtomically(folder.file("no-folder/x"), "x"));
    EXPECT_EQ(errno, ENOENT);
}

INSTANTIATE_TEST_SUITE_P(BothRoutes, ReplacingWriteRoutes, ::testing::Bool());

TEST(ReplacingWrite, SweepsOnlyUnownedLeftoversOfItsOwnName) {
    TempFolder folder;
    folder.put("out.png", "old");
    const std::string stale = ".out.png.tcmap-1f-0.part";
    const std::string live = ".out.png.tcmap-20-0.part";
    const std::vector<std::string> unrelated = {".other.png.tcmap-1f-0.part", "out.png.ABC123",
                                                ".out.png.tcmap-1f-0.partial", "out.png.part"};
    folder.put(stale, "half a picture");
    for (const std::string& name : unrelated) folder.put(name, "x");
    // A write in progress in another process holds its file's lock.
    const int held = ::open(folder.put(live, "being written").c_str(), O_RDONLY);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);

    ASSERT_TRUE(writeFileAtomically(folder.file("out.png"), "new"));
    EXPECT_FALSE(pathExists(folder.file(stale)));
    EXPECT_TRUE(pathExists(folder.file(live)));
    for (const std::string& name : unrelated) EXPECT_TRUE(pathExists(folder.file(name))) << name;

    ::close(held);  // that process died
    ASSERT_TRUE(writeFileAtomically(folder.file("out.png"), "newer"));
    EXPECT_FALSE(pathExists(folder.file(live)));
    EXPECT_TRUE(isLeftoverOf(stale, "out.png"));
    EXPECT_FALSE(isLeftoverOf(stale, "out"));
}

TEST(LockedFile, ACreatedFileIsHeldUntilClosedAndOnlyThenRemovable) {
    TempFolder folder;
    const FolderFd dir(folder.path());
    const int fd = createLockedFile(dir.get(), "a.tmp", 0600);
    ASSERT_GE(fd, 0);
    EXPECT_LT(createLockedFile(dir.get(), "a.tmp", 0600), 0);
    EXPECT_EQ(errno, EEXIST);
    EXPECT_FALSE(removeIfUnlocked(dir.get(), "a.tmp"));
    EXPECT_TRUE(pathExists(folder.file("a.tmp")));
    ::close(fd);
    EXPECT_TRUE(removeIfUnlocked(dir.get(), "a.tmp"));
    EXPECT_FALSE(pathExists(folder.file("a.tmp")));

    // Links and folders are never removed, whatever they point at.
    folder.put("target", "x");
    ASSERT_EQ(::symlink("target", folder.file("link").c_str()), 0);
    ASSERT_EQ(::mkdir(folder.file("sub").c_str(), 0755), 0);
    EXPECT_FALSE(removeIfUnlocked(dir.get(), "link"));
    EXPECT_FALSE(removeIfUnlocked(dir.get(), "sub"));
    EXPECT_EQ(entriesOf(folder.path()), (std::vector<std::string>{"link", "sub", "target"}));
}

TEST(OutputFile, KindsOfPaths) {
    TempFolder folder;
    EXPECT_EQ(resolveOutput("-").kind, OutputKind::Descriptor);
    EXPECT_EQ(resolveOutput("/dev/stdout").descriptor, 1);
    EXPECT_EQ(resolveOutput("/dev/null").kind, OutputKind::Stream);
    EXPECT_EQ(resolveOutput(folder.path()).kind, OutputKind::Folder);
    EXPECT_EQ(resolveOutput(folder.file("new.png")).kind, OutputKind::File);

    // Links are followed to the end, relative ones from their own folder.
    ASSERT_EQ(::mkdir(folder.file("a").c_str(), 0755), 0);
    ASSERT_EQ(::symlink("b.png", folder.file("a/link1").c_str()), 0);
    ASSERT_EQ(::symlink("a/link1", folder.file("link2").c_str()), 0);
    // Dangling: the kernel creates the target when it is written.
    const OutputTarget chained = resolveOutput(folder.file("link2"));
    EXPECT_EQ(chained.kind, OutputKind::File);
    EXPECT_TRUE(chained.danglingLink);
    ASSERT_EQ(::symlink(folder.path().c_str(), folder.file("to-folder").c_str()), 0);
    EXPECT_EQ(resolveOutput(folder.file("to-folder")).kind, OutputKind::Folder);

    int error = -1;
    EXPECT_FALSE(writeOutputFile(folder.path(), "x", &error));
    EXPECT_EQ(error, EISDIR);
    EXPECT_TRUE(writeOutputFile(folder.file("link2"), "through", &error));
    EXPECT_EQ(readFileOrEmpty(folder.file("a/b.png")), "through");
    EXPECT_EQ(error, 0);
    // Once there, the target is the file the chain ends at.
    EXPECT_EQ(resolveOutput(folder.file("link2")).path, folder.file("a/b.png"));
    EXPECT_FALSE(resolveOutput(folder.file("link2")).danglingLink);
    EXPECT_FALSE(writeOutputFile("", "x", &error));
    EXPECT_EQ(error, ENOENT);
}
