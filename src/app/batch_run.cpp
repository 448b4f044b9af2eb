#include "app/batch_run.h"

#include <chrono>
#include <cstring>
#include <ostream>
#include <string>
#include <string_view>
#include <thread>

#include "app/batch_finish.h"
#include "app/headless_view.h"
#include "app/unexpected_error.h"
#include "base/file_io.h"
#include "base/text_rules.h"
#include "config/app_state.h"
#include "config/program_folders.h"
#include "i18n/language_pack.h"
#include "render/canvas/font_aliases.h"
#include "render/job_timings.h"

namespace tcmap {

namespace {

// Where the failure report went, or why it went nowhere.
void printReportOutcome(const std::string& output, const BatchFinish& finish, std::ostream& err) {
    const std::string where = output == "-" ? std::string("standard output") : output;
    if (finish.reportWritten) {
        err << "No track map was saved; " << where << " holds the failure report.\n";
    } else {
        err << "No track map was saved, and the failure report could not be written to " << where
            << ": " << std::strerror(finish.reportError) << ".\n";
    }
}

}  // namespace

int runBatch(AppState& app, std::ostream& err, const BatchJob& job) {
    // Before any text is laid out: the font families the program asks for
    // by name resolve to installed ones.
    loadFontAliases(folderOf(programFilePath(app, "fonts.conf")));

    HeadlessView view(&err);
    // The messages for the failure report reach the terminal as they are
    // collected, between the job's progress lines.
    app.setFailureEcho([&view](const std::string& text) { view.echoOnly(text); });
    const LanguagePack lang = LanguagePack::fromState(app);
    BatchFinish finish;
    std::thread worker([&] {
        runReportingErrors(
            [&] {
                job(app, view);
                view.printInfoLine(&err);
                const auto saveStart = std::chrono::steady_clock::now();
                finish = finishBatchRun(app, view, lang);
                if (timingsRequested()) {
                    const std::chrono::duration<double, std::milli> elapsed =
                        std::chrono::steady_clock::now() - saveStart;
                    err << "tcmap timing: save " << formatG(elapsed.count(), 9) << " ms\n";
                }
            },
            err);
    });
    worker.join();
    app.setFailureEcho({});

    if (finish.exitCode != 0) printReportOutcome(app.batchOutputPath, finish, err);
    err.flush();
    return finish.exitCode;
}

}  // namespace tcmap
