// Switching the language from the main window: one step, and the window's
// menus, titles and later message boxes follow at once.
#include <QAction>
#include <QApplication>
#include <QDockWidget>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "gui/language_window.h"
#include "gui/main_window.h"
#include "gui/main_window_fixture.h"
#include "i18n/language_pack.h"
#include "support/fake_prompter.h"

using namespace tcmap;
using tcmap::testing::MainWindowFixture;

namespace {

// Picks the row of `code` in the language window once it is shown, and
// presses Enter: the window's default button.
void chooseWhenShown(const QString& code) {
    auto* poll = new QTimer;
    poll->setInterval(0);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, code] {
        auto* shown = qobject_cast<LanguageWindow*>(QApplication::activeModalWidget());
        if (shown == nullptr || !shown->isVisible()) return;
        poll->stop();
        poll->deleteLater();
        auto* list = shown->findChild<QListWidget*>("languages");
        for (int row = 0; row < list->count(); ++row) {
            if (list->item(row)->text().startsWith(code + ' ')) list->setCurrentRow(row);
        }
        QTest::keyClick(list, Qt::Key_Return);
    });
    poll->start();
}

QString text(const MainWindowFixture& folder, const char* code, TextId id) {
    LanguageChoice choice;
    choice.code = code;
    return QString::fromStdString(LanguagePack(folder.app.paths, choice).text(id));
}

}  // namespace

class LanguageSwitchTest : public QObject {
    Q_OBJECT

  private slots:
    void f12SwitchesEveryTextAtOnce();
};

void LanguageSwitchTest::f12SwitchesEveryTextAtOnce() {
    MainWindowFixture folder("en");
    folder.app.trackFiles.clear();
    FakePrompter prompter;
    MainWindow window(folder.app, prompter,
                      [](WindowSession&, MainView&, DrawMode) { QFAIL("no job expected"); });
    window.applyLanguage();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.fileMenu()->title(), text(folder, "en", TextId::FileMenu));

    // Both ways round: each switch is one window and one key.
    for (const char* code : {"zh-cn", "en", "zh-cn"}) {
        chooseWhenShown(QString::fromLatin1(code));
        window.action(MainWindow::Item::SelectLanguage)->trigger();
        QCOMPARE(folder.app.language.code, std::string(code));
        QVERIFY(prompter.shown.empty());
        for (const auto& [menu, id] : {std::pair{window.fileMenu(), TextId::FileMenu},
                                       std::pair{window.drawMenu(), TextId::DrawMenu},
                                       std::pair{window.helpMenu(), TextId::HelpMenu}}) {
            QCOMPARE(menu->title(), text(folder, code, id));
        }
        QCOMPARE(window.messagesPanel()->windowTitle(), text(folder, code, TextId::MessagesTitle));
        QVERIFY(window.action(MainWindow::Item::CurrentLanguage)
                    ->text()
                    .startsWith(text(folder, code, TextId::CurrentLanguage) + ": "));
        QVERIFY(window.action(MainWindow::Item::CurrentLanguage)
                    ->text()
                    .endsWith(QStringLiteral("(%1)").arg(QString::fromLatin1(code))));
        // The next message box speaks the new language too.
        window.startDrawJob(DrawMode::Normal);
        QCOMPARE(prompter.count("message"), size_t{1});
        QCOMPARE(QString::fromStdString(prompter.shown[0].text),
                 text(folder, code, TextId::NoTrackFile));
        prompter.shown.clear();
    }
    QCOMPARE(ProfileStore::read(folder.file("Language.ini"), "Language", "Select", ""),
             std::string("zh-cn"));
}

QTEST_MAIN(LanguageSwitchTest)
#include "language_switch_test.moc"
