// The run folder of the main window's tests: the shipped language files with
// one language selected, an empty Settings.ini, and on request a small world
// map picture.
#pragma once

#include <QColor>
#include <QImage>
#include <string>

#include "config/profile_store.h"
#include "config/settings_keys.h"
#include "gui/window_session.h"
#include "support/window_test_folder.h"

namespace tcmap::testing {

struct MainWindowFixture {
    explicit MainWindowFixture(const char* language = "en") {
        if (language != nullptr) {
            ProfileStore::write(file("Language.ini"), "Language", "Select", language);
            app.language.code = language;
        }
        app.programVersion = "1.0.0";
    }

    std::string file(const std::string& name) const { return app.paths.runFolder + "/" + name; }

    std::string setting(const SettingKey& key) const {
        return readSetting(app.paths.settingsPath, key);
    }

    // A 360 x 180 map (a pixel per degree): blue sea with a green block of land.
    std::string makeMap(const std::string& name = "map.png") const {
        QImage map(360, 180, QImage::Format_RGB32);
        map.fill(QColor(30, 70, 140));
        for (int y = 40; y < 90; ++y) {
            for (int x = 100; x < 160; ++x) map.setPixel(x, y, qRgb(60, 140, 60));
        }
        const std::string path = file(name);
        map.save(QString::fromStdString(path), "PNG");
        return path;
    }

    // A track file of the test data.
    static std::string trackFile(const char* name) {
        return std::string(TCMAP_TEST_DATA_DIR "/track/atcf/") + name;
    }

    WindowTestFolder folder{{"en.lang", "zh-cn.lang", "Language.ini", "fonts.conf"}};
    WindowSession& app = *folder.app;
};

}  // namespace tcmap::testing
