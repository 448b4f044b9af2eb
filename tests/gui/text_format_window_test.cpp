// The text-label format window offscreen, with the shipped language files.
#include "gui/text_format_window.h"

#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "base/file_io.h"
#include "gui/window_session.h"
#include "support/fake_prompter.h"
#include "support/window_test_folder.h"

using namespace tcmap;
using namespace tcmap::testing;

class TextFormatWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void testButtonsShowTheSamples();
    void saveAsksFirstAndKeepsTheEscapes();
    void cancelWritesNothing();
    void sizeAndTexts();

  private:
    std::unique_ptr<WindowTestFolder> run_;
    WindowSession* app_ = nullptr;
    FakePrompter prompter_;
};

void TextFormatWindowTest::init() {
    run_ = std::make_unique<WindowTestFolder>(
        std::initializer_list<const char*>{"zh-cn.lang", "en.lang"});
    app_ = run_->app.get();
    prompter_ = FakePrompter();
}

void TextFormatWindowTest::testButtonsShowTheSamples() {
    TextFormatWindow window(*app_, prompter_, nullptr);
    QVERIFY(openWindow(window));
    QCOMPARE(child<QLineEdit>(window, "Time")->text(), QStringLiteral("%02d%02d%02dZ"));
    QCOMPARE(child<QLineEdit>(window, "Forecast")->text(), QStringLiteral("P+%dh\\n%dkt"));

    QTest::mouseClick(child<QPushButton>(window, "testTime"), Qt::LeftButton);
    QTest::mouseClick(child<QPushButton>(window, "testForecast"), Qt::LeftButton);
    // What is being typed is tested, not what is stored.
    auto* time = child<QLineEdit>(window, "Time");
    time->clear();
    QTest::keyClicks(time, "%s%s%s%s%n");
    QTest::mouseClick(child<QPushButton>(window, "testTime"), Qt::LeftButton);

    QCOMPARE(prompter_.shown.size(), size_t{3});
    QCOMPARE(prompter_.shown[0].text,
             std::string("时间文本（示例值 2、11、6）的显示效果：\r\n\r\n021106Z"));
    QCOMPARE(prompter_.shown[0].title, std::string("测试 - 时间文本"));
    QCOMPARE(prompter_.shown[0].icon, Prompter::Icon::None);
    QCOMPARE(prompter_.shown[1].text,
             std::string("预测文本（示例值 120、100）的显示效果：\r\n\r\nP+120h\r\n100kt"));
    QCOMPARE(prompter_.shown[1].title, std::string("测试 - 预测文本"));
    QVERIFY(prompter_.shown[2].text.ends_with("：\r\n\r\n2116%n"));
    QVERIFY(!pathExists(app_->paths.settingsPath));
}

void TextFormatWindowTest::saveAsksFirstAndKeepsTheEscapes() {
    TextFormatWindow window(*app_, prompter_, nullptr);
    QVERIFY(openWindow(window));
    auto* forecast = child<QLineEdit>(window, "Forecast");
    forecast->clear();
    QTest::keyClicks(forecast, "+%dh\\N%d kt ");
    auto* save = child<QPushButton>(window, "save");

    prompter_.answers = {Prompter::Answer::Cancel};
    QTest::mouseClick(save, Qt::LeftButton);
    QVERIFY(window.isVisible());
    QVERIFY(!pathExists(app_->paths.settingsPath));

    QTest::mouseClick(save, Qt::LeftButton);  // the default answer is OK
    QCOMPARE(window.result(), int(QDialog::Accepted));
    QCOMPARE(prompter_.shown.size(), size_t{2});
    QCOMPARE(prompter_.shown[1].text, std::string("确定要保存文字标注格式吗？"));
    QCOMPARE(prompter_.shown[1].icon, Prompter::Icon::Question);
    QCOMPARE(readFileOrEmpty(app_->paths.settingsPath),
             std::string("[TextFormat]\nTime=\"%02d%02d%02dZ\"\nForecast=\"+%dh\\N%d kt \"\n"));

    TextFormatWindow again(*app_, prompter_, nullptr);
    QCOMPARE(child<QLineEdit>(again, "Forecast")->text(), QStringLiteral("+%dh\\N%d kt "));
}

void TextFormatWindowTest::cancelWritesNothing() {
    QVERIFY(writeFileReplacing(app_->paths.settingsPath, "[TextFormat]\r\nTime=%dZ\r\n"));
    TextFormatWindow window(*app_, prompter_, nullptr);
    QVERIFY(openWindow(window));
    QCOMPARE(child<QLineEdit>(window, "Time")->text(), QStringLiteral("%dZ"));
    child<QLineEdit>(window, "Time")->setText(QStringLiteral("changed"));
    QTest::mouseClick(child<QPushButton>(window, "cancel"), Qt::LeftButton);
    QCOMPARE(window.result(), int(QDialog::Rejected));
    QVERIFY(prompter_.shown.empty());
    QCOMPARE(readFileOrEmpty(app_->paths.settingsPath),
             std::string("[TextFormat]\r\nTime=%dZ\r\n"));
}

void TextFormatWindowTest::sizeAndTexts() {
    TextFormatWindow window(*app_, prompter_, nullptr);
    QVERIFY(openWindow(window));
    QCOMPARE(window.windowTitle(), QStringLiteral("文字标注格式"));
    QCOMPARE(window.size(), QSize(360, 160));
    QCOMPARE(child<QPushButton>(window, "testTime")->text(), QStringLiteral("测试"));
    QCOMPARE(child<QPushButton>(window, "save")->text(), QStringLiteral("&S.保存"));
    // Nothing sticks out of the window.
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        const QRect area(widget->mapTo(&window, QPoint(0, 0)), widget->size());
        QVERIFY2(window.rect().contains(area), qPrintable(widget->metaObject()->className()));
    }
}

QTEST_MAIN(TextFormatWindowTest)
#include "text_format_window_test.moc"
