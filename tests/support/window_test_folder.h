// Shared set-up of the window tests: a fresh run folder holding the shipped
// language files, a program state pointing at it, and widget look-ups.
#pragma once

#include <QDialog>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <initializer_list>
#include <memory>

#include "gui/window_session.h"

namespace tcmap::testing {

struct WindowTestFolder {
    // Copies the named files of data/ into a new run folder.
    explicit WindowTestFolder(std::initializer_list<const char*> dataFiles) {
        if (!dir.isValid()) qFatal("no temporary folder");
        for (const char* name : dataFiles) {
            if (!QFile::copy(QStringLiteral(TCMAP_SOURCE_DIR "/data/") + name,
                             dir.filePath(name))) {
                qFatal("cannot copy %s", name);
            }
        }
        app = std::make_unique<WindowSession>();
        app->paths.runFolder = dir.path().toStdString();
        app->paths.settingsPath = app->paths.runFolder + "/Settings.ini";
        app->language.code = "zh-cn";
    }

    QTemporaryDir dir;
    std::unique_ptr<WindowSession> app;
};

// Shows a window as the main window would, so clicks land where a user's do.
inline bool openWindow(QDialog& window) {
    window.show();
    return QTest::qWaitForWindowExposed(&window);
}

template <typename T>
T* child(QWidget& window, const char* name) {
    T* found = window.findChild<T*>(QString::fromLatin1(name));
    if (found == nullptr) qFatal("no widget %s", name);
    return found;
}

}  // namespace tcmap::testing
