#include "files/file_chooser_rules.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/open_file_command.h"
#include "config/profile_store.h"
#include "i18n/language_pack.h"
#include "support/fake_prompter.h"
#include "support/temp_folder.h"

using namespace tcmap;
using tcmap::testing::TempFolder;
using Answer = Prompter::Answer;

namespace {

using Files = std::vector<std::string>;

class ChooserRulesTest : public ::testing::Test {
  protected:
    ChooserRulesTest() {
        run.put("xx.lang",
                "[text]\r\n16=No map\r\n17=Map\r\n19=Track Files\r\n49=Searching\r\n"
                "50=%d found\r\n51=Sorting %d\r\n80=Busy\r\n81=Drawing\r\n"
                "91=Just the highlighted file?\r\n92=Empty the list?\r\n145=Adding %d\r\n");
    }

    LanguagePack pack() const { return LanguagePack(run.path(), "xx", "UTF-8", false); }

    static ChooserItems items(std::vector<bool> ticked, int current = -1) {
        return {"/storms", {"b.dat", "c.fst", "a.txt"}, std::move(ticked), current};
    }

    TempFolder run;
    FakePrompter prompter;
};

}  // namespace

TEST_F(ChooserRulesTest, TickedItemsAreChosenInListOrderWithoutAQuestion) {
    EXPECT_EQ(chooseFiles(items({true, false, true}, 1), false, prompter, pack()),
              (Files{"/storms/b.dat", "/storms/a.txt"}));
    EXPECT_EQ(chooseFiles({"/", {"x.dat"}, {true}, -1}, true, prompter, pack()), (Files{"/x.dat"}));
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(ChooserRulesTest, NothingTickedNothingHighlighted) {
    // Append mode: an empty choice, no question.
    EXPECT_EQ(chooseFiles(items({false, false, false}), true, prompter, pack()), Files{});
    EXPECT_TRUE(prompter.shown.empty());

    // Replace mode asks whether to empty the list; OK goes on with nothing.
    prompter.answers = {Answer::Ok, Answer::Cancel};
    EXPECT_EQ(chooseFiles(items({false, false, false}), false, prompter, pack()), Files{});
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text, "Empty the list?");
    EXPECT_EQ(prompter.shown[0].title, "Track Files");
    EXPECT_EQ(prompter.shown[0].icon, Prompter::Icon::Warning);
    EXPECT_EQ(prompter.shown[0].buttons, Prompter::Buttons::OkCancel);
    // Cancel keeps the chooser open.
    EXPECT_EQ(chooseFiles(items({}), false, prompter, pack()), std::nullopt);
}

TEST_F(ChooserRulesTest, NothingTickedAsksAboutTheHighlightedItem) {
    prompter.answers = {Answer::Yes, Answer::No, Answer::Cancel};
    EXPECT_EQ(chooseFiles(items({false, false, false}, 2), true, prompter, pack()),
              (Files{"/storms/a.txt"}));
    EXPECT_EQ(chooseFiles(items({false, false, false}, 0), false, prompter, pack()), Files{});
    EXPECT_EQ(chooseFiles(items({false, false, false}, 0), false, prompter, pack()), std::nullopt);
    ASSERT_EQ(prompter.shown.size(), 3u);
    EXPECT_EQ(prompter.shown[0].text, "Just the highlighted file?");
    EXPECT_EQ(prompter.shown[0].buttons, Prompter::Buttons::YesNoCancel);
    // A current index outside the list counts as none.
    EXPECT_EQ(chooseFiles(items({false, false, false}, 3), true, prompter, pack()), Files{});
    EXPECT_EQ(prompter.shown.size(), 3u);
}

TEST_F(ChooserRulesTest, ChosenFilesReplaceOrAppend) {
    Files files{"/old.dat"};
    addChosenFiles(files, {"/a.dat"}, true);
    EXPECT_EQ(files, (Files{"/old.dat", "/a.dat"}));
    addChosenFiles(files, {"/b.dat", "/c.dat"}, false);
    EXPECT_EQ(files, (Files{"/b.dat", "/c.dat"}));
    addChosenFiles(files, {}, false);
    EXPECT_TRUE(files.empty());
}

