#include "gui/interactive_run.h"

#include <QEvent>
#include <QScreen>
#include <QStyle>
#include <cstdio>
#include <cstdlib>

#include "app/main_commands.h"
#include "app/startup_state.h"
#include "app/window_job.h"
#include "base/file_io.h"
#include "config/annotation_settings.h"
#include "config/profile_store.h"
#include "config/program_folders.h"
#include "config/scratch_file.h"
#include "config/settings_keys.h"
#include "gui/draw_panel.h"
#include "gui/language_window.h"
#include "gui/prompter_window.h"
#include "gui/qt_translations.h"
#include "gui/unexpected_error_report.h"
#include "gui/window_session.h"
#include "i18n/language_list.h"
#include "i18n/language_pack.h"
#include "render/canvas/font_aliases.h"

namespace tcmap {

namespace {

constexpr const char* kFirstRunQuestion =
    "This is the first time you're using this application.\r\nDo you want to change the "
    "language?\r\nDefault Language: 简体中文 (zh-cn)";

// The graphics library needs no start here; a non-zero token records that
// start-up went past that point.
constexpr int kGraphicsStarted = 1;

}  // namespace

InteractiveSession::InteractiveSession(WindowSession& app, MainWindow& window, Prompter& prompter)
    : app_(app), window_(window), prompter_(prompter) {
    window_.installEventFilter(this);
}

void InteractiveSession::start() {
    app_.graphicsToken = kGraphicsStarted;
    app_.tempFilePath = prepareScratchFile(app_.paths);
    window_.setAcceptDrops(true);
    app_.lastDir = readLastDir(app_.paths.settingsPath);
    app_.language = readLanguageChoice(app_.paths.runFolder);
    app_.style = readStyleChoice(app_.paths.settingsPath);
    if (app_.programVersion.empty()) app_.programVersion = programVersion();
    askForLanguage();
    installQtTranslations(app_.language.code, app_.language.toBig5);

    window_.refreshTitle();
    window_.applyLanguage();
    const LanguagePack lang = app_.languagePack();
    app_.idlePictureOn = true;
    if (const auto colour = parseBackgroundColour(
            readSetting(app_.paths.settingsPath, settings::kBackgroundColor))) {
        window_.panel()->setBackgroundColour(*colour);
    }
    window_.setStatusPart(kStatusParts - 1, lang.text(TextId::Ready));

    // The size the window returns to from maximised, and keeps where no
    // window manager maximises it.
    if (const QScreen* screen = window_.screen()) {
        const QRect area = screen->availableGeometry();
        window_.setGeometry(
            QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, area.size() * 0.8, area));
    }
    window_.showMaximized();
    window_.checkAutoDrawItem(
        autoDrawItem(readSetting(app_.paths.settingsPath, settings::kAutoDraw)));
    // Without a window manager nothing activates a new window; ask for it.
    window_.activateWindow();
}

void InteractiveSession::askForLanguage() {
    if (!languageChoicePending(app_.paths.runFolder)) return;
    // A first start: the maps of a new install explain themselves.
    writeAnnotationDefaults(app_.paths.settingsPath);
    const Prompter::Answer answer =
        prompter_.message(kFirstRunQuestion, "Language", Prompter::Icon::Question,
                          Prompter::Buttons::YesNo, Prompter::Answer::No);
    const SettingKey& select = language_settings::kSelect;
    const std::string languageIni = languageIniPath(app_.paths.runFolder);
    if (answer == Prompter::Answer::Yes) {
        // The main window is not shown yet: the chooser centres on the screen.
        LanguageWindow chooser(app_, prompter_, nullptr);
        chooser.exec();
        // A cancelled choice gives the default and the question comes back
        // at the next start.
        app_.language.code = ProfileStore::read(languageIni, select.section, select.key, "zh-cn");
    } else {
        ProfileStore::write(languageIni, select.section, select.key, "zh-cn");
        app_.language.code = "zh-cn";
    }
}

bool InteractiveSession::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &window_) {
        if (event->type() == QEvent::WindowActivate && !activated_) {
            activated_ = true;
            firstActivation();
        } else if (event->type() == QEvent::Close) {
            shutdown();
        }
    }
    return QObject::eventFilter(watched, event);
}

void InteractiveSession::firstActivation() {
    app_.trackFiles = app_.commandLineFiles;
    if (app_.trackFiles.empty()) return;
    window_.panel()->clear();
    window_.panel()->repaint();
    window_.refreshTitle();
    window_.startDrawJob(DrawMode::Normal);
    window_.setEscClosesWindow(true);
}

void InteractiveSession::shutdown() {
    // A report of an unexpected error ends with its own code.
    const UnexpectedErrorHandler* errors = UnexpectedErrorHandler::installed();
    const int code = errors != nullptr && errors->reporting() ? kUnexpectedErrorExitCode : 0;
    // The end-of-job steps; a job still running keeps its own drawing
    // objects and is not waited for.
    window_.enableMenus(true);
    app_.jobRunning = false;
    app_.graphicsToken = 0;
    deleteStaleTempFile(app_.tempFilePath, app_.paths.scratchHome());
    if (endProcess_) {
        endProcess_(code);
        return;
    }
    // Ending here, rather than unwinding main, never frees the program state
    // or the window under a job thread that still uses them.
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(code);
}

int runInteractive(WindowSession& app, int& argc, char** argv) {
    // Before any Qt object: the font aliases must be in fontconfig when Qt
    // first asks it for a font.
    loadFontAliases(folderOf(app.paths.programFile("fonts.conf")));
    GuardedApplication application(argc, argv);
    UnexpectedErrorHandler errors;
    errors.install();

    QtPrompter prompter;
    MainWindow window(app, prompter, runSessionJob);
    prompter.setOwner(&window);
    errors.attach(&window);
    window.setJobErrorHandler([&errors] { errors.handleCurrentException(); });

    InteractiveSession session(app, window, prompter);
    session.start();
    return QApplication::exec();
}

}  // namespace tcmap
