// A path that names something other than a regular file, given where the
// program reads a file: a folder, a FIFO no process writes to, a device that
// never ends. Every reader refuses it at once, as it refuses a missing file:
// no read waits on the FIFO or runs on through /dev/zero.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "app/storm_catalog.h"
#include "base/file_io.h"
#include "config/profile_store.h"
#include "render/canvas/picture.h"
#include "support/temp_folder.h"
#include "track/archive_kind.h"
#include "track/atcf_reader.h"
#include "track/text_lines.h"

using namespace tcmap;
using tcmap::testing::TempFolder;

namespace {

enum class NotAFile { Folder, Fifo, Device };

struct Reader {
    const char* name;
    // True when the reader gave what it gives for a missing file.
    std::function<bool(const std::string& path)> refuses;
};

const Reader kReaders[] = {
    {"settings value",
     [](const std::string& path) { return ProfileStore::read(path, "a", "k", "dflt") == "dflt"; }},
    {"whole file", [](const std::string& path) { return readFileOrEmpty(path).empty(); }},
    {"file lines",
     [](const std::string& path) {
         FileLines lines(path);
         std::string_view line;
         return !lines.next(line);
     }},
    {"picture",
     [](const std::string& path) {
         Picture picture;
         return !picture.loadFile(path) && picture.empty();
     }},
    {"archive kind",
     [](const std::string& path) { return archiveKind(path) == ArchiveKind::None; }},
    {"track file",
     [](const std::string& path) {
         return readAtcfFile(path, TrackFileKind::BestTrackFile).fixes.empty();
     }},
    {"storm catalog",
     [](const std::string& path) {
         size_t visited = 0;
         const std::vector<std::string> problems =
             visitStormCatalog({path}, ArchiveSelection(), [&](size_t, Track&&) { ++visited; });
         return visited == 0 &&
                problems == std::vector<std::string>{path + ": not a readable file"};
     }},
};

class NonRegularPath : public ::testing::TestWithParam<std::tuple<Reader, NotAFile>> {
  protected:
    std::string pathOf(NotAFile kind) {
        switch (kind) {
            case NotAFile::Folder:
                return folder.path();
            case NotAFile::Fifo: {
                const std::string fifo = folder.file("track.fifo");
                EXPECT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
                return fifo;
            }
            case NotAFile::Device:
                return "/dev/zero";
        }
        return {};
    }

    TempFolder folder;
};

std::string caseName(const ::testing::TestParamInfo<NonRegularPath::ParamType>& info) {
    std::string name = std::get<0>(info.param).name;
    for (char& c : name) c = c == ' ' ? '_' : c;
    const char* kinds[] = {"Folder", "Fifo", "Device"};
    return name + "_" + kinds[static_cast<int>(std::get<1>(info.param))];
}

}  // namespace

TEST_P(NonRegularPath, IsRefusedLikeAMissingFile) {
    const auto& [reader, kind] = GetParam();
    EXPECT_TRUE(reader.refuses(folder.file("missing"))) << reader.name << ": a missing file";
    const std::string path = pathOf(kind);
    EXPECT_TRUE(reader.refuses(path)) << reader.name << ": " << path;
}

INSTANTIATE_TEST_SUITE_P(Readers, NonRegularPath,
                         ::testing::Combine(::testing::ValuesIn(kReaders),
                                            ::testing::Values(NotAFile::Folder, NotAFile::Fifo,
                                                              NotAFile::Device)),
                         caseName);
