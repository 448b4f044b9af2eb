// A batch run killed (SIGKILL) while it replaces a file: the run folder's
// Settings.ini at start-up, or the output picture at the end. The old file
// must stay whole, and whatever the kill left must be gone after the next
// run.
#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "base/file_io.h"
#include "render/canvas/picture.h"
#include "support/plain_map.h"
#include "support/private_run_folder.h"
#include "support/tcmap_process.h"
#include "support/temp_folder.h"

using namespace tcmap;
using tcmap::testing::entriesOf;
using tcmap::testing::PrivateRunFolder;
using tcmap::testing::TcmapOptions;
using tcmap::testing::TcmapProcess;
using tcmap::testing::TempFolder;
using tcmap::testing::writePlainMap;

namespace {

const std::string kStorm = TCMAP_TEST_DATA_DIR "/track/atcf/bwp022014.dat";

struct KillMoment {
    std::string file;   // name of the file being replaced
    std::string stage;  // where the write is held: created, written, linked
    bool namedRoute;    // the route of file systems without unnamed files
    bool leavesName;    // the kill leaves a named temporary file until the next run
};

}  // namespace

TEST(BatchKill, KilledWritesLeaveTheOldFilesWholeAndTheNextRunSweepsTheRest) {
    const PrivateRunFolder run;
    TempFolder folder;
    const std::string mapPath = folder.file("map.png");
    ASSERT_TRUE(writePlainMap(mapPath));
    const std::string settings =
        folder.put("s.ini", "[Borvane4]\nMode=0\nMap=\"" + mapPath + "\"\nWidth=300\nHeight=200\n");
    for (const char* name : {"out.png", "out.svg", "out.pdf"})
        folder.put(name, "the map of an earlier run");
    const std::string out = folder.file("out.png");
    const std::vector<std::string> args{"~nogui", settings, out, kStorm};

    // Vector maps go through the same replacing write as pictures.
    const std::vector<KillMoment> moments = {
        {"out.png", "created", false, false}, {"out.png", "written", false, false},
        {"out.png", "linked", false, true},   {"out.png", "written", true, true},
        {"out.svg", "created", false, false}, {"out.svg", "written", false, false},
        {"out.svg", "linked", false, true},   {"out.pdf", "written", true, true},
        {"out.pdf", "linked", false, true},
    };
    TempFolder logs;
    {
        // A first run leaves the run folder as every later one does.
        TcmapOptions first;
        first.stderrPath = logs.file("first.err");
        TcmapProcess process(run, args, first);
        ASSERT_EQ(process.wait(), 0) << process.err();
    }
    const std::vector<std::string> runEntries = entriesOf(run.path());
    const std::vector<std::string> outEntries = entriesOf(folder.path());
    for (const KillMoment& moment : moments) {
        SCOPED_TRACE(moment.file + " " + moment.stage + (moment.namedRoute ? " (named)" : ""));
        const std::string target = folder.file(moment.file);
        const std::vector<std::string> momentArgs{"~nogui", settings, target, kStorm};
        const std::string oldSettings = readFileOrEmpty(run.file("Settings.ini"));
        const std::string oldOut = readFileOrEmpty(target);

        TcmapOptions held;
        held.stderrPath = logs.file("killed.err");
        held.environment = {"TCMAP_TEST_HOLD_WRITE=" + moment.stage + ":" + moment.file};
        if (moment.namedRoute) held.environment.push_back("TCMAP_TEST_NO_TMPFILE=1");
        {
            TcmapProcess process(run, momentArgs, held);
            ASSERT_TRUE(
                process.waitForError("tcmap-test: holding " + moment.stage + ":" + moment.file))
                << process.err();
            process.kill(SIGKILL);
            EXPECT_EQ(process.wait(), -1);
        }
        EXPECT_EQ(readFileOrEmpty(run.file("Settings.ini")), oldSettings);
        EXPECT_EQ(readFileOrEmpty(target), oldOut);
        const std::vector<std::string> afterKill = entriesOf(folder.path());
        const size_t before = outEntries.size();
        // An unnamed file vanishes with the process; a named one stays.
        EXPECT_EQ(afterKill.size(), before + (moment.leavesName ? 1 : 0))
            << ::testing::PrintToString(afterKill);

        TcmapOptions next;
        next.stderrPath = logs.file("next.err");
        TcmapProcess process(run, momentArgs, next);
        ASSERT_EQ(process.wait(), 0) << process.err();
        EXPECT_EQ(entriesOf(run.path()), runEntries);
        EXPECT_EQ(entriesOf(folder.path()), outEntries);
        EXPECT_EQ(entriesOf(run.file("temp")), std::vector<std::string>{});
        const std::string saved = readFileOrEmpty(target);
        const std::string start = moment.file == "out.png"   ? "\x89PNG"
                                  : moment.file == "out.svg" ? "<?xml"
                                                             : "%PDF";
        EXPECT_EQ(saved.substr(0, start.size()), start);
    }
}

// A batch run keeps no scratch file: it writes nothing into the run folder,
// Settings.ini included, so no moment of such a write can be held there.
TEST(BatchKill, ABatchRunWritesNothingIntoTheRunFolder) {
    const PrivateRunFolder run;
    TempFolder folder;
    const std::string mapPath = folder.file("map.png");
    ASSERT_TRUE(writePlainMap(mapPath));
    const std::string settings =
        folder.put("s.ini", "[Borvane4]\nMode=0\nMap=\"" + mapPath + "\"\nWidth=300\nHeight=200\n");
    const std::string out = folder.file("out.png");
    const std::vector<std::string> args{"~nogui", settings, out, kStorm};
    const std::string oldSettings = readFileOrEmpty(run.file("Settings.ini"));
    const std::vector<std::string> runEntries = entriesOf(run.path());
    TempFolder logs;
    for (const char* stage : {"created", "written", "linked"}) {
        for (const bool named : {false, true}) {
            SCOPED_TRACE(std::string(stage) + (named ? " (named)" : ""));
            TcmapOptions held;
            held.stderrPath = logs.file("held.err");
            held.environment = {std::string("TCMAP_TEST_HOLD_WRITE=") + stage + ":Settings.ini"};
            if (named) held.environment.push_back("TCMAP_TEST_NO_TMPFILE=1");
            TcmapProcess process(run, args, held);
            ASSERT_EQ(process.wait(), 0) << process.err();
            EXPECT_EQ(readFileOrEmpty(run.file("Settings.ini")), oldSettings);
            EXPECT_EQ(entriesOf(run.path()), runEntries);
            Picture saved;
            EXPECT_TRUE(saved.loadFile(out));
        }
    }
}
