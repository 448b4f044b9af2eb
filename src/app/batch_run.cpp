#include "app/batch_run.h"

#include <chrono>
#include <ostream>
#include <string>
#include <string_view>
#include <thread>

#include "app/batch_finish.h"
#include "app/headless_view.h"
#include "app/unexpected_error.h"
#include "base/text_rules.h"
#include "config/app_state.h"
#include "i18n/language_pack.h"
#include "render/canvas/font_aliases.h"
#include "render/job_timings.h"

namespace tcmap {

int runBatch(AppState& app, std::ostream& err, const BatchJob& job) {
    // Before any text is laid out: the font families the program asks for
    // by name resolve to installed ones.
    loadFontAliases(app.runFolder);

    HeadlessView view(&err);
    // The messages for the failure report reach the terminal as they are
    // collected, between the job's progress lines.
    app.setFailureEcho([&view](const std::string& text) { view.echoOnly(text); });
    const LanguagePack lang = LanguagePack::fromState(app);
    int exitCode = 1;
    std::thread worker([&] {
        runReportingErrors(
            [&] {
                job(app, view);
                view.printInfoLine(&err);
                const auto saveStart = std::chrono::steady_clock::now();
                exitCode = finishBatch(app, view, lang);
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

    if (exitCode != 0)
        err << "No track map was saved; " << app.batchOutputPath << " holds the failure report.\n";
    err.flush();
    return exitCode;
}

}  // namespace tcmap
