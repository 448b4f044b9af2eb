// The language window offscreen, with the shipped language files.
#include "gui/language_window.h"

#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

#include "base/file_io.h"
#include "config/profile_store.h"
#include "gui/window_session.h"
#include "support/fake_prompter.h"
#include "support/window_test_folder.h"

using namespace tcmap;
using namespace tcmap::testing;

class LanguageWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void listsTheInstalledLanguages();
    void okStoresTheChosenCode();
    void doubleClickAsksToo();

  private:
    std::string languageIni() const {
        return readFileOrEmpty(app_->paths.runFolder + "/Language.ini");
    }

    std::unique_ptr<WindowTestFolder> run_;
    WindowSession* app_ = nullptr;
    FakePrompter prompter_;
};

void LanguageWindowTest::init() {
    run_ = std::make_unique<WindowTestFolder>(
        std::initializer_list<const char*>{"zh-cn.lang", "en.lang", "Language.ini"});
    app_ = run_->app.get();
    prompter_ = FakePrompter();
}

void LanguageWindowTest::listsTheInstalledLanguages() {
    LanguageWindow window(*app_, prompter_, nullptr);
    QVERIFY(openWindow(window));
    QCOMPARE(window.windowTitle(), QStringLiteral("Language - 选择语言"));
    QCOMPARE(window.findChild<QGroupBox*>()->title(), QStringLiteral("可用的语言列表:"));
    QCOMPARE(child<QPushButton>(window, "ok")->text(), QStringLiteral("&O.确定"));
    QCOMPARE(child<QPushButton>(window, "cancel")->text(), QStringLiteral("&C.取消"));
    auto* list = child<QListWidget>(window, "languages");
    QCOMPARE(list->count(), 2);
    QCOMPARE(list->item(0)->text(), QStringLiteral("en English"));
    QCOMPARE(list->item(1)->text(), QStringLiteral("zh-cn 简体中文"));

    // Nothing selected: OK does nothing.
    const std::string before = languageIni();
    QTest::mouseClick(child<QPushButton>(window, "ok"), Qt::LeftButton);
    QVERIFY(prompter_.shown.empty());
    QVERIFY(window.isVisible());
    QTest::mouseClick(child<QPushButton>(window, "cancel"), Qt::LeftButton);
    QCOMPARE(window.result(), int(QDialog::Rejected));
    QCOMPARE(languageIni(), before);
}

void LanguageWindowTest::okStoresTheChosenCode() {
    LanguageWindow window(*app_, prompter_, nullptr);
    QVERIFY(openWindow(window));
    auto* list = child<QListWidget>(window, "languages");
    list->setCurrentRow(0);
    QVERIFY(child<QPushButton>(window, "ok")->isDefault());
    // One step: Enter presses the default button, and nothing else asks.
    QTest::keyClick(list, Qt::Key_Return);

    QCOMPARE(window.result(), int(QDialog::Accepted));
    QVERIFY(languageIni().find("Select=\"en\"") != std::string::npos);
    QCOMPARE(window.chosenCode(), std::string("en"));
    QVERIFY(prompter_.shown.empty());

    // A Language.ini that cannot be written: said, and the window stays.
    QVERIFY(QFile::remove(QString::fromStdString(app_->paths.runFolder + "/Language.ini")));
    QVERIFY(QDir().mkdir(QString::fromStdString(app_->paths.runFolder + "/Language.ini")));
    LanguageWindow again(*app_, prompter_, nullptr);
    QVERIFY(openWindow(again));
    child<QListWidget>(again, "languages")->setCurrentRow(1);
    QTest::mouseClick(child<QPushButton>(again, "ok"), Qt::LeftButton);
    QVERIFY(again.isVisible());
    QVERIFY(again.chosenCode().empty());
    QCOMPARE(prompter_.count("message"), size_t{1});
    QCOMPARE(prompter_.shown[0].text,
             std::string("无法保存语言设置，请检查 Language.ini 是否可以写入。"));
    QVERIFY(prompter_.shown[0].icon == Prompter::Icon::Warning);
}

void LanguageWindowTest::doubleClickAsksToo() {
    app_->language.code = "en";
    LanguageWindow window(*app_, prompter_, nullptr);
    QVERIFY(openWindow(window));
    auto* list = child<QListWidget>(window, "languages");
    const QPoint row = list->visualItemRect(list->item(1)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, row);

    // A double-click chooses like OK, without a question.
    QVERIFY(prompter_.shown.empty());
    QCOMPARE(window.result(), int(QDialog::Accepted));
    QCOMPARE(
        ProfileStore::read(app_->paths.runFolder + "/Language.ini", "Language", "Select", "none"),
        std::string("zh-cn"));
}

QTEST_MAIN(LanguageWindowTest)
#include "language_window_test.moc"
