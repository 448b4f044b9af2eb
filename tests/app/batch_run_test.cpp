#include "app/batch_run.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "base/file_io.h"
#include "config/app_state.h"
#include "i18n/language_pack.h"
#include "render/main_view.h"
#include "support/temp_folder.h"

using namespace tcmap;
using tcmap::testing::TempFolder;

// The messages a batch run collects for its failure report reach the terminal
// where they happen among the progress lines, each once, before the info line.
TEST(BatchRun, CollectedMessagesAreEchoedInJobOrder) {
    TempFolder folder;
    folder.put("en.lang", readFileOrEmpty(std::string(TCMAP_SOURCE_DIR) + "/data/en.lang"));
    AppState app;
    app.runFolder = folder.path();
    app.langCode = "en";
    app.settingsPath = folder.file("Settings.ini");
    app.tempFilePath = folder.file("scratch.tmp");
    app.batchOutputPath = folder.file("out.png");
    std::ostringstream err;
    const int code = runBatch(app, err, [](AppState& state, MainView& view) {
        view.writeLine("Reading one.dat", 0);
        state.appendFailure("one.dat holds no fix\r\n");
        view.writeLine("Reading two.dat", 0);
        state.appendFailure("two.dat holds no fix\r\n\r\nNo track could be drawn\r\n");
        view.setStatusPart(0, "VMAX: ");
        view.setStatusPart(1, "MSLP: ");
        view.setStatusPart(2, "ACE: ");
    });
    EXPECT_EQ(code, 1);
    const std::string noMap = LanguagePack::fromState(app).text(TextId::NoMapToSave);
    EXPECT_EQ(err.str(),
              "Reading one.dat\none.dat holds no fix\nReading two.dat\n"
              "two.dat holds no fix\nNo track could be drawn\nVMAX:   MSLP:   ACE: \n" +
                  noMap + "\nNo track map was saved; " + app.batchOutputPath +
                  " holds the failure report.\n");
    // The report itself still holds every message.
    const std::string report = readFileOrEmpty(app.batchOutputPath);
    EXPECT_NE(report.find("one.dat holds no fix\r\ntwo.dat holds no fix"), std::string::npos)
        << report;
}
