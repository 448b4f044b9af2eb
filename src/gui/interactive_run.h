// The interactive program: start-up with its main window, the first
// activation (track files from the command line are drawn at once) and
// shutdown.
#pragma once

#include <QObject>

#include "gui/main_window.h"

namespace tcmap {

struct WindowSession;
class Prompter;

// Runs the program with its main window until the window closes. `app` has
// its run folder, settings path and command line filled in. Shutdown ends the
// process from inside, so this returns only if the event loop ends otherwise.
int runInteractive(WindowSession& app, int& argc, char** argv);

// The steps around the main window's life: start-up when it has been
// created, the first activation, and shutdown when it closes.
class InteractiveSession : public QObject {
    Q_OBJECT

  public:
    InteractiveSession(WindowSession& app, MainWindow& window, Prompter& prompter);

    // Fills the program state, asks for a language on the first run, puts
    // the texts on the window and shows it maximised.
    void start();

    // What shutdown does after its clean-up; ends the process unless
    // replaced (tests).
    void setProcessEnd(std::function<void(int)> end) { endProcess_ = std::move(end); }

    // The first activation: command-line track files are drawn at once.
    void firstActivation();
    // The clean-up at shutdown, then the end of the process.
    void shutdown();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void askForLanguage();

    WindowSession& app_;
    MainWindow& window_;
    Prompter& prompter_;
    bool activated_ = false;
    std::function<void(int)> endProcess_;
};

}  // namespace tcmap