TEST_F(ChooserRulesTest, StatusFollowsTheSearchState) {
    const struct {
        SearchState state;
        size_t found;
        const char* text;
    } rows[] = {
        {SearchWalking, 1234, "Searching ..\r\n1234 found"},
        {SearchSorting, 7, "Sorting 7 .."},
        {SearchAdding, 7, "Adding 7 .."},
        {SearchIdle, 7, ""},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(searchStatusText(pack(), row.state, row.found), row.text) << row.state;
    }
}

TEST_F(ChooserRulesTest, StartFolderFallsBackToAnExistingFolder) {
    TempFolder storms;
    std::filesystem::create_directories(storms.file("2023"));
    const struct {
        std::string wanted;
        std::string start;
    } rows[] = {
        {storms.file("2023"), storms.file("2023")},
        {storms.file("gone/deeper"), storms.path()},
        {"", "/run"},
        {"C:\\Storms", "/run"},
        {"\\", "/run"},
        {"/", "/"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(chooserStartFolder(row.wanted, "/run"), row.start) << row.wanted;

    EXPECT_EQ(withoutTrailingSeparator("/data/storms//"), "/data/storms");
    EXPECT_EQ(withoutTrailingSeparator("/"), "/");
}

namespace {

// What the Open command reads and changes of the window's session.
struct Session {
    std::string settingsPath;
    std::string mapPath;
    std::string lastDir;
    bool jobRunning = false;
    bool chooserAppend = false;
    std::vector<std::string> trackFiles;

    OpenFilesState state() {
        return {mapPath, jobRunning, chooserAppend, settingsPath, lastDir, trackFiles};
    }
};

}  // namespace

TEST_F(ChooserRulesTest, OpenFileRefusesWithoutMapOrWhileDrawing) {
    Session app;
    app.settingsPath = run.file("Settings.ini");
    int shownChooser = 0;
    const auto chooser = [&] { return ++shownChooser > 0; };

    app.jobRunning = true;  // the missing map is reported first
    EXPECT_FALSE(openTrackFiles(app.state(), prompter, pack(), chooser).confirmed);
    app.mapPath = "/maps/world.png";
    EXPECT_FALSE(openTrackFiles(app.state(), prompter, pack(), chooser).confirmed);
    ASSERT_EQ(prompter.shown.size(), 2u);
    EXPECT_EQ(prompter.shown[0].text, "No map");
    EXPECT_EQ(prompter.shown[0].title, "Map");
    EXPECT_EQ(prompter.shown[1].text, "Busy");
    EXPECT_EQ(prompter.shown[1].title, "Drawing");
    EXPECT_EQ(prompter.shown[1].icon, Prompter::Icon::Warning);
    EXPECT_EQ(shownChooser, 0);
}

TEST_F(ChooserRulesTest, OpenFileStoresTheFolderOnlyWhenConfirmed) {
    Session app;
    app.settingsPath = run.file("Settings.ini");
    app.mapPath = "/maps/world.png";
    app.chooserAppend = true;
    app.lastDir = "/data/my storms";

    bool sawReplaceMode = false;
    // Closed without confirming, even with files in the list: nothing to do.
    app.trackFiles = {"/data/old.dat"};
    const OpenFilesResult closed = openTrackFiles(app.state(), prompter, pack(), [&] {
        sawReplaceMode = !app.chooserAppend;
        return false;
    });
    EXPECT_FALSE(closed.confirmed);
    EXPECT_FALSE(closed.filesToDraw);
    EXPECT_TRUE(sawReplaceMode);
    EXPECT_EQ(ProfileStore::read(app.settingsPath, "Borvane4", "Dir", "unset"), "unset");

    // Confirmed with nothing chosen: the folder is kept, nothing to draw.
    const OpenFilesResult empty = openTrackFiles(app.state(), prompter, pack(), [&] {
        app.trackFiles.clear();
        return true;
    });
    EXPECT_TRUE(empty.confirmed);
    EXPECT_FALSE(empty.filesToDraw);
    EXPECT_EQ(ProfileStore::read(app.settingsPath, "Borvane4", "Dir", "unset"), "/data/my storms");
    EXPECT_NE(readFileOrEmpty(app.settingsPath).find("Dir=\"/data/my storms\""), std::string::npos);

    const OpenFilesResult chosen = openTrackFiles(app.state(), prompter, pack(), [&] {
        app.trackFiles = {"/data/a.dat"};
        return true;
    });
    EXPECT_TRUE(chosen.confirmed);
    EXPECT_TRUE(chosen.filesToDraw);
    EXPECT_TRUE(prompter.shown.empty());
}
